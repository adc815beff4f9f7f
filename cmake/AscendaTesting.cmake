# ascenda_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, its cases discovered at test time (never at build time, so the
# cross build never runs a Windows binary while building).
include(GoogleTest)

function(ascenda_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300 PROPERTIES TIMEOUT 600)
endfunction()
