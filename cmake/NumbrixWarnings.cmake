# numbrix_warnings(<target>): the warning level of the project's own code.
# Every target gets -Wall -Wextra -Wpedantic -Wshadow; the product (the
# libraries and the two programs, not the tests, benchmarks or fuzz targets)
# also gets -Wconversion. NUMBRIX_WERROR makes them errors, as CI builds.
option(NUMBRIX_WERROR "Treat the project's warnings as errors" OFF)

function(numbrix_warnings target)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  get_target_property(folder ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${folder})
  if(NOT folder MATCHES "^(tests|bench|fuzz)(/|$)")
    target_compile_options(${target} PRIVATE -Wconversion)
  endif()
  # GCC 12 at -O3 warns of overlapping copies in libstdc++'s string code inlined from the ANTLR
  # runtime's header (antlr::CharScanner::append), which copies nothing that overlaps: a known
  # false positive of that compiler, silenced for it alone.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(NUMBRIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
