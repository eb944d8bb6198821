# The imaging component over FreeImage.
tarn_core_sources(imaging_service.cpp jpeg_codec.cpp decode_limits.cpp image_header.cpp fip_super_image.cpp image_saving.cpp
                  packed_bitmap.cpp depth_conversions.cpp image_canvas.cpp image_formats.cpp
                  thumbnail_maker.cpp pixel_row_reader.cpp pixel_row_writer.cpp
                  area_downscale.cpp bmp_reader.cpp png_text.cpp paste_image.cpp
                  exiv2_setup.cpp exif_properties.cpp exif_text.cpp other_image_headers.cpp)
tarn_core_sources(histogram.cpp)
tarn_ui_sources(image_draw.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/effects/sources.cmake)
