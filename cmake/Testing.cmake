# GoogleTest for the native build (Debian's package) and the MinGW build (built from source).
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# verdantix_add_test(NAME source... LIBS lib... [ENVIRONMENT VAR=value...]): one GoogleTest
# executable, its cases in CTest, run with those variables set.
function(verdantix_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Case names without their parameters' bytes: the same names at every run, short logs.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
                       PROPERTIES LABELS unit ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()
