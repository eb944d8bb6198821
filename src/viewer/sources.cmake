# Image document, view geometry and zoom, tools and selection, editing commands, undo.
tarn_core_sources(undo_history.cpp)
tarn_ui_sources(image_view.cpp image_view_document.cpp image_view_commands.cpp)
tarn_core_sources(zoom_steps.cpp view_geometry.cpp image_selection.cpp view_tools.cpp)
tarn_core_sources(image_loading.cpp prefetch_slot.cpp image_document.cpp edit_conditions.cpp)
tarn_ui_sources(image_renderer.cpp)
tarn_ui_sources(image_view_files.cpp image_view_tools.cpp image_view_geometry.cpp)
tarn_ui_sources(image_view_edits.cpp image_view_effect_dialogs.cpp)
