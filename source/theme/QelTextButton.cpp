#include "QelTextButton.h"

#include "ThemeFont.h"

QelTextButton::QelTextButton (const juce::String& name) : juce::Button (name) {}

QelTextButton::~QelTextButton() = default;

void QelTextButton::paintButton (juce::Graphics& g, bool, bool)
{
    g.setColour (colour);
    g.setFont (juce::Font (qelThemeFont (fontHeight)));
    g.drawText (getButtonText(), getLocalBounds(), justification, true);
}
