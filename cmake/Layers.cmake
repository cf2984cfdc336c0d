# The program's layers, each a library that sees only its own headers and
# those of the layers below it, so that an #include pointing up does not
# build: a layer's include root is a folder in the build tree holding links
# to its own source folders alone, and a layer links only the layers below.
#
#   base <- platform interfaces and formats <- catalog <- scanners <- operations
#        <- ui logic <- command-line tool;  the Win32 and offline platforms on
#   the platform interfaces; the window on the ui logic and the Win32 platform.
set(LSU_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# Links <root of layer>/<path> to src/<path>, a folder or a file.
function(lsu_link_source layer path)
  set(link ${LSU_LAYER_ROOTS}/${layer}/${path})
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${path} ${link} SYMBOLIC)
endfunction()

# lsu_layer(<target> SHOWS <path below src>... SOURCES <glob>... BELOW <layer target>...)
function(lsu_layer target)
  cmake_parse_arguments(LAYER "" "" "SHOWS;SOURCES;BELOW" ${ARGN})
  file(REMOVE_RECURSE ${LSU_LAYER_ROOTS}/${target})
  foreach(path ${LAYER_SHOWS})
    lsu_link_source(${target} ${path})
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${LAYER_SOURCES})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${LSU_LAYER_ROOTS}/${target})
  target_link_libraries(${target} PUBLIC ${LAYER_BELOW})
endfunction()
