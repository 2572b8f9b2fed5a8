#pragma once

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The export panel over the editor. Only its place in the editor exists so
    far: it stays hidden and has no behaviour. */
class ExportPanel : public juce::Component
{
public:
    explicit ExportPanel (QuillaneAudioProcessor& processor);
    ~ExportPanel() override;

    QuillaneAudioProcessor& audioProcessor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ExportPanel)
};
