# The imaging component over FreeImage.
tarn_core_sources(imaging_service.cpp)
