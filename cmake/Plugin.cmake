# The plug-in: one static library of all of Quillane's code (the target
# "Quillane", JUCE's shared-code target), linked by the VST3, the Standalone,
# the tests, the benchmarks and the tools, so every piece is compiled once.

juce_add_plugin(Quillane
    PRODUCT_NAME "Quillane"
    VERSION "1.0.6"
    COMPANY_NAME "Quillane Audio"
    COMPANY_WEBSITE "https://quillane.example"
    PLUGIN_MANUFACTURER_CODE Qlne
    PLUGIN_CODE Qln1
    FORMATS VST3 Standalone
    IS_SYNTH TRUE
    NEEDS_MIDI_INPUT TRUE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS TRUE
    VST3_CATEGORIES Instrument Synth
    # Installing into ~/.vst3 is the README's job, not every build's.
    COPY_PLUGIN_AFTER_BUILD FALSE)

file(GLOB_RECURSE QUILLANE_SOURCES CONFIGURE_DEPENDS
    "${CMAKE_SOURCE_DIR}/source/*.cpp" "${CMAKE_SOURCE_DIR}/source/*.h")
target_sources(Quillane PRIVATE ${QUILLANE_SOURCES} "${QUILLANE_FONT_SOURCE}")
# JUCE's module sources compile inside this target too, so the warning flags
# go on our own files only.
set_source_files_properties(${QUILLANE_SOURCES} PROPERTIES COMPILE_OPTIONS "${QUILLANE_WARNING_FLAGS}")

target_include_directories(Quillane PUBLIC "${CMAKE_SOURCE_DIR}/source")
# JUCE's headers as system headers: our warning flags are for our code.
target_include_directories(Quillane SYSTEM PUBLIC "${JUCE_MODULES_DIR}")

# PUBLIC, so that everything linking the library sees JUCE configured exactly
# as it was compiled (a mismatch would break the one-definition rule).
target_compile_definitions(Quillane PUBLIC
    JUCE_WEB_BROWSER=0                # no web view: nothing to show in one
    JUCE_USE_CURL=1                   # HTTPS through juce::URL on Linux
    # JUCE's own MP3 reader where no Core Audio decoder exists.
    $<$<NOT:$<PLATFORM_ID:Darwin>>:JUCE_USE_MP3AUDIOFORMAT=1>
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_VST3_CAN_REPLACE_VST2=0      # there is no VST2 version to replace
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_MODAL_LOOPS_PERMITTED=0
    # Assertions go through juce::Logger in every build type, so the tests can
    # turn any JUCE assertion into a test failure.
    JUCE_LOG_ASSERTIONS=1
    # Leaked JUCE objects assert at exit in every build type, so tests see them.
    JUCE_CHECK_MEMORY_LEAKS=1)

target_link_libraries(Quillane
    PRIVATE
        juce::juce_audio_utils
        juce::juce_audio_plugin_client
        juce::juce_recommended_config_flags
        juce::juce_recommended_lto_flags
    PUBLIC
        PkgConfig::QUILLANE_SYSTEM_CODECS)

# For executables that link the library: they see its headers and JUCE's module
# headers the way the plug-in wrappers do, without compiling JUCE again.
function(quillane_use_shared_code target)
    target_include_directories(${target} PRIVATE
        $<TARGET_PROPERTY:Quillane,INCLUDE_DIRECTORIES>)
    target_link_libraries(${target} PRIVATE Quillane quillane_warnings)
endfunction()
