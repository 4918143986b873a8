# One fuzz run under ctest: an empty working corpus, then the checked-in
# seeds. Arguments: FUZZER, ARGUMENTS (separated by |), CORPUS, SEEDS.
file(REMOVE_RECURSE "${CORPUS}")
file(MAKE_DIRECTORY "${CORPUS}")
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
set(seeds "")
if(EXISTS "${SEEDS}")
  set(seeds "${SEEDS}")
endif()
execute_process(COMMAND "${FUZZER}" ${arguments} "${CORPUS}" ${seeds} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that failed is in the folder above ${CORPUS}")
endif()
