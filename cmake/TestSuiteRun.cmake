# One ctest entry of cmake/TestSuites.cmake: runs the cases of a filter in one
# process and fails unless the process succeeded and every listed case ran.
#   cmake -DEMULATOR=... -DEXECUTABLE=... -DFILTER=... -DXML=... -DCASES=n -P TestSuiteRun.cmake

cmake_minimum_required(VERSION 3.20)

get_filename_component(results "${XML}" DIRECTORY)
file(MAKE_DIRECTORY "${results}")
file(REMOVE "${XML}")
# Relative to the working folder: under Wine a path without a drive letter
# is not absolute, and GoogleTest would put it below the working folder.
file(RELATIVE_PATH xml_from_here "${CMAKE_CURRENT_BINARY_DIR}" "${XML}")
execute_process(
  COMMAND ${EMULATOR} "${EXECUTABLE}" "--gtest_filter=${FILTER}" "--gtest_output=xml:${xml_from_here}"
  RESULT_VARIABLE result)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "${FILTER}: the test process ended with '${result}'")
endif()
# GoogleTest writes its XML once every case has ended.
if(NOT EXISTS "${XML}")
  message(FATAL_ERROR "${FILTER}: no results in ${XML}: the process ended before its cases did")
endif()
file(STRINGS "${XML}" ran REGEX "<testcase ")
list(LENGTH ran ran_count)
if(NOT ran_count EQUAL CASES)
  message(FATAL_ERROR "${FILTER}: ${CASES} cases listed, ${ran_count} ran")
endif()
message("${FILTER}: ${ran_count} of ${CASES} listed cases ran")
