# The slide view and its button strip.
tarn_ui_sources(slide_view.cpp)
tarn_core_sources(slide_layout.cpp)
tarn_ui_sources(slide_tool_bar.cpp)
