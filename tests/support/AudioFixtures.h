#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>

/** Real audio files and buffers for tests. */
namespace fixtures
{
/** A fresh folder under the system temp folder, deleted with the object. */
struct TempFolder
{
    TempFolder();
    ~TempFolder();
    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }
    juce::File folder;
};

/** channels x length samples, sample i of channel c = f (c, i). */
juce::AudioBuffer<float> makeBuffer (int channels, int length, const std::function<float (int, int)>& f);

/** A sine of the given amplitude, frequency and phase (radians) on every channel. */
juce::AudioBuffer<float> makeSine (int channels, int length, double rate, double frequency, double amplitude,
                                   double phase = 0.0);

/** Writes buffer through the named JUCE format ("WAV", "AIFF", "FLAC", "Ogg").
    bitsPerSample 32 with WAV writes float samples. Returns false on failure. */
bool writeAudioFile (const juce::File& file, const juce::AudioBuffer<float>& buffer, double rate,
                     const juce::String& format = "WAV", int bitsPerSample = 24,
                     const juce::StringPairArray& metadata = {});
} // namespace fixtures
