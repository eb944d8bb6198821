# The main frame, command table, status bar, navigation history and frame widgets.
tarn_core_sources(frame_widget_rules.cpp frame_layout_rules.cpp tool_bar_layout.cpp)
tarn_ui_sources(main_frame.cpp main_frame_bars.cpp main_frame_modes.cpp workspace_view.cpp
                super_splitter_wnd.cpp super_bitmap_button.cpp title_wnd.cpp pane_choose_wnd.cpp)
tarn_ui_sources(main_frame_commands.cpp menu_builder.cpp list_command_receiver.cpp super_status_bar.cpp)
tarn_core_sources(command_table.cpp command_router.cpp key_bindings.cpp menu_layout.cpp navigation_history.cpp
                  status_bar_texts.cpp)
tarn_ui_sources(main_frame_slideshow.cpp)
