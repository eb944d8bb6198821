# Start-up, the program's folders, the settings store, background work handed to the UI thread.
tarn_core_sources(app_folders.cpp profile_file.cpp settings.cpp)
tarn_ui_sources(tarn_app.cpp toolkit_environment.cpp system_image_lists.cpp resource_pictures.cpp background_task.cpp)
