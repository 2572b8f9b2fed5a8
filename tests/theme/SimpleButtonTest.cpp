#include "GuiDriver.h"
#include "theme/QelTextButton.h"
#include "theme/SimpleButton.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour on { 0xFF112233 };
const juce::Colour off { 0xFF445566 };
const juce::Colour outline { 0xFF778899 };
const juce::Colour flash { 0xFFAA0000 };

struct ButtonFixture
{
    ButtonFixture()
    {
        button.onColour = on;
        button.offColour = off;
        button.outlineColour = outline;
        button.squareCorners = true;
        button.setSize (40, 20);
    }

    juce::uint32 centre() { return gui::argbAt (gui::paintOnce (button), 20, 10); }

    SimpleButton button { "" };
};
} // namespace

TEST (SimpleButton, FillFollowsToggleDimmedAndEnabledState)
{
    struct Case
    {
        const char* what;
        bool toggled, dimmed, enabled;
        juce::uint32 expected;
    };
    const Case cases[] = {
        { "off", false, false, true, off.getARGB() },
        { "toggled on", true, false, true, on.getARGB() },
        { "dimmed while on", true, true, true, off.getARGB() },
        { "disabled", true, false, false, SimpleButton::disabledColour.getARGB() },
    };
    for (const auto& c : cases)
    {
        ButtonFixture f;
        f.button.setToggleState (c.toggled, juce::dontSendNotification);
        f.button.dimmed = c.dimmed;
        f.button.setEnabled (c.enabled);
        EXPECT_TRUE (gui::nearlySameColour (f.centre(), c.expected)) << c.what;
    }
}

TEST (SimpleButton, AFlashLastsAsManyPaintsAsItsTicks)
{
    ButtonFixture f;
    f.button.flashColour = flash;
    f.button.flashTicks = 4;
    for (int paint = 0; paint < 4; ++paint)
        EXPECT_EQ (f.centre(), flash.getARGB()) << "paint " << paint;
    EXPECT_EQ (f.centre(), off.getARGB());
    EXPECT_EQ (f.button.flashTicks, 0);
}

TEST (SimpleButton, ADimmedButtonKeepsItsFlashForLater)
{
    ButtonFixture f;
    f.button.flashColour = flash;
    f.button.flashTicks = 4;
    f.button.dimmed = true;
    EXPECT_EQ (f.centre(), off.getARGB());
    EXPECT_EQ (f.centre(), off.getARGB());
    EXPECT_EQ (f.button.flashTicks, 4);
    f.button.dimmed = false;
    EXPECT_EQ (f.centre(), flash.getARGB());
    EXPECT_EQ (f.button.flashTicks, 3);
}

TEST (SimpleButton, ATransparentFillShowsAOnePixelOutlineAndOutlineText)
{
    ButtonFixture f;
    f.button.offColour = juce::Colours::transparentBlack;
    f.button.textColour = juce::Colours::white;
    f.button.setButtonText ("W");
    f.button.textHeight = 18.0f;
    const auto image = gui::paintOnce (f.button);
    EXPECT_EQ (gui::argbAt (image, 0, 10), outline.getARGB());
    EXPECT_EQ (gui::argbAt (image, 39, 10), outline.getARGB());
    EXPECT_EQ (gui::argbAt (image, 20, 0), outline.getARGB());
    EXPECT_EQ (image.getPixelAt (2, 2).getAlpha(), 0);

    // The text is drawn in the outline colour, never in white.
    bool outlineText = false;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 38; ++x)
        {
            const auto pixel = image.getPixelAt (x, y);
            EXPECT_FALSE (pixel.getRed() > 0xC0 && pixel.getAlpha() > 0x40) << x << "," << y;
            outlineText = outlineText || pixel.getARGB() == outline.getARGB();
        }
    EXPECT_TRUE (outlineText);
}

TEST (SimpleButton, ATriangleFillsOnlyItsTriangleAndDisabledDrawsNothing)
{
    ButtonFixture f;
    f.button.drawAsTriangle = true;
    f.button.setSize (30, 30);
    auto image = gui::paintOnce (f.button);
    EXPECT_EQ (gui::argbAt (image, 3, 15), off.getARGB());
    EXPECT_EQ (image.getPixelAt (28, 2).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (28, 28).getAlpha(), 0);

    f.button.setEnabled (false);
    image = gui::paintOnce (f.button);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ (image.getPixelAt (x, y).getAlpha(), 0) << x << "," << y;
}

TEST (SimpleButton, ARightClickDoesNotPressAndADoubleClickRunsItsAction)
{
    ButtonFixture f;
    int clicks = 0, doubleClicks = 0;
    f.button.onClick = [&] { ++clicks; };
    f.button.onDoubleClick = [&] { ++doubleClicks; };
    gui::showWindow (f.button);

    gui::click (f.button, { 20, 10 }, {}, true);
    EXPECT_EQ (clicks, 0);
    gui::click (f.button, { 20, 10 });
    EXPECT_EQ (clicks, 1);
    gui::doubleClick (f.button, { 20, 10 });
    EXPECT_EQ (doubleClicks, 1);
    // The single clicks of a double-click still arrive.
    EXPECT_EQ (clicks, 3);
}

TEST (QelTextButton, DrawsOnlyItsTextInItsColour)
{
    QelTextButton title ("QUILLANE");
    title.colour = juce::Colour (0xFF2B2B2B);
    title.fontHeight = 24.0f;
    title.setSize (200, 40);
    const auto image = gui::paintOnce (title);
    int inked = 0, other = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
        {
            const auto pixel = image.getPixelAt (x, y);
            // Anti-aliased edges are stored premultiplied, so their colour reads back rounded.
            if (pixel.getAlpha() < 0xFF)
                continue;
            if (pixel.getARGB() == 0xFF2B2B2B)
                ++inked;
            else
                ++other;
        }
    EXPECT_GT (inked, 50);
    EXPECT_EQ (other, 0);
    // centredLeft by default: the text starts at the left edge.
    EXPECT_GT (image.getPixelAt (1, 20).getAlpha() + image.getPixelAt (3, 20).getAlpha(), 0);
}
