# Native (Linux) build: the plain C++ core and its unit tests, which run in milliseconds.
if(NOT PLUMBO_TESTS)
  return()
endif()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE plumbo_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(native_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 30)
# The layer check refuses what it should: includes against the stages' order in a made-up tree.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME layers.stages COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/check_layers_test.py)

# One executable per benchmark source: bench/<name>_native.cpp.
file(GLOB NATIVE_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_native.cpp)
foreach(src ${NATIVE_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE plumbo_core)
endforeach()
