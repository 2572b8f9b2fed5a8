// The processor's stored-name operations: the file format lives in
// StoredNameWav, the processor only supplies its rate and its formats.
#include "PluginProcessor.h"
#include "export/StoredNameWav.h"

bool QuillaneAudioProcessor::writeWav (const juce::AudioBuffer<float>& buffer, const juce::File& file,
                                       const juce::String& originalName)
{
    return StoredNameWav::writeWav (buffer, hostSampleRate, file, originalName);
}

juce::String QuillaneAudioProcessor::readStoredName (const juce::File& file)
{
    return StoredNameWav::readStoredName (file, formatManager);
}
