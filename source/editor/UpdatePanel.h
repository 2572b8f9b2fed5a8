#pragma once

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The update notice over the editor. Only its place in the editor exists so
    far: it stays hidden and has no behaviour. */
class UpdatePanel : public juce::Component
{
public:
    explicit UpdatePanel (QuillaneAudioProcessor& processor);
    ~UpdatePanel() override;

    QuillaneAudioProcessor& audioProcessor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdatePanel)
};
