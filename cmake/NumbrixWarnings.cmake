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
  if(NUMBRIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
