#include "SimpleButton.h"

#include "ThemeFont.h"

namespace
{
constexpr float cornerSize = 2.0f;
}

const juce::Colour SimpleButton::disabledColour { 0x739A9A9A };

SimpleButton::SimpleButton (const juce::String& name) : juce::Button (name) {}

SimpleButton::~SimpleButton() = default;

void SimpleButton::mouseDown (const juce::MouseEvent& e)
{
    // A context click must not press the button.
    if (e.mods.isPopupMenu())
        return;
    juce::Button::mouseDown (e);
}

void SimpleButton::mouseDoubleClick (const juce::MouseEvent&)
{
    if (onDoubleClick)
        onDoubleClick();
}

void SimpleButton::fillBox (juce::Graphics& g, juce::Rectangle<float> box) const
{
    if (squareCorners)
        g.fillRect (box);
    else
        g.fillRoundedRectangle (box, cornerSize);
}

void SimpleButton::paintDisabled (juce::Graphics& g, juce::Rectangle<float> box)
{
    g.setColour (disabledColour);
    if (! drawAsTriangle)
        fillBox (g, box);
    if (getButtonText().isNotEmpty())
    {
        g.setFont (juce::Font (qelThemeFont (textHeight)));
        g.drawText (getButtonText(), box, juce::Justification::centred, true);
    }
}

juce::Colour SimpleButton::chooseFill (bool highlighted, bool down)
{
    if (dimmed)
        return offColour;

    auto fill = offColour;
    if (getToggleState() || down)
        fill = onColour;
    else if (highlightOnHover && highlighted)
        fill = onColour;

    if (flashTicks > 0)
    {
        fill = flashColour;
        --flashTicks;
    }
    return fill;
}

void SimpleButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const juce::Rectangle<float> box (0.0f, 0.0f, w, h);

    if (! isEnabled())
    {
        paintDisabled (g, box);
        return;
    }

    const auto fill = chooseFill (highlighted, down);
    const bool fillVisible = ! fill.isTransparent();

    if (drawAsTriangle)
    {
        if (fillVisible)
        {
            juce::Path triangle;
            triangle.addTriangle (0.0f, 0.0f, w, h / 2.0f, 0.0f, h);
            g.setColour (fill);
            g.fillPath (triangle);
        }
    }
    else if (fillVisible)
    {
        g.setColour (fill);
        fillBox (g, box);
    }
    else if (! outlineColour.isTransparent())
    {
        g.setColour (outlineColour);
        if (squareCorners)
            g.drawRect (box, 1.0f);
        else
            g.drawRoundedRectangle (box, cornerSize, 1.0f);
    }

    if (getButtonText().isEmpty())
        return;

    auto textFill = textColour;
    if (! fillVisible && ! outlineColour.isTransparent())
        textFill = outlineColour;
    if (highlighted && highlightOnHover && ! hoverTextColour.isTransparent())
        textFill = hoverTextColour;

    g.setColour (textFill);
    g.setFont (juce::Font (qelThemeFont (textHeight)));
    g.drawText (getButtonText(), box, juce::Justification::centred, true);
}
