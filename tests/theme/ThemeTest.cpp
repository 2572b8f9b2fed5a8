#include "GuiDriver.h"
#include "theme/QelLook.h"
#include "theme/ThemeFont.h"
#include "theme/ThemePalette.h"

#include <gtest/gtest.h>

namespace
{
/** Restores the process-wide palette after a test that switches it. */
struct ThemeScope
{
    explicit ThemeScope (const ThemePalette& palette) { qelCurrentTheme = &palette; }
    ~ThemeScope() { qelCurrentTheme = &qelLight; }
};

const juce::uint32 lightEntries[] = { 0xFFDCD9D5, 0xFF2B2B2B, 0x992B2B2B, 0x00000000, 0xFF2B2B2B,
                                      0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0x00000000,
                                      0xFF2B2B2B, 0xFF2B2B2B, 0xFF2B2B2B, 0x00000000, 0xFFB95D26,
                                      0xFF2B2B2B, 0xFF2B2B2B, 0xFFB95D26, 0xFFB95D26, 0xFF2B2B2B };
const juce::uint32 darkEntries[] = { 0xFF1A1A1A, 0xFF8F8A82, 0xB28F8A82, 0xFF3B3938, 0xFF8C8982,
                                     0x00000000, 0xFFC6C1B7, 0xFF3E5173, 0xFF7B8392, 0x00000000,
                                     0xFF464441, 0xFF8C8982, 0xFF8F8A82, 0xFF464441, 0xFF6E4B35,
                                     0xFF464441, 0xFF464441, 0xFF6E4B35, 0xFF6E4B35, 0xFF6E4B35 };
} // namespace

TEST (ThemePalette, BothPalettesHoldTheirTwentyEntriesInOrder)
{
    for (int i = 0; i < ThemePalette::numEntries; ++i)
    {
        EXPECT_EQ (qelLight[i].getARGB(), lightEntries[i]) << "light entry " << i;
        EXPECT_EQ (qelDark[i].getARGB(), darkEntries[i]) << "dark entry " << i;
    }
    EXPECT_EQ (qelFlashGrey.getARGB(), 0xFF9A9A9Au);
    EXPECT_EQ (qelFlashOrange.getARGB(), 0xFFB95D26u);
}

TEST (ThemePalette, TheDarkTestFollowsTheCurrentPalette)
{
    EXPECT_FALSE (qelIsDarkTheme());
    const ThemeScope dark (qelDark);
    EXPECT_TRUE (qelIsDarkTheme());
}

TEST (ThemeFont, IsTheEmbeddedJostAtTheAskedHeightWithItsKerning)
{
    const auto options = qelThemeFont (23.5f);
    ASSERT_NE (options.getTypeface(), nullptr);
    EXPECT_EQ (options.getTypeface()->getName(), "Jost");
    EXPECT_FLOAT_EQ (options.getHeight(), 23.5f);
    EXPECT_FLOAT_EQ (options.getKerningFactor(), 0.019f);
    // One typeface for the whole process.
    EXPECT_EQ (qelThemeFont (10.0f).getTypeface(), options.getTypeface());

    const juce::Font font (options);
    EXPECT_GT (juce::GlyphArrangement::getStringWidth (font, "QUILLANE"), 0.0f);
}

TEST (QelLook, ApplyThemeCopiesTheCurrentPaletteIntoTheLook)
{
    for (const auto* palette : { &qelLight, &qelDark })
    {
        const ThemeScope scope (*palette);
        QelLook look;
        const auto& p = *palette;
        const std::pair<int, juce::Colour> expected[] = {
            { juce::ResizableWindow::backgroundColourId, p[0] },
            { juce::Label::textColourId, p[1] },
            { juce::Label::outlineColourId, juce::Colours::transparentBlack },
            { juce::TextEditor::textColourId, p[1] },
            { juce::TextEditor::backgroundColourId, p[9] },
            { juce::TextEditor::outlineColourId, p[10] },
            { juce::TextEditor::highlightColourId, p[1].withAlpha ((juce::uint8) 0x33) },
            { juce::PopupMenu::backgroundColourId, p[0] },
            { juce::PopupMenu::textColourId, p[1] },
            { juce::PopupMenu::highlightedBackgroundColourId, p[1] },
            { juce::PopupMenu::highlightedTextColourId, p[0] },
        };
        for (const auto& [id, colour] : expected)
            EXPECT_EQ (look.findColour (id).getARGB(), colour.getARGB()) << "colour id " << id;
    }
}

