#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Plain text as a button, without background or pressed look (the title). */
class QelTextButton : public juce::Button
{
public:
    explicit QelTextButton (const juce::String& name);
    ~QelTextButton() override;

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    float fontHeight = 16.0f;
    juce::Colour colour { 0xFFFFFFFF };
    juce::Justification justification { juce::Justification::centredLeft };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QelTextButton)
};
