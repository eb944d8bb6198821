# Files of this subsystem: tarn_core_sources(...) for toolkit-free code, tarn_ui_sources(...) for windows.
tarn_core_sources(print_rules.cpp)
tarn_ui_sources(image_printout.cpp)