TEST (QelLook, EveryFontAndLabelUsesTheEmbeddedTypeface)
{
    QelLook look;
    ASSERT_NE (look.typeface, nullptr);
    EXPECT_EQ (look.typeface->getName(), "Jost");
    const juce::Font other (juce::FontOptions ("Some Other Family", 12.0f, juce::Font::bold));
    EXPECT_EQ (look.getTypefaceForFont (other), look.typeface);

    juce::Label label;
    EXPECT_FLOAT_EQ (look.getLabelFont (label).getHeight(), 16.0f);
    EXPECT_FLOAT_EQ (look.getPopupMenuFont().getHeight(), 20.0f);
    EXPECT_EQ (look.getPopupMenuBorderSize(), 1);
}

TEST (QelLook, HighlightedMenuItemsAreInvertedAndInactiveTextIsHalfTransparent)
{
    QelLook look;
    const juce::Rectangle<int> area (0, 0, 200, 30);
    const auto itemImage = [&look, &area] (bool active, bool highlighted, bool ticked, bool subMenu) {
        juce::Image image (juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
        juce::Graphics g (image);
        look.drawPopupMenuItem (g, area, false, active, highlighted, ticked, subMenu, "Item", {}, nullptr, nullptr);
        return image;
    };

    const auto highlighted = itemImage (true, true, true, true);
    EXPECT_EQ (highlighted.getPixelAt (150, 2).getARGB(), qelLight[1].getARGB());
    // The tick: a 6 x 6 square at (8, h/2 - 3) in the text colour (entry 0 when highlighted).
    EXPECT_EQ (highlighted.getPixelAt (10, 14).getARGB(), qelLight[0].getARGB());
    // The sub-menu arrow starts at x + w - 15.
    EXPECT_EQ (highlighted.getPixelAt (186, 15).getARGB(), qelLight[0].getARGB());

    const auto plain = itemImage (false, false, true, false);
    EXPECT_EQ (plain.getPixelAt (150, 2).getARGB(), qelLight[0].getARGB());
    const auto tick = plain.getPixelAt (10, 14);
    // Half transparent text colour over the background.
    EXPECT_TRUE (gui::nearlySameColour (tick.getARGB(),
                                        qelLight[0].overlaidWith (qelLight[1].withAlpha ((juce::uint8) 0x80)).getARGB()));
}

TEST (QelLook, ASeparatorIsAFaintLineTenPixelsInFromBothSides)
{
    QelLook look;
    juce::Image image (juce::Image::ARGB, 100, 11, true);
    {
        juce::Graphics g (image);
        look.drawPopupMenuItem (g, { 0, 0, 100, 11 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
    }
    // h = 11: the line covers y 4.5 .. 5.5, so rows 4 and 5 each get half of it.
    EXPECT_EQ (image.getPixelAt (9, 5).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (10, 5).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (89, 5).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (90, 5).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (50, 2).getAlpha(), 0);
    EXPECT_LE (image.getPixelAt (50, 5).getAlpha(), 0x33);
}

TEST (QelLook, ACallOutBoxIsAFlatRectangleInTheBackgroundColour)
{
    const ThemeScope dark (qelDark);
    QelLook look;
    juce::Component parent;
    parent.setSize (300, 300);
    juce::Label content;
    content.setSize (40, 20);
    juce::CallOutBox box (content, { 100, 100, 10, 10 }, &parent);
    box.setSize (60, 40);
    EXPECT_EQ (look.getCallOutBoxBorderSize (box), 0);

    juce::Image image (juce::Image::ARGB, 60, 40, true);
    juce::Graphics g (image);
    juce::Image cache;
    look.drawCallOutBoxBackground (box, g, juce::Path(), cache);
    for (const auto& point : { juce::Point<int> (0, 0), { 59, 39 }, { 30, 20 } })
        EXPECT_EQ (image.getPixelAt (point.x, point.y).getARGB(), qelDark[0].getARGB());
}
