# GoogleTest suites, registered with CTest. Each subfolder of tests/ with a
# CMakeLists.txt adds its own executable.
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB QUILLANE_TEST_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/*")
foreach(_dir IN LISTS QUILLANE_TEST_DIRS)
    if(IS_DIRECTORY "${_dir}" AND EXISTS "${_dir}/CMakeLists.txt")
        add_subdirectory("${_dir}")
    endif()
endforeach()
