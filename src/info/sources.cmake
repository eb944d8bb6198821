# Histograms, the EXIF panel and file properties.
tarn_ui_sources(image_preview_view.cpp exif_info_wnd.cpp)
