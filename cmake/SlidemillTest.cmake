include(GoogleTest)
find_package(GTest REQUIRED)

# slidemill_add_test(NAME area SOURCES a.cpp b.cpp [LIBRARIES lib...] [TIMEOUT seconds])
# One test executable per area; every test case gets a CTest timeout so that nothing hangs CI.
function(slidemill_add_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  set(target test_${ARG_NAME})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE slidemill_test_support slidemill_cli ${ARG_LIBRARIES}
                                          GTest::gtest GTest::gmock)
  gtest_discover_tests(${target}
    TEST_PREFIX "${ARG_NAME}."
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${ARG_PROPERTIES})
endfunction()
