# Helpers shared by every subsystem: path rules, size and date texts, rounding.
tarn_core_sources(path_rules.cpp text_format.cpp atomic_file.cpp)
