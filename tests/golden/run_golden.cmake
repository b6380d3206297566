# Runs one golden case: the command of cmd.txt in the case's folder, stdout compared byte for
# byte with expected.txt (and stderr with expected_stderr.txt when the case has one).
file(READ "${CASE_DIR}/cmd.txt" cmd)
string(STRIP "${cmd}" cmd)
separate_arguments(args UNIX_COMMAND "${cmd}")
list(POP_FRONT args program)
execute_process(COMMAND "${CLI}" ${args}
  WORKING_DIRECTORY "${CASE_DIR}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${CASE_DIR}/expected.txt" expected)
if(NOT out STREQUAL expected)
  file(WRITE "${OUT_FILE}" "${out}")
  message(FATAL_ERROR "output differs from ${CASE_DIR}/expected.txt; got ${OUT_FILE}")
endif()
if(EXISTS "${CASE_DIR}/expected_stderr.txt")
  file(READ "${CASE_DIR}/expected_stderr.txt" expected_err)
  if(NOT err STREQUAL expected_err)
    message(FATAL_ERROR "stderr differs: ${err}")
  endif()
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit code ${rc}")
endif()
