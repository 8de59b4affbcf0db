include(GoogleTest)
# zub_test(<name> <sources...>): a GoogleTest executable registered with CTest, linked with
# the board (zubsim_core), so that tests can boot real module images on it.
function(zub_test name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON)
  target_link_libraries(${name} PRIVATE zubsim_core GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
