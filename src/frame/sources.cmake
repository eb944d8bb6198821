# The main frame, command table, status bar, navigation history and frame widgets.
tarn_core_sources(frame_widget_rules.cpp)
tarn_ui_sources(main_frame.cpp super_splitter_wnd.cpp super_bitmap_button.cpp title_wnd.cpp
                pane_choose_wnd.cpp)
