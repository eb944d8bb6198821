# Files of this subsystem: tarn_core_sources(...) for toolkit-free code, tarn_ui_sources(...) for windows.
tarn_core_sources(file_classification.cpp folder_model.cpp)
