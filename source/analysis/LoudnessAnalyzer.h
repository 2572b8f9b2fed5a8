#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

/** Integrated loudness (BS.1770 K-weighting, two-stage gating) and true peak
    (BS.1770-4 Annex 2 interpolation) of a whole buffer. Stateless: callable
    from any thread, as long as the caller keeps the buffer unchanged meanwhile.
    Both return -120 for "no value".
*/
struct LoudnessAnalyzer
{
    /** Polled every few tens of thousands of samples; true abandons the
        measurement (the result is then -120). */
    using ShouldStop = std::function<bool()>;

    static constexpr double noValue = -120.0;

    static double measureIntegratedLUFS (const juce::AudioBuffer<float>& buffer, double sampleRate,
                                         const ShouldStop& shouldStop = {});
    static double measureTruePeakDBTP (const juce::AudioBuffer<float>& buffer, double sampleRate,
                                       const ShouldStop& shouldStop = {});
};
