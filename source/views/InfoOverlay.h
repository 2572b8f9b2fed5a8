#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The hover help text, drawn at the bottom left of its area. Passive: the
    editor sets the text and never lets it take a click. */
class InfoOverlay : public juce::Component
{
public:
    InfoOverlay();
    ~InfoOverlay() override;

    void paint (juce::Graphics&) override;

    juce::String text;
    float fontHeight = 16.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InfoOverlay)
};
