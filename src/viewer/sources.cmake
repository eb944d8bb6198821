# Files of this subsystem: tarn_core_sources(...) for toolkit-free code, tarn_ui_sources(...) for windows.
