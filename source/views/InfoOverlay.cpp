#include "InfoOverlay.h"

#include "theme/ThemeFont.h"
#include "theme/ThemePalette.h"

InfoOverlay::InfoOverlay()
{
    setInterceptsMouseClicks (false, false);
}

InfoOverlay::~InfoOverlay() = default;

void InfoOverlay::paint (juce::Graphics& g)
{
    if (text.isEmpty())
        return;

    g.setColour (qelIsDarkTheme() ? qelDark[1] : (*qelCurrentTheme)[14]);
    g.setFont (juce::Font (qelThemeFont (fontHeight)));
    g.drawFittedText (text, getLocalBounds(), juce::Justification::bottomLeft, 4);
}
