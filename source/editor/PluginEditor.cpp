#include "PluginEditor.h"

QuillaneAudioProcessorEditor::QuillaneAudioProcessorEditor (QuillaneAudioProcessor& p)
    : AudioProcessorEditor (p), audioProcessor (p)
{
    setSize (739, 300);
}
