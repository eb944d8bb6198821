# The operating-system layer: one interface per service, its Linux implementation.
# Toolkit-free; GIO/GLib may be used here and nowhere else in tarn_core.
tarn_core_sources(special_folders_linux.cpp item_id_list.cpp shell_namespace.cpp shell_link.cpp)
tarn_core_sources(file_trash.cpp file_uri.cpp mount_table_linux.cpp mount_points.cpp)
tarn_core_sources(clipboard_file_list.cpp desktop_launcher.cpp)
