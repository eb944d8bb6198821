# The main frame, command table, status bar, navigation history and frame widgets.
tarn_ui_sources(main_frame.cpp)
