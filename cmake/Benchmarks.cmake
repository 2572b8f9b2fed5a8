# Speed goals are measured here, never asserted in tests.
find_package(benchmark QUIET)
if(benchmark_FOUND AND EXISTS "${CMAKE_SOURCE_DIR}/benchmarks/CMakeLists.txt")
    add_subdirectory("${CMAKE_SOURCE_DIR}/benchmarks")
endif()
