# The imaging component over FreeImage.
tarn_core_sources(imaging_service.cpp jpeg_codec.cpp fip_super_image.cpp
                  image_formats.cpp thumbnail_maker.cpp)
tarn_ui_sources(image_draw.cpp)
