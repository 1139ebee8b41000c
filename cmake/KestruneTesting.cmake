include(GoogleTest)

# kestrune_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# One GoogleTest binary with the shared test main of tests/support; every test case
# becomes a ctest entry (discovered at test time), each with a 120 s timeout.
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE KestruneTestSupport ${ARG_LIBRARIES})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
