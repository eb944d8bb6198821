# The frame's small reusable windows: title strip, pane chooser, bitmap button, splitter.
tarn_core_sources(widget_rules.cpp)
tarn_ui_sources(title_wnd.cpp pane_choose_wnd.cpp super_bitmap_button.cpp super_splitter_wnd.cpp)
tarn_ui_sources(file_name_edit.cpp)
