#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the framework's own widgets (menus, text fields, labels,
    call-out boxes): flat, in the current palette, in the embedded font. */
class QelLook : public juce::LookAndFeel_V4
{
public:
    QelLook();
    ~QelLook() override;

    /** Copies the current palette into the look's colours. */
    void applyTheme();

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;
    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                            const juce::String& shortcutKeyText, const juce::Drawable* icon,
                            const juce::Colour* textColour) override;
    juce::Font getPopupMenuFont() override;
    void drawPopupMenuUpDownArrow (juce::Graphics&, int width, int height, bool isScrollUpArrow) override;
    int getPopupMenuBorderSize() override;
    juce::Font getLabelFont (juce::Label&) override;
    void drawCallOutBoxBackground (juce::CallOutBox&, juce::Graphics&, const juce::Path&, juce::Image&) override;
    int getCallOutBoxBorderSize (const juce::CallOutBox&) override;

    juce::Typeface::Ptr typeface;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QelLook)
};
