# Runs one scripted velmora-cli session and compares what it printed with the expected
# files. Called by ctest from the sessions folder with -DCLI, -DSESSION, -DMODE (file or
# stdin) and -DSTATUS, and -DEMULATOR (a list: the program that runs CLI) for a build for
# another platform.
if(MODE STREQUAL "stdin")
  execute_process(COMMAND ${EMULATOR} ${CLI} INPUT_FILE ${SESSION}.script
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
else()
  execute_process(COMMAND ${EMULATOR} ${CLI} ${SESSION}.script
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
endif()

set(expected_err "")
if(EXISTS ${SESSION}.err)
  file(READ ${SESSION}.err expected_err)
endif()
file(READ ${SESSION}.out expected_out)

set(failed FALSE)
if(NOT out STREQUAL expected_out)
  message("standard output differs from ${SESSION}.out; it was:\n${out}")
  set(failed TRUE)
endif()
if(NOT err STREQUAL expected_err)
  message("standard error differs from ${SESSION}.err; it was:\n${err}")
  set(failed TRUE)
endif()
if(NOT status STREQUAL STATUS)
  message("exit status ${status}, expected ${STATUS}")
  set(failed TRUE)
endif()
if(failed)
  message(FATAL_ERROR "session ${SESSION} failed")
endif()
