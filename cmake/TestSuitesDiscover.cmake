# Run by ctest through cmake/TestSuites.cmake: lists the cases of a GoogleTest
# executable and writes one ctest entry per suite (small neighbours grouped).
# Run with -P and LOG set, it is the entry that shows why the listing failed.

# ctest reads this with no policies set.
cmake_minimum_required(VERSION 3.20)

function(tamsaek_discover_test_suites)
  # One value each, lists included: split, the properties' own names
  # (TIMEOUT, WORKING_DIRECTORY) would be taken for these keywords.
  cmake_parse_arguments(PARSE_ARGV 0 arg ""
    "TARGET;EXECUTABLE;EMULATOR;WORKING_DIRECTORY;RESULTS;MIN_CASES;TIMEOUT;PROPERTIES;RUNNER;CMAKE;LOG;OUTPUT" "")
  file(REMOVE "${arg_OUTPUT}")
  execute_process(
    COMMAND ${arg_EMULATOR} "${arg_EXECUTABLE}" --gtest_list_tests
    WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}"
    TIMEOUT ${arg_TIMEOUT}
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    RESULT_VARIABLE result)
  string(REPLACE "\r" "" output "${output}")
  set(failure "")
  if(NOT result STREQUAL "0")
    set(failure "listing the cases ended with '${result}'")
  endif()

  # "Suite." (with "  # TypeParam = ..." for typed suites) then "  Case"
  # lines (with "  # GetParam() = ..." for parameterized ones).
  set(suites "")
  set(suite "")
  string(REPLACE ";" "\\;" output_lines "${output}")
  string(REPLACE "\n" ";" output_lines "${output_lines}")
  foreach(line IN LISTS output_lines)
    if(failure OR line STREQUAL "")
      continue()
    endif()
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_/]*)\\.( +#.*)?$")
      set(suite "${CMAKE_MATCH_1}")
      if(suite IN_LIST suites)
        set(failure "the suite ${suite} is listed twice")
      endif()
      list(APPEND suites "${suite}")
      set(cases_${suite} 0)
    elseif(line MATCHES "^  [A-Za-z_][A-Za-z0-9_/]*( +#.*)?$" AND suite)
      math(EXPR cases_${suite} "${cases_${suite}} + 1")
    else()
      # A line that is neither could hide cases: rather fail than lose them.
      set(failure "unexpected line in the list of cases: '${line}'")
    endif()
  endforeach()
  if(NOT failure AND NOT suites)
    set(failure "no cases listed")
  endif()
  if(failure)
    file(WRITE "${arg_LOG}" "${arg_TARGET} --gtest_list_tests: ${failure}\n"
      "command: ${arg_EMULATOR} ${arg_EXECUTABLE} --gtest_list_tests\n"
      "--- output\n${output}\n--- errors\n${errors}\n")
    message(WARNING "${arg_TARGET}: ${failure} (see ${arg_LOG})")
    return()
  endif()

  # Each entry: the filter that names it, its file of results, its cases.
  set(script "")
  set(group_filter "")
  set(group_file "")
  set(group_cases 0)
  set(total 0)
  macro(tamsaek_flush_group)
    if(group_filter)
      string(APPEND script
        "add_test([==[${group_filter}]==] [==[${arg_CMAKE}]==]\n"
        "  [==[-DEMULATOR=${arg_EMULATOR}]==]\n"
        "  [==[-DEXECUTABLE=${arg_EXECUTABLE}]==]\n"
        "  [==[-DFILTER=${group_filter}]==]\n"
        "  [==[-DXML=${arg_RESULTS}/${group_file}.xml]==]\n"
        "  [==[-DCASES=${group_cases}]==]\n"
        "  -P [==[${arg_RUNNER}]==])\n"
        "set_tests_properties([==[${group_filter}]==] PROPERTIES\n"
        "  WORKING_DIRECTORY [==[${arg_WORKING_DIRECTORY}]==]")
      foreach(property IN LISTS arg_PROPERTIES)
        string(APPEND script " [==[${property}]==]")
      endforeach()
      string(APPEND script ")\n")
      set(group_filter "")
      set(group_file "")
      set(group_cases 0)
    endif()
  endmacro()
  foreach(suite IN LISTS suites)
    set(cases ${cases_${suite}})
    math(EXPR total "${total} + ${cases}")
    if(cases GREATER_EQUAL arg_MIN_CASES)
      tamsaek_flush_group()
    endif()
    string(REPLACE "/" "_" file_part "${suite}")
    if(group_filter)
      string(APPEND group_filter ":")
      string(APPEND group_file "+")
    endif()
    string(APPEND group_filter "${suite}.*")
    string(APPEND group_file "${file_part}")
    math(EXPR group_cases "${group_cases} + ${cases}")
    if(group_cases GREATER_EQUAL arg_MIN_CASES)
      tamsaek_flush_group()
    endif()
  endforeach()
  tamsaek_flush_group()
  list(LENGTH suites suite_count)
  file(WRITE "${arg_OUTPUT}"
    "# ${arg_TARGET}: ${total} cases in ${suite_count} suites, listed by cmake/TestSuitesDiscover.cmake\n"
    "${script}")
  file(REMOVE "${arg_LOG}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED LOG)
  file(READ "${LOG}" text)
  message(FATAL_ERROR "${text}")
endif()
