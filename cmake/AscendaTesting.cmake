# ascenda_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, its cases discovered at test time (never at build time, so the
# cross build never runs a Windows binary while building). In the cross build the cases run
# under Wine through CMAKE_CROSSCOMPILING_EMULATOR, after the Wine prefix exists.
include(GoogleTest)

#
# ascenda_add_test(<name> SOURCES <files...> LIBS <targets...> RUNNER <command...>)
# With RUNNER the whole program is one test, run as <command...> <program>, for programs that
# need a setting of their own that is costly to start (two monitors): the ctest name is <name>.
function(ascenda_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;RUNNER" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY ASCENDA_TEST_TARGETS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  set(properties TIMEOUT 600)
  if(CMAKE_CROSSCOMPILING)
    list(APPEND properties FIXTURES_REQUIRED wine)
    # All Windows tests share one desktop (focus, activation, the topmost window) and one
    # registry, so only the model's tests, which touch neither, may run alongside others.
    if(NOT CMAKE_CURRENT_SOURCE_DIR MATCHES "/tests/sim$")
      list(APPEND properties RESOURCE_LOCK wine_session)
    endif()
  endif()
  if(ARG_RUNNER)
    add_test(NAME ${name} COMMAND ${ARG_RUNNER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ${properties})
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300 PROPERTIES ${properties})
endfunction()
