#include "ExportWriter.h"

#include "PluginProcessor.h"
#include "editor/RowMapping.h"

ExportWriter::Result ExportWriter::writeFiles (QuillaneAudioProcessor& processor, const std::vector<int>& trackOrder,
                                               const juce::String& nameText, const juce::File& folder)
{
    Result result;
    if (processor.countLoadedSlots() == 0)
        return result;

    if (! folder.isDirectory())
        folder.createDirectory();

    const auto prefix = makePrefix (nameText);
    const auto length = processor.getTimelineLengthSamples();
    // Slot buffers hold int counts, so the longest one fits an int too.
    juce::AudioBuffer<float> out (exportChannelCount (processor), (int) length);

    for (int row = 0; row < QuillaneAudioProcessor::numSlots; ++row)
    {
        const auto slotIndex = RowMapping::slotForRow (trackOrder, row);
        if (slotIndex < 0 || slotIndex >= QuillaneAudioProcessor::numSlots)
            continue;
        const auto& slot = processor.slots[(size_t) slotIndex];
        if (! slot.loaded)
            continue;

        renderTrack (slot.buffer, exportGain (processor, slotIndex), out);
        const auto base = prefix + juce::String::charToString ((juce::juce_wchar) ('A' + row));
        const auto file = folder.getNonexistentChildFile (base, ".wav");
        if (processor.writeWav (out, file, slot.fileName))
            result.written.push_back (file);
        else
            result.failed.push_back (file);
    }
    return result;
}

ExportWriter::Result ExportWriter::writeFiles (QuillaneAudioProcessor& processor, const juce::File& folder)
{
    return writeFiles (processor, processor.blindOrder, processor.exportName, folder);
}

juce::String ExportWriter::makePrefix (const juce::String& nameText)
{
    const auto legal = juce::File::createLegalFileName (nameText.trim());
    return legal.isEmpty() ? juce::String() : legal + "_";
}

float ExportWriter::exportGain (const QuillaneAudioProcessor& processor, int slot)
{
    // The loudness field's masterGain is a listening level, not part of the match.
    if (! processor.matchActive.load())
        return 1.0f;
    return processor.trackGains[(size_t) slot].load() * processor.gainCeiling.load();
}

int ExportWriter::exportChannelCount (const QuillaneAudioProcessor& processor)
{
    int channels = 1;
    for (const auto& slot : processor.slots)
        if (slot.loaded)
            channels = std::max (channels, slot.buffer.getNumChannels());
    return channels;
}

void ExportWriter::renderTrack (const juce::AudioBuffer<float>& track, float gain, juce::AudioBuffer<float>& out)
{
    out.clear();
    const auto trackChannels = track.getNumChannels();
    const auto numSamples = std::min (track.getNumSamples(), out.getNumSamples());
    if (trackChannels == 0 || numSamples == 0)
        return;

    for (int c = 0; c < out.getNumChannels(); ++c)
        out.copyFrom (c, 0, track.getReadPointer (std::min (c, trackChannels - 1)), numSamples, gain);
}
