# Helpers shared by every subsystem: path rules, size and date texts, rounding, job threads.
tarn_core_sources(path_rules.cpp text_format.cpp atomic_file.cpp background_jobs.cpp)
tarn_core_sources(file_sizes.cpp)
