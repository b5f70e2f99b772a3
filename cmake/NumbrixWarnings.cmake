# numbrix_warnings(<target>): the warning level of the project's own code.
function(numbrix_warnings target)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
