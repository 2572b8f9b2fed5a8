#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <optional>

/** A whole audio file decoded to float: at most two channels, every sample finite. */
struct DecodedAudio
{
    juce::AudioBuffer<float> buffer;
    double sampleRate = 0.0;
};

/** Decoding and resampling of whole tracks, shared by the processor and the
    command-line tools. Pure functions of their arguments; any thread, as long
    as formatManager is not modified meanwhile.
*/
namespace TrackDecoder
{
/** Sample rates outside this range are refused as corrupt headers. */
constexpr double minSampleRate = 1000.0;
constexpr double maxSampleRate = 1536000.0;

/** Decodes the file, or returns nothing when it cannot be read, claims more
    audio than the file can hold, or does not fit a 32-bit sample count. */
std::optional<DecodedAudio> decodeFile (juce::AudioFormatManager& formatManager, const juce::File& file);

/** Length of a source of sourceLength samples resampled from sourceRate to
    targetRate, in 64 bits (it may not fit an int). */
juce::int64 resampledLength (juce::int64 sourceLength, double sourceRate, double targetRate);

/** Resamples source (at sourceRate) to targetRate with a fresh 5-point Lagrange
    interpolator per channel. Rates within 1 Hz copy sample for sample. Returns
    false, leaving dest untouched, when the result would not fit a 32-bit
    count or cannot be allocated. */
bool resample (const juce::AudioBuffer<float>& source, double sourceRate, double targetRate,
               juce::AudioBuffer<float>& dest);

/** Replaces NaN and infinite samples with 0. */
void zeroNonFiniteSamples (juce::AudioBuffer<float>& buffer);
} // namespace TrackDecoder
