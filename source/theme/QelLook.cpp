#include "QelLook.h"

#include "ThemeFont.h"
#include "ThemePalette.h"

QelLook::QelLook() : typeface (makeEmbeddedTypeface())
{
    applyTheme();
}

QelLook::~QelLook() = default;

void QelLook::applyTheme()
{
    const auto& p = *qelCurrentTheme;
    setColour (juce::ResizableWindow::backgroundColourId, p[0]);
    setColour (juce::Label::textColourId, p[1]);
    setColour (juce::Label::outlineColourId, juce::Colours::transparentBlack);
    setColour (juce::TextEditor::textColourId, p[1]);
    setColour (juce::TextEditor::backgroundColourId, p[9]);
    setColour (juce::TextEditor::outlineColourId, p[10]);
    setColour (juce::TextEditor::highlightColourId, p[1].withAlpha ((juce::uint8) 0x33));
    setColour (juce::PopupMenu::backgroundColourId, p[0]);
    setColour (juce::PopupMenu::textColourId, p[1]);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, p[1]);
    setColour (juce::PopupMenu::highlightedTextColourId, p[0]);
}

juce::Typeface::Ptr QelLook::getTypefaceForFont (const juce::Font&)
{
    return typeface;
}

void QelLook::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll ((*qelCurrentTheme)[0]);
}

void QelLook::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                                 bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                                 const juce::String& text, const juce::String&, const juce::Drawable*,
                                 const juce::Colour*)
{
    const auto x = (float) area.getX();
    const auto y = (float) area.getY();
    const auto w = (float) area.getWidth();
    const auto h = (float) area.getHeight();
    const auto halfH = (float) (area.getHeight() / 2);

    if (isSeparator)
    {
        g.setColour ((*qelCurrentTheme)[10].withAlpha ((juce::uint8) 0x33));
        g.fillRect (juce::Rectangle<float> (x + 10.0f, y + halfH - 0.5f, w - 20.0f, 1.0f));
        return;
    }

    const auto background = findColour (isHighlighted ? juce::PopupMenu::highlightedBackgroundColourId
                                                       : juce::PopupMenu::backgroundColourId);
    auto textColour = findColour (isHighlighted ? juce::PopupMenu::highlightedTextColourId
                                                : juce::PopupMenu::textColourId);
    if (! isActive)
        textColour = textColour.withAlpha ((juce::uint8) 0x80);

    g.setColour (background);
    g.fillRect (area);
    g.setColour (textColour);
    g.setFont (getPopupMenuFont());
    g.drawText (text, juce::Rectangle<float> (x + 20.0f, y, juce::jmax (0.0f, w - 35.0f), h),
                juce::Justification::centredLeft, true);

    if (isTicked)
        g.fillRect (juce::Rectangle<float> (x + 8.0f, y + halfH - 3.0f, 6.0f, 6.0f));

    if (hasSubMenu)
    {
        juce::Path arrow;
        arrow.addTriangle (0.0f, 0.0f, 0.0f, 10.0f, 6.0f, 5.0f);
        g.fillPath (arrow, juce::AffineTransform::translation (x + w - 15.0f, y + halfH - 5.0f));
    }
}

juce::Font QelLook::getPopupMenuFont()
{
    return juce::Font (juce::FontOptions (typeface).withHeight (20.0f).withKerningFactor (0.019f));
}

void QelLook::drawPopupMenuUpDownArrow (juce::Graphics&, int, int, bool) {}

int QelLook::getPopupMenuBorderSize() { return 1; }

juce::Font QelLook::getLabelFont (juce::Label&)
{
    return juce::Font (qelThemeFont (16.0f));
}

void QelLook::drawCallOutBoxBackground (juce::CallOutBox& box, juce::Graphics& g, const juce::Path&, juce::Image&)
{
    g.setColour ((*qelCurrentTheme)[0]);
    g.fillRect (0, 0, box.getWidth(), box.getHeight());
}

int QelLook::getCallOutBoxBorderSize (const juce::CallOutBox&) { return 0; }
