#pragma once

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The stored-name decoding panel over the editor. Only its place in the editor exists so
    far: it stays hidden and has no behaviour. */
class DecodePanel : public juce::Component
{
public:
    explicit DecodePanel (QuillaneAudioProcessor& processor);
    ~DecodePanel() override;

    QuillaneAudioProcessor& audioProcessor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DecodePanel)
};
