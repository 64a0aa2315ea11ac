# The layer check runs before anything of the project compiles, and again
# whenever a source file changes: every library of the project depends on it.
file(GLOB_RECURSE tokenade_layered_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/core/*.h ${PROJECT_SOURCE_DIR}/core/*.cpp
     ${PROJECT_SOURCE_DIR}/cli/*.h ${PROJECT_SOURCE_DIR}/cli/*.cpp
     ${PROJECT_SOURCE_DIR}/gui/*.h ${PROJECT_SOURCE_DIR}/gui/*.cpp)
set(tokenade_layers_stamp ${PROJECT_BINARY_DIR}/layers.checked)
add_custom_command(
    OUTPUT ${tokenade_layers_stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DSTAMP=${tokenade_layers_stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
    DEPENDS ${tokenade_layered_sources} ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking that no include goes up a layer"
    VERBATIM)
add_custom_target(check_layers DEPENDS ${tokenade_layers_stamp})

# add_library for the project's own libraries: each waits for the layer check.
function(tokenade_library name)
    add_library(${name} STATIC ${ARGN})
    add_dependencies(${name} check_layers)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
