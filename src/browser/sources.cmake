# Files of this subsystem: tarn_core_sources(...) for toolkit-free code, tarn_ui_sources(...) for windows.
tarn_core_sources(file_classification.cpp folder_model.cpp)
tarn_core_sources(shell_tree_model.cpp)
tarn_ui_sources(super_tree_ctrl.cpp shell_tree.cpp)
tarn_core_sources(thumbnail_queue.cpp thumbnail_worker.cpp thumb_layout.cpp info_tip.cpp)
tarn_core_sources(thumbnail_cache.cpp cached_thumbnail_maker.cpp)
tarn_ui_sources(image_list_ctrl.cpp image_list_paint.cpp image_list_input.cpp)
tarn_ui_sources(browser_view.cpp)
tarn_ui_sources(list_command_receiver.cpp)
