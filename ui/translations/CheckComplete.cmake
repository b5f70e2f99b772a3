# cmake -DTS_FILE=<file.ts> -DSTAMP=<file> -P CheckComplete.cmake
# Fails when the translation TS_FILE has entries left unfinished, or obsolete
# or vanished ones (translate them, or refresh the file with the target
# ui_lupdate, which drops the obsolete ones); else touches STAMP.
file(READ "${TS_FILE}" ts)
string(REGEX MATCHALL "type=\"(unfinished|obsolete|vanished)\"" open_entries "${ts}")
list(LENGTH open_entries count)
if(count GREATER 0)
  message(FATAL_ERROR "${TS_FILE}: ${count} entries are unfinished, obsolete or vanished; "
                      "translate them or run the target ui_lupdate.")
endif()
file(TOUCH "${STAMP}")
