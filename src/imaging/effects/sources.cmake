# Effects: one file per family, plain functions over an image.
file(GLOB tarn_effect_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
foreach(f ${tarn_effect_sources})
    get_filename_component(name ${f} NAME)
    tarn_core_sources(${name})
endforeach()
# The HSL pixel loop vectorises only when its selects may compute both sides (see the file).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/hsl_rows.cpp PROPERTIES COMPILE_OPTIONS
                            "-fno-trapping-math;-ffinite-math-only;-fno-signed-zeros")
