#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The playhead line over the lanes. Only its place in the editor exists so
    far: it is kept hidden, so it neither draws nor takes clicks. */
class PlayheadOverlay : public juce::Component
{
public:
    PlayheadOverlay();
    ~PlayheadOverlay() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PlayheadOverlay)
};
