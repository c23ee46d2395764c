# One static library for each folder of src/, named vardelo_<folder>.
#
#     vardelo_layer(<folder> [DEPENDS <lower folders>...] [OPTIONAL <folders linked when present>...]
#                   [SOURCES <extra files>...])
#
# The sources are every *.cpp and *.h of src/<folder>. A layer sees only its own headers and those of the layers
# it links: each layer has an include root of its own in the build folder that holds nothing but a link
# "<folder>" to src/<folder>, so `#include "<other>/x.h"` of a layer that is not linked does not compile.
function(vardelo_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS;OPTIONAL;SOURCES")
  set(folder ${VARDELO_SOURCE_ROOT}/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  set(target vardelo_${name})
  add_library(${target} STATIC ${sources} ${arg_SOURCES})

  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${name})
    file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})

  set(linked)
  foreach(dependency IN LISTS arg_DEPENDS)
    if(NOT TARGET vardelo_${dependency})
      message(FATAL_ERROR "Layer ${name} uses ${dependency}, which is not defined before it")
    endif()
    list(APPEND linked ${dependency})
  endforeach()
  foreach(dependency IN LISTS arg_OPTIONAL)
    if(TARGET vardelo_${dependency})
      list(APPEND linked ${dependency})
    endif()
  endforeach()
  foreach(dependency IN LISTS linked)
    target_link_libraries(${target} PUBLIC vardelo_${dependency})
  endforeach()
  set_property(GLOBAL PROPERTY VARDELO_LAYER_LINKS_${name} ${linked})
  vardelo_strict_warnings(${target})
  vardelo_precompiled_qt(${target})
  set_property(GLOBAL APPEND PROPERTY VARDELO_LAYERS ${name})
endfunction()

# Qt's headers, parsed once for each target instead of once for each file.
function(vardelo_precompiled_qt target)
  if(VARDELO_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE <QtCore/QtCore> <QtGui/QtGui> <QtWidgets/QtWidgets>)
  endif()
endfunction()

# The project's own code compiles without warnings at this level; with VARDELO_WERROR they are errors. Qt's and
# Firebird's headers are system headers and are not checked.
function(vardelo_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion)
  if(VARDELO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The layers a layer sees: itself and, recursively, those it links.
function(vardelo_layer_closure name out)
  set(seen ${name})
  set(queue ${name})
  while(queue)
    list(POP_FRONT queue current)
    get_property(links GLOBAL PROPERTY VARDELO_LAYER_LINKS_${current})
    foreach(link IN LISTS links)
      if(NOT link IN_LIST seen)
        list(APPEND seen ${link})
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# A test for every layer and every layer it does not link: a file of the one that includes a header of the
# other must fail to compile with "No such file or directory", so the layering cannot be undone unseen.
function(vardelo_layer_tests)
  get_property(layers GLOBAL PROPERTY VARDELO_LAYERS)
  foreach(layer IN LISTS layers)
    vardelo_layer_closure(${layer} visible)
    foreach(other IN LISTS layers)
      if(other IN_LIST visible)
        continue()
      endif()
      file(GLOB headers ${VARDELO_SOURCE_ROOT}/${other}/*.h)
      if(NOT headers)
        continue()
      endif()
      list(GET headers 0 header)
      get_filename_component(header ${header} NAME)
      set(probe ${CMAKE_BINARY_DIR}/layers/probes/${layer}_includes_${other}.cpp)
      file(WRITE ${probe} "#include \"${other}/${header}\"\n")
      set(test layers.${layer}_cannot_include_${other})
      add_test(NAME ${test}
        COMMAND ${CMAKE_CXX_COMPILER} -fsyntax-only
          "-I$<JOIN:$<TARGET_PROPERTY:vardelo_${layer},INCLUDE_DIRECTORIES>,;-I>" ${probe}
        COMMAND_EXPAND_LISTS)
      set_tests_properties(${test} PROPERTIES PASS_REGULAR_EXPRESSION "${other}/${header}: No such file")
    endforeach()
  endforeach()
endfunction()
