#pragma once

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

class QuillaneAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit QuillaneAudioProcessorEditor (QuillaneAudioProcessor& p);

private:
    QuillaneAudioProcessor& audioProcessor;
};
