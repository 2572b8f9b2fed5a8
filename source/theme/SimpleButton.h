#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A flat button: a filled box (or a right-pointing triangle) with centred
    text. Owners set the members directly and repaint. */
class SimpleButton : public juce::Button
{
public:
    explicit SimpleButton (const juce::String& name);
    ~SimpleButton() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    static const juce::Colour disabledColour;

    juce::Colour onColour { 0xFF808080 };
    juce::Colour offColour { 0xFF555555 };
    juce::Colour outlineColour { juce::Colours::transparentBlack };
    juce::Colour textColour { 0xFFFFFFFF };
    float textHeight = 13.0f;
    bool squareCorners = false;
    bool drawAsTriangle = false;
    bool highlightOnHover = false;
    juce::Colour hoverTextColour { juce::Colours::transparentBlack };
    /** Always drawn in offColour; a pending flash waits until this is cleared. */
    bool dimmed = false;
    /** Paints still to come that show flashColour. */
    int flashTicks = 0;
    juce::Colour flashColour { juce::Colours::transparentBlack };
    std::function<void()> onDoubleClick;

private:
    juce::Colour chooseFill (bool highlighted, bool down);
    void paintDisabled (juce::Graphics&, juce::Rectangle<float> box);
    void fillBox (juce::Graphics&, juce::Rectangle<float> box) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleButton)
};
