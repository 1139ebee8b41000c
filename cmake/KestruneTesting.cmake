include(GoogleTest)

# kestrune_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# Adds test sources to the GoogleTest binary <name>, made on the first call with the shared
# test main of tests/support. There is one binary per library's test folder (and per folder
# of the application); its subfolders call this again with the same name to add their
# files, so the build links a dozen test binaries instead of one per subject.
# Every test case still becomes its own ctest entry, run in its own process with a filter
# for that one test (discovered at test time), each with a 120 s timeout.
# Beside them, the entry <name>.whole runs the whole binary once in one process, its tests
# in an order shuffled anew on every run (the seed is printed first: rerun the binary with
# --gtest_shuffle --gtest_random_seed=<seed> to repeat it). A test that passes only in a
# process of its own, because it relies on what another test left in the process (or on
# nothing being left), fails there. It starts before the short entries (COST), so it runs
# beside them instead of after them.
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT TARGET ${name})
    add_executable(${name})
    target_link_libraries(${name} PRIVATE KestruneTestSupport)
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    add_test(NAME ${name}.whole COMMAND ${name} --gtest_shuffle --gtest_random_seed=0)
    set_tests_properties(${name}.whole PROPERTIES
      TIMEOUT 900 COST 100000 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  target_sources(${name} PRIVATE ${ARG_SOURCES})
  if(ARG_LIBRARIES)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  endif()
endfunction()
