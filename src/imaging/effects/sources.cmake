# Effects: one file per family, plain functions over an image.
file(GLOB tarn_effect_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
foreach(f ${tarn_effect_sources})
    get_filename_component(name ${f} NAME)
    tarn_core_sources(${name})
endforeach()
