# Tests of a cross-compiled build (Windows programs built on Linux, run under Wine).
# No GoogleTest for the target system is installed: build it from the sources that Debian's
# googletest package ships.
set(KELVARA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${KELVARA_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${KELVARA_GTEST_SOURCE} (Debian: apt install googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KELVARA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest) # older GoogleTest releases name only the plain targets
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# The report tool on the bundled sample, as a Windows user runs it from the data folder.
add_test(NAME ReportSample COMMAND kelvara-report --dir . --now "2027-01-01 00:00:00" game
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/sample)
set_tests_properties(ReportSample PROPERTIES PASS_REGULAR_EXPRESSION "finished\t[1-9][0-9]*")
