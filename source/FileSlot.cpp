#include "FileSlot.h"

void FileSlot::clear()
{
    sourceBuffer.setSize (0, 0);
    sourceSampleRate = 0.0;
    buffer.setSize (0, 0);
    fileName.clear();
    loaded = false;
    peaks.clear();
    peaks.shrink_to_fit();
    lufs = noValue;
    truePeakDb = noValue;
    matchGainDb = 0.0;
}

void FileSlot::buildPeaks()
{
    peaks.assign (numPeaks, 0.0f);
    const auto length = (juce::int64) buffer.getNumSamples();
    if (buffer.getNumChannels() < 1 || length < 1)
        return;

    for (int b = 0; b < numPeaks; ++b)
    {
        const auto start = (int) ((juce::int64) b * length / numPeaks);
        const auto end = (int) ((juce::int64) (b + 1) * length / numPeaks);
        float peak = 0.0f;
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            for (int i = start; i < end; ++i)
                peak = std::max (peak, std::abs (buffer.getSample (c, i)));
        peaks[(size_t) b] = peak;
    }
}
