# The interface font is compiled into the plug-in as a byte array generated at
# build time, so the binary needs no font installed on the user's machine.
set(QUILLANE_FONT_FILE "${CMAKE_SOURCE_DIR}/resources/Jost_400Regular.ttf")
set(QUILLANE_FONT_SOURCE "${CMAKE_BINARY_DIR}/generated/JostRegularFont.cpp")

add_custom_command(
    OUTPUT "${QUILLANE_FONT_SOURCE}"
    COMMAND ${CMAKE_COMMAND}
        -DINPUT=${QUILLANE_FONT_FILE} -DINPUT_NAME=Jost_400Regular.ttf
        -DOUTPUT=${QUILLANE_FONT_SOURCE} -DSYMBOL=jostRegular
        -P "${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${QUILLANE_FONT_FILE}" "${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake"
    COMMENT "Embedding the interface font"
    VERBATIM)
