# One ctest entry per GoogleTest suite of a test executable, found when ctest
# starts (as gtest_discover_tests does in its PRE_TEST mode), so that a new
# TEST in any suite runs without a change here. Under Wine every entry is a
# process start of seconds (many more under emulation): one per case cost
# more than the cases themselves.
#
#   tamsaek_add_test_suites(TARGET
#     [MIN_CASES n]            suites with fewer cases share an entry with
#                              their neighbours until it holds n cases
#     [DISCOVERY_TIMEOUT s]
#     [PROPERTIES name value ...])
#
# Each entry is named by the --gtest_filter it runs ("Form.*",
# "AnsiText.*:EntryGuard.*"), so that ctest -R finds a suite by name and the
# name is the command to run it alone. An entry fails when a case fails, when
# the process ends badly, and when fewer cases ran than were listed (a case
# that ends the process early would otherwise hide the rest of its suite).
# Each entry's gtest XML is left in <build>/test-results/.

set(TAMSAEK_TEST_SUITES_DISCOVER "${CMAKE_CURRENT_LIST_DIR}/TestSuitesDiscover.cmake")
set(TAMSAEK_TEST_SUITES_RUN "${CMAKE_CURRENT_LIST_DIR}/TestSuiteRun.cmake")

function(tamsaek_add_test_suites target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "MIN_CASES;DISCOVERY_TIMEOUT" "PROPERTIES")
  if(NOT arg_MIN_CASES)
    set(arg_MIN_CASES 1)
  endif()
  if(NOT arg_DISCOVERY_TIMEOUT)
    set(arg_DISCOVERY_TIMEOUT 60)
  endif()
  get_property(emulator TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR)
  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites")
  set(results "${CMAKE_BINARY_DIR}/test-results")

  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi_config)
    set(tests_file "${base}_tests-$<CONFIG>.cmake")
  else()
    set(tests_file "${base}_tests.cmake")
  endif()

  # Listed again whenever the executable, this file or the scripts changed.
  string(CONCAT content
    "set(exe [==[$<TARGET_FILE:${target}>]==])\n"
    "set(tests_file [==[${tests_file}]==])\n"
    "if(NOT EXISTS \"\${exe}\")\n"
    "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
    "  return()\n"
    "endif()\n"
    "if(NOT EXISTS \"\${tests_file}\"\n"
    "   OR NOT \"\${tests_file}\" IS_NEWER_THAN \"\${exe}\"\n"
    "   OR NOT \"\${tests_file}\" IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\"\n"
    "   OR NOT \"\${tests_file}\" IS_NEWER_THAN [==[${TAMSAEK_TEST_SUITES_DISCOVER}]==]\n"
    "   OR NOT \"\${tests_file}\" IS_NEWER_THAN [==[${TAMSAEK_TEST_SUITES_RUN}]==])\n"
    "  include([==[${TAMSAEK_TEST_SUITES_DISCOVER}]==])\n"
    "  tamsaek_discover_test_suites(\n"
    "    TARGET [==[${target}]==]\n"
    "    EXECUTABLE \"\${exe}\"\n"
    "    EMULATOR [==[${emulator}]==]\n"
    "    WORKING_DIRECTORY [==[${CMAKE_CURRENT_BINARY_DIR}]==]\n"
    "    RESULTS [==[${results}]==]\n"
    "    MIN_CASES [==[${arg_MIN_CASES}]==]\n"
    "    TIMEOUT [==[${arg_DISCOVERY_TIMEOUT}]==]\n"
    "    PROPERTIES [==[${arg_PROPERTIES}]==]\n"
    "    RUNNER [==[${TAMSAEK_TEST_SUITES_RUN}]==]\n"
    "    CMAKE [==[${CMAKE_COMMAND}]==]\n"
    "    LOG [==[${base}_discovery.log]==]\n"
    "    OUTPUT \"\${tests_file}\")\n"
    "endif()\n"
    "if(EXISTS \"\${tests_file}\")\n"
    "  include(\"\${tests_file}\")\n"
    "else()\n"
    "  # Listing failed: one entry that fails and shows why.\n"
    "  add_test(${target}.list_tests [==[${CMAKE_COMMAND}]==] -D [==[LOG=${base}_discovery.log]==]\n"
    "    -P [==[${TAMSAEK_TEST_SUITES_DISCOVER}]==])\n"
    "endif()\n")

  if(multi_config)
    foreach(config ${CMAKE_CONFIGURATION_TYPES})
      file(GENERATE OUTPUT "${base}_include-${config}.cmake" CONTENT "${content}" CONDITION $<CONFIG:${config}>)
    endforeach()
    file(WRITE "${base}_include.cmake" "include(\"${base}_include-\${CTEST_CONFIGURATION_TYPE}.cmake\")\n")
  else()
    file(GENERATE OUTPUT "${base}_include_real.cmake" CONTENT "${content}")
    file(WRITE "${base}_include.cmake" "include(\"${base}_include_real.cmake\")\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${base}_include.cmake")
endfunction()
