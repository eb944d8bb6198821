# Files of this subsystem: tarn_core_sources(...) for toolkit-free code, tarn_ui_sources(...) for windows.
# Open, save and save-changes dialogs.
tarn_core_sources(save_type_rules.cpp image_file_info.cpp)
tarn_ui_sources(native_chooser.cpp preview_picture.cpp image_info_panel.cpp dlg_open_file.cpp dlg_save_file.cpp
                dlg_query_save.cpp)
tarn_core_sources(file_properties.cpp)
tarn_ui_sources(file_property_dlg.cpp)
tarn_ui_sources(dlg_rename.cpp)
tarn_core_sources(color_palette.cpp)
tarn_ui_sources(color_button.cpp color_popup.cpp)
# Geometry and depth dialogs: their arithmetic, then the windows.
tarn_core_sources(number_text.cpp resize_rules.cpp color_depth_rules.cpp zoom_level_rules.cpp)
tarn_ui_sources(geometry_dialog_support.cpp size_boxes.cpp dlg_resize.cpp dlg_set_dpi.cpp dlg_change_bpp.cpp
                dlg_set_zoom_level.cpp dlg_resize_canvas.cpp)
# The effect dialogs' preview window.
tarn_core_sources(thumb_fit.cpp)
tarn_ui_sources(thumb_wnd.cpp)
# The effect dialogs: their arithmetic, then the windows.
tarn_core_sources(effect_rules.cpp)
tarn_ui_sources(effect_dialog.cpp dlg_effects.cpp)
