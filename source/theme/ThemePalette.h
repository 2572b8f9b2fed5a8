#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/** The twenty colours every view draws with. Entries are addressed by number
    (0 background, 1 text, ... 19 shuffle on) because the views name them so. */
struct ThemePalette
{
    static constexpr int numEntries = 20;

    std::array<juce::Colour, numEntries> entries;

    juce::Colour operator[] (int index) const { return entries[(size_t) index]; }
};

extern const ThemePalette qelLight;
extern const ThemePalette qelDark;

/** The palette in use, shared by every editor of the process. Message thread. */
extern const ThemePalette* qelCurrentTheme;

/** Fill of a refused click, on buttons and empty lane selectors. */
extern const juce::Colour qelFlashGrey;
/** On colour of the panels' action buttons, the same in both themes. */
extern const juce::Colour qelFlashOrange;

/** True while the dark palette is the one in use. */
bool qelIsDarkTheme();
