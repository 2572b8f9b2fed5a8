#include "ThemeFont.h"

#include "EmbeddedFont.h"

juce::Typeface::Ptr makeEmbeddedTypeface()
{
    return juce::Typeface::createSystemTypefaceFor (quillane::embedded::jostRegular,
                                                    (size_t) quillane::embedded::jostRegularSize);
}

juce::FontOptions qelThemeFont (float height)
{
    // Made once and kept to process exit: every paint asks for the font.
    static const juce::Typeface::Ptr typeface = makeEmbeddedTypeface();
    return juce::FontOptions (typeface).withHeight (height).withKerningFactor (0.019f);
}
