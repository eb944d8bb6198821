# The slide view and its button strip.
tarn_ui_sources(slide_view.cpp)
