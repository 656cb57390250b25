# GoogleTest: the Debian package's library natively, its sources for the MinGW build.
if(WIN32)
  set(OVRA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  if(NOT EXISTS ${OVRA_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found at ${OVRA_GTEST_SOURCE}; run scripts/bootstrap.sh")
  endif()
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${OVRA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# A native unit test program, discovered test by test.
function(ovra_native_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  ovra_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A Windows test program run under Wine; one CTest entry per program keeps Wine
# start-ups few. Labels let the runner put GUI tests under Xvfb.
function(ovra_wine_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  ovra_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  # The bench answers 77 where this host cannot run the program's Wine.
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()
