# The main frame, its status bar and the navigation history.
tarn_core_sources(frame_layout_rules.cpp navigation_history.cpp status_bar_texts.cpp)
tarn_ui_sources(main_frame.cpp main_frame_bars.cpp main_frame_modes.cpp main_frame_commands.cpp
                main_frame_slideshow.cpp main_frame_status.cpp workspace_view.cpp super_status_bar.cpp)
