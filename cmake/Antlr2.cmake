# ANTLR 2 support: finds the C++ runtime and turns a grammar file into a static
# library of generated sources.
#
#   numbrix_antlr_grammar(<target> <grammar.g>
#       CLASSES <class> ...       # the lexer and parser classes the grammar defines
#       VOCABULARIES <name> ...   # the exported vocabularies (<name>TokenTypes.hpp)
#       [LINK <target> ...])      # what the grammar's actions include and call
#
# The sources are generated at build time by runantlr into the build tree and are
# never part of the source tree. Users of <target> include the generated headers
# by their bare names ("ConfigParser.hpp"). Generated code is compiled without
# the project's warning flags.

find_program(ANTLR2_RUNANTLR runantlr REQUIRED)
find_path(ANTLR2_INCLUDE_DIR antlr/CharScanner.hpp REQUIRED)
# Prefer the position-independent archive: executables are PIE by default.
find_library(ANTLR2_LIBRARY NAMES antlr-pic antlr REQUIRED)

if(NOT TARGET antlr2::runtime)
  add_library(antlr2::runtime STATIC IMPORTED GLOBAL)
  set_target_properties(antlr2::runtime PROPERTIES
    IMPORTED_LOCATION ${ANTLR2_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${ANTLR2_INCLUDE_DIR}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${ANTLR2_INCLUDE_DIR})
endif()

function(numbrix_antlr_grammar target grammar)
  cmake_parse_arguments(ARG "" "" "CLASSES;VOCABULARIES;LINK" ${ARGN})
  if(NOT ARG_CLASSES)
    message(FATAL_ERROR "numbrix_antlr_grammar(${target}): CLASSES is required")
  endif()
  get_filename_component(grammar_path ${grammar} ABSOLUTE)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_generated)

  set(sources)
  set(outputs)
  foreach(class IN LISTS ARG_CLASSES)
    list(APPEND sources ${out_dir}/${class}.cpp)
    list(APPEND outputs ${out_dir}/${class}.cpp ${out_dir}/${class}.hpp)
  endforeach()
  foreach(vocab IN LISTS ARG_VOCABULARIES)
    list(APPEND outputs ${out_dir}/${vocab}TokenTypes.hpp ${out_dir}/${vocab}TokenTypes.txt)
  endforeach()

  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${ANTLR2_RUNANTLR} -o ${out_dir} ${grammar_path}
    DEPENDS ${grammar_path}
    COMMENT "Generating ${target} from ${grammar}"
    VERBATIM)

  add_library(${target} STATIC ${sources})
  target_include_directories(${target} SYSTEM PUBLIC ${out_dir})
  target_link_libraries(${target} PUBLIC antlr2::runtime ${ARG_LINK})
  # Generated code is not held to the project's warning level.
  target_compile_options(${target} PRIVATE -w)
endfunction()
