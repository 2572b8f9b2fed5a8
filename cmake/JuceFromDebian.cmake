# JUCE 8 comes unpacked from Debian's trixie packages by scripts/setup.sh.
# Debian's JUCEConfig.cmake is not used: it imports prebuilt helper binaries
# (juceaide) linked against a newer C library than Debian 12 has. Including the
# two CMake scripts directly lets juce_add_plugin build the VST3 manifest helper
# from source instead; nothing here may call juce_add_binary_data or
# juce_generate_juce_header, which need juceaide.

set(QUILLANE_JUCE_ROOT "${CMAKE_SOURCE_DIR}/third_party/juce" CACHE PATH
    "Where scripts/setup.sh unpacked Debian's JUCE 8 packages")

file(GLOB _juce_cmake_dirs "${QUILLANE_JUCE_ROOT}/usr/lib/*/cmake/JUCE-8.*")
list(LENGTH _juce_cmake_dirs _juce_cmake_dir_count)
if(NOT _juce_cmake_dir_count EQUAL 1)
    message(FATAL_ERROR "JUCE 8 not found under ${QUILLANE_JUCE_ROOT}; run scripts/setup.sh first")
endif()
list(GET _juce_cmake_dirs 0 JUCE_CMAKE_UTILS_DIR)
set(JUCE_MODULES_DIR "${QUILLANE_JUCE_ROOT}/usr/share/juce/modules" CACHE INTERNAL "JUCE modules")

include("${JUCE_CMAKE_UTILS_DIR}/JUCEModuleSupport.cmake")
include("${JUCE_CMAKE_UTILS_DIR}/JUCEUtils.cmake")

# Only the modules the plug-in, its tools and the VST3 test host use.
foreach(_module IN ITEMS
        juce_core juce_events juce_data_structures juce_graphics
        juce_gui_basics juce_gui_extra
        juce_audio_basics juce_audio_formats juce_audio_devices
        juce_audio_processors juce_audio_utils juce_audio_plugin_client)
    juce_add_module("${JUCE_MODULES_DIR}/${_module}" ALIAS_NAMESPACE juce)
endforeach()

# Debian strips the bundled codec sources from the modules and makes JUCE use
# the system's libraries instead, so they are linked here.
find_package(PkgConfig REQUIRED)
pkg_check_modules(QUILLANE_SYSTEM_CODECS REQUIRED IMPORTED_TARGET
    flac vorbis vorbisenc vorbisfile ogg libpng libjpeg zlib
    libcurl)  # JUCE_USE_CURL: juce::URL goes through the system libcurl
