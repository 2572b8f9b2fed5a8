#pragma once

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The analysis status box over the editor. Only its place in the editor
    exists so far: it stays hidden and draws nothing. */
class StatusOverlay : public juce::Component
{
public:
    explicit StatusOverlay (QuillaneAudioProcessor& processor);
    ~StatusOverlay() override;

    QuillaneAudioProcessor& audioProcessor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusOverlay)
};
