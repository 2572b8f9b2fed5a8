#include "ThemePalette.h"

namespace
{
ThemePalette makePalette (std::array<juce::uint32, ThemePalette::numEntries> argb)
{
    ThemePalette palette;
    for (size_t i = 0; i < argb.size(); ++i)
        palette.entries[i] = juce::Colour (argb[i]);
    return palette;
}
} // namespace

const ThemePalette qelLight = makePalette ({
    0xFFDCD9D5, 0xFF2B2B2B, 0x992B2B2B, 0x00000000, 0xFF2B2B2B,
    0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0x00000000,
    0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0x00000000, 0xFFB95D26,
    0xFF2B2B2B, 0xFF2B2B2B, 0xFFB95D26, 0xFFB95D26, 0xFF2B2B2B,
});

const ThemePalette qelDark = makePalette ({
    0xFF1A1A1A, 0xFF8F8A82, 0xB28F8A82, 0xFF3B3938, 0xFF8C8982,
    0x00000000, 0xFFC6C1B7, 0xFF3E5173, 0xFF7B8392, 0x00000000,
    0xFF464441, 0xFF8C8982, 0xFF8F8A82, 0xFF464441, 0xFF6E4B35,
    0xFF464441, 0xFF464441, 0xFF6E4B35, 0xFF6E4B35, 0xFF6E4B35,
});

const ThemePalette* qelCurrentTheme = &qelLight;

const juce::Colour qelFlashGrey { 0xFF9A9A9A };
const juce::Colour qelFlashOrange { 0xFFB95D26 };

bool qelIsDarkTheme() { return qelCurrentTheme == &qelDark; }
