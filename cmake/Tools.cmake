# Executables built from the shared library (no second copy of any code).
set(QUILLANE_TOOL_SOURCES_DIR "${CMAKE_SOURCE_DIR}/tools")
file(GLOB QUILLANE_TOOL_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS "${QUILLANE_TOOL_SOURCES_DIR}/*")
foreach(_dir IN LISTS QUILLANE_TOOL_DIRS)
    if(IS_DIRECTORY "${_dir}" AND EXISTS "${_dir}/CMakeLists.txt")
        add_subdirectory("${_dir}")
    endif()
endforeach()
