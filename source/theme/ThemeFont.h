#pragma once

#include <juce_graphics/juce_graphics.h>

/** The interface font (the embedded Jost Regular) at a height. Every text of
    the plug-in is drawn with it. */
juce::FontOptions qelThemeFont (float height);

/** A new typeface over the embedded font data. */
juce::Typeface::Ptr makeEmbeddedTypeface();
