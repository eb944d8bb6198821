# Image document, view geometry and zoom, tools and selection, editing commands, undo.
tarn_ui_sources(image_view.cpp)
tarn_core_sources(zoom_steps.cpp view_geometry.cpp)
