# kalvian_layer(<target> SOURCES ... [PUBLIC ...] [PRIVATE ...])
# One static library per folder of src/. Its headers are reached as "<folder>/<header>.h" through an include
# root that holds that folder alone, so a file sees the folders of its own layer and of the layers it links,
# and an include of any other layer's header fails to build.
function(kalvian_layer target)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${PROJECT_BINARY_DIR}/layers/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE kalvian_flags ${ARG_PRIVATE})
endfunction()
