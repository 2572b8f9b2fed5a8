# Warnings for the project's own code only: JUCE's module sources compile with
# their own settings, so a warning here is always ours to fix.
set(QUILLANE_WARNING_FLAGS
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Wunused -Woverloaded-virtual -Wdouble-promotion
    -Wformat=2 -Wimplicit-fallthrough)
add_library(quillane_warnings INTERFACE)
target_compile_options(quillane_warnings INTERFACE ${QUILLANE_WARNING_FLAGS})
