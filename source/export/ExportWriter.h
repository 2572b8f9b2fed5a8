#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <vector>

class QuillaneAudioProcessor;

/** Writes the loaded tracks as one stored-name WAV file per row, named by the
    letter the listener sees. Message thread: it reads the slot buffers, which
    only the message thread replaces.
*/
struct ExportWriter
{
    struct Result
    {
        std::vector<juce::File> written; // in row order
        std::vector<juce::File> failed;  // files that writeWav refused; none of them exists
    };

    /** Writes every loaded row into folder (created when missing), never
        overwriting a file. trackOrder maps rows to slots while it holds ten
        entries; nameText is the optional name put before every letter. */
    static Result writeFiles (QuillaneAudioProcessor& processor, const std::vector<int>& trackOrder,
                              const juce::String& nameText, const juce::File& folder);

    /** The same with the processor's own blind order and export name. */
    static Result writeFiles (QuillaneAudioProcessor& processor, const juce::File& folder);

    /** "" for a name that is empty once trimmed and made legal, else that name and "_". */
    static juce::String makePrefix (const juce::String& nameText);

    /** The slot's match gain times the ceiling while the match is on, else 1. */
    static float exportGain (const QuillaneAudioProcessor& processor, int slot);

    /** The largest channel count among loaded tracks, at least 1. */
    static int exportChannelCount (const QuillaneAudioProcessor& processor);

    /** Fills out (its size already set) with track times gain from its start,
        channel c taking track channel min(c, last); the rest stays silent. */
    static void renderTrack (const juce::AudioBuffer<float>& track, float gain, juce::AudioBuffer<float>& out);
};
