# Histograms, the EXIF panel and file properties.
tarn_ui_sources(image_preview_view.cpp exif_info_wnd.cpp)
tarn_ui_sources(histogram_wnd.cpp)
tarn_ui_sources(wnd_histogram.cpp dlg_histogram.cpp)
tarn_core_sources(file_histogram.cpp)
