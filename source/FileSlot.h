#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <vector>

/** One track. Buffers, name, flag and peaks change only on the message thread
    while the processor's audioLock is held and no analysis job runs; the audio
    thread reads them under a try-lock. The three measurements are atomics
    because the analysis thread writes them while the editor reads them.
*/
struct FileSlot
{
    static constexpr double noValue = -120.0;
    static constexpr int numPeaks = 512;

    juce::AudioBuffer<float> sourceBuffer;
    double sourceSampleRate = 0.0;
    juce::AudioBuffer<float> buffer;
    juce::String fileName;
    bool loaded = false;
    std::vector<float> peaks;
    std::atomic<double> lufs { noValue };
    std::atomic<double> truePeakDb { noValue };
    std::atomic<double> matchGainDb { 0.0 };

    /** Back to the empty values, releasing the audio memory. Message thread. */
    void clear();

    /** Fills peaks from buffer: the largest absolute value of each of 512 equal ranges. */
    void buildPeaks();
};
