# Script mode (cmake -P): writes INPUT as a C++ byte array into OUTPUT.
# Used instead of JUCE's binary-data helper, which needs a prebuilt juceaide.
file(READ "${INPUT}" _hex HEX)
string(LENGTH "${_hex}" _hex_length)
math(EXPR _size "${_hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " _bytes "${_bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT_NAME} by cmake/EmbedFile.cmake; do not edit.\n"
    "#include \"theme/EmbeddedFont.h\"\n\n"
    "namespace quillane::embedded\n{\n"
    "const unsigned char ${SYMBOL}[] = {\n    ${_bytes}\n};\n"
    "const int ${SYMBOL}Size = ${_size};\n}\n")
