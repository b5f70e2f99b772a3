# Makes a manual page from its template, run as
#   cmake -DTEMPLATE=page.1.in -DOUTPUT=page.1 -DVERSION=1.1 -DDATE=2026-12-07 -DGZIP=/bin/gzip -P ManPage.cmake
# Each line "@INCLUDE name@" of the template is replaced by the file "name"
# beside it (its text once, whole; includes do not nest); then @PROJECT_VERSION@
# and @NUMBRIX_RELEASE_DATE@ take VERSION and DATE. Writes OUTPUT and its
# compressed copy OUTPUT.gz (gzip -9n: without name and time, so the same page
# gives the same bytes). Fails on a missing include or a marker left unreplaced.
foreach(name TEMPLATE OUTPUT VERSION DATE GZIP)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "ManPage.cmake needs -D${name}=...")
  endif()
endforeach()

# Read and replaced as one text, never as a list: the pages hold semicolons.
file(READ "${TEMPLATE}" page)
get_filename_component(folder "${TEMPLATE}" DIRECTORY)
string(REGEX MATCHALL "@INCLUDE [^@\n]+@\n" markers "${page}")
foreach(marker IN LISTS markers)
  string(REGEX REPLACE "^@INCLUDE ([^@\n]+)@\n$" "\\1" include "${marker}")
  if(NOT EXISTS "${folder}/${include}")
    message(FATAL_ERROR "${TEMPLATE}: no file ${include} to include")
  endif()
  file(READ "${folder}/${include}" text)
  string(REPLACE "@INCLUDE ${include}@\n" "${text}" page "${page}")
endforeach()
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@NUMBRIX_RELEASE_DATE@" "${DATE}" page "${page}")
if(page MATCHES "@INCLUDE [^@\n]*@|@[A-Z_]+@")
  message(FATAL_ERROR "${TEMPLATE}: '${CMAKE_MATCH_0}' is left unreplaced")
endif()

file(WRITE "${OUTPUT}" "${page}")
execute_process(COMMAND "${GZIP}" -9n -c "${OUTPUT}" OUTPUT_FILE "${OUTPUT}.gz" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${GZIP} could not compress ${OUTPUT}")
endif()
