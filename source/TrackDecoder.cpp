#include "TrackDecoder.h"

#include <cmath>
#include <limits>
#include <new>

namespace
{
constexpr juce::int64 maxSampleCount = std::numeric_limits<int>::max();

// A compressed file cannot plausibly decode to more than this many samples per
// byte (silence in FLAC is the extreme case); a header claiming more is corrupt.
constexpr juce::int64 maxDecodedSamplesPerByte = 4096;

bool isUncompressedPcm (const juce::AudioFormatReader& reader)
{
    const auto name = reader.getFormatName();
    return name.startsWithIgnoreCase ("WAV") || name.startsWithIgnoreCase ("AIFF");
}

bool claimsMoreThanFileHolds (const juce::AudioFormatReader& reader, juce::int64 fileSize)
{
    const auto frames = reader.lengthInSamples;
    const auto channels = (juce::int64) reader.numChannels;
    if (isUncompressedPcm (reader))
    {
        const auto bytesPerFrame = channels * std::max (1, (int) reader.bitsPerSample / 8);
        return frames > fileSize / bytesPerFrame;
    }
    return frames > (fileSize * maxDecodedSamplesPerByte) / channels;
}
} // namespace

namespace TrackDecoder
{
std::optional<DecodedAudio> decodeFile (juce::AudioFormatManager& formatManager, const juce::File& file)
{
    if (! file.existsAsFile())
        return std::nullopt;

    std::unique_ptr<juce::AudioFormatReader> reader (formatManager.createReaderFor (file));
    if (reader == nullptr)
        return std::nullopt;

    const auto rate = reader->sampleRate;
    const auto length = reader->lengthInSamples;
    if (reader->numChannels < 1 || ! (rate >= minSampleRate && rate <= maxSampleRate) || length < 1
        || length > maxSampleCount || claimsMoreThanFileHolds (*reader, file.getSize()))
        return std::nullopt;

    DecodedAudio decoded;
    decoded.sampleRate = rate;
    try
    {
        decoded.buffer.setSize (std::min ((int) reader->numChannels, 2), (int) length);
    }
    catch (const std::bad_alloc&)
    {
        return std::nullopt;
    }

    reader->read (&decoded.buffer, 0, (int) length, 0, true, true);
    zeroNonFiniteSamples (decoded.buffer);
    return decoded;
}

juce::int64 resampledLength (juce::int64 sourceLength, double sourceRate, double targetRate)
{
    const auto ratio = sourceRate / targetRate;
    return (juce::int64) std::ceil ((double) sourceLength / ratio);
}

bool resample (const juce::AudioBuffer<float>& source, double sourceRate, double targetRate,
               juce::AudioBuffer<float>& dest)
{
    if (! (sourceRate > 0.0) || ! (targetRate > 0.0))
        return false;

    try
    {
        if (std::abs (sourceRate - targetRate) < 1.0)
        {
            dest.makeCopyOf (source);
            return true;
        }

        const auto newLength = resampledLength (source.getNumSamples(), sourceRate, targetRate);
        if (newLength < 0 || newLength > maxSampleCount)
            return false;

        juce::AudioBuffer<float> result (source.getNumChannels(), (int) newLength);
        result.clear();
        const auto ratio = sourceRate / targetRate;
        for (int c = 0; c < source.getNumChannels(); ++c)
        {
            juce::LagrangeInterpolator interpolator;
            // Told how many inputs exist: rounding can make the last output
            // want one past the end, which is then read as 0.
            interpolator.process (ratio, source.getReadPointer (c), result.getWritePointer (c), (int) newLength,
                                  source.getNumSamples(), 0);
        }
        dest = std::move (result);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

void zeroNonFiniteSamples (juce::AudioBuffer<float>& buffer)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
    {
        auto* samples = buffer.getWritePointer (c);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (samples[i]))
                samples[i] = 0.0f;
    }
}
} // namespace TrackDecoder
