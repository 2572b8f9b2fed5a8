#include "LoudnessAnalyzer.h"

#include <array>
#include <cmath>
#include <vector>

namespace
{
constexpr int stopCheckInterval = 32768;

bool stopRequested (const LoudnessAnalyzer::ShouldStop& shouldStop)
{
    return shouldStop != nullptr && shouldStop();
}

struct Biquad
{
    double b0, b1, b2, a1, a2;
    double s1 = 0.0, s2 = 0.0;

    double process (double x) noexcept
    {
        const auto y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }
};

Biquad makeHighShelf (double rate)
{
    const auto K = std::tan (5284.0785786476281 / rate);
    const auto Q = 0.70717523695541962;
    const auto Vh = 1.5848647011308556;
    const auto Vb = 1.2587209302325617;
    const auto a0 = 1.0 + K / Q + K * K;
    return { (Vh + Vb * K / Q + K * K) / a0, 2.0 * (K * K - Vh) / a0, (Vh - Vb * K / Q + K * K) / a0,
             2.0 * (K * K - 1.0) / a0, (1.0 - K / Q + K * K) / a0 };
}

Biquad makeHighPass (double rate)
{
    const auto K = std::tan (119.8061151453059 / rate);
    const auto Q = 0.50032703732387729;
    const auto a0 = 1.0 + K / Q + K * K;
    return { 1.0 / a0, -2.0 / a0, 1.0 / a0, 2.0 * (K * K - 1.0) / a0, (1.0 - K / Q + K * K) / a0 };
}

double loudnessOf (double power) { return -0.691 + 10.0 * std::log10 (power + 1e-12); }

/** Per-block sums of the K-weighted signal's squares for one channel, added
    into blockPower. Works on hop-sized segments so the whole K-weighted signal
    never needs storing. Returns false when stopped. */
bool accumulateBlockPowers (const float* samples, juce::int64 length, double rate, juce::int64 blockLength,
                            juce::int64 hop, std::vector<double>& blockPower,
                            const LoudnessAnalyzer::ShouldStop& shouldStop)
{
    auto shelf = makeHighShelf (rate);
    auto highPass = makeHighPass (rate);
    const auto numBlocks = (juce::int64) blockPower.size();
    const auto segmentsPerBlock = blockLength / hop;
    const auto remainder = blockLength % hop;

    // Sum of squares per hop segment; a block is segmentsPerBlock whole
    // segments plus a partial one when the block length is not a multiple of
    // the hop, so the partial sums are tracked separately.
    std::vector<double> segmentSum ((size_t) (numBlocks + segmentsPerBlock + 1), 0.0);
    std::vector<double> partialSum ((size_t) (numBlocks + segmentsPerBlock + 1), 0.0);
    const auto measuredLength = (numBlocks - 1) * hop + blockLength;

    for (juce::int64 i = 0; i < measuredLength; ++i)
    {
        if (i % stopCheckInterval == 0 && stopRequested (shouldStop))
            return false;

        const auto y = highPass.process (shelf.process ((double) samples[i]));
        const auto segment = i / hop;
        const auto offset = i % hop;
        segmentSum[(size_t) segment] += y * y;
        if (offset < remainder)
            partialSum[(size_t) segment] += y * y;
    }
    juce::ignoreUnused (length);

    for (juce::int64 j = 0; j < numBlocks; ++j)
    {
        double sum = 0.0;
        for (juce::int64 k = 0; k < segmentsPerBlock; ++k)
            sum += segmentSum[(size_t) (j + k)];
        sum += partialSum[(size_t) (j + segmentsPerBlock)];
        blockPower[(size_t) j] += sum / (double) blockLength;
    }
    return true;
}

// ITU-R BS.1770-4 Annex 2 interpolation filter, phases 0 and 2; phases 1 and 3
// are these reversed.
constexpr std::array<double, 12> phase0 { 0.0017089843750, 0.0109863281250, -0.0196533203125, 0.0332031250000,
                                          -0.0594482421875, 0.1373291015625, 0.9721679687500, -0.1022949218750,
                                          0.0476074218750, -0.0266113281250, 0.0148925781250, -0.0083007812500 };
constexpr std::array<double, 12> phase2 { -0.0189208984375, 0.0330810546875, -0.0582275390625, 0.1015625000000,
                                          -0.2003173828125, 0.7797851562500, 0.4650878906250, -0.1665039062500,
                                          0.0891113281250, -0.0517578125000, 0.0292968750000, -0.0291748046875 };

std::array<std::array<double, 12>, 4> makePhases()
{
    std::array<std::array<double, 12>, 4> phases {};
    phases[0] = phase0;
    phases[2] = phase2;
    for (size_t k = 0; k < 12; ++k)
    {
        phases[1][k] = phase2[11 - k];
        phases[3][k] = phase0[11 - k];
    }
    return phases;
}
} // namespace

double LoudnessAnalyzer::measureIntegratedLUFS (const juce::AudioBuffer<float>& buffer, double sampleRate,
                                                const ShouldStop& shouldStop)
{
    const auto length = (juce::int64) buffer.getNumSamples();
    if (! (sampleRate > 0.0) || buffer.getNumChannels() < 1 || length < 1)
        return noValue;

    const auto blockLength = (juce::int64) std::round (0.4 * sampleRate);
    const auto hop = (juce::int64) std::round (0.1 * sampleRate);
    if (blockLength <= 0 || hop <= 0 || length < blockLength)
        return noValue;

    const auto numBlocks = (length - blockLength) / hop + 1;
    std::vector<double> blockPower ((size_t) numBlocks, 0.0);

    const auto measuredChannels = std::min (buffer.getNumChannels(), 2);
    for (int c = 0; c < measuredChannels; ++c)
        if (! accumulateBlockPowers (buffer.getReadPointer (c), length, sampleRate, blockLength, hop, blockPower,
                                     shouldStop))
            return noValue;

    // A mono track counts as the same signal on two channels.
    if (buffer.getNumChannels() == 1)
        for (auto& z : blockPower)
            z *= 2.0;

    double sum = 0.0;
    juce::int64 kept = 0;
    for (auto z : blockPower)
        if (loudnessOf (z) > -70.0)
        {
            sum += z;
            ++kept;
        }
    if (kept == 0)
        return noValue;

    const auto relativeGate = loudnessOf (sum / (double) kept) - 10.0;

    sum = 0.0;
    kept = 0;
    for (auto z : blockPower)
    {
        const auto l = loudnessOf (z);
        if (l > relativeGate && l > -70.0)
        {
            sum += z;
            ++kept;
        }
    }
    if (kept == 0)
        return noValue;

    return loudnessOf (sum / (double) kept);
}

double LoudnessAnalyzer::measureTruePeakDBTP (const juce::AudioBuffer<float>& buffer, double sampleRate,
                                              const ShouldStop& shouldStop)
{
    const auto length = buffer.getNumSamples();
    if (buffer.getNumChannels() < 1 || length < 1)
        return noValue;

    static const auto phases = makePhases();
    std::array<int, 4> active { 0, 1, 2, 3 };
    int numActive = 4;
    if (sampleRate >= 176000.0)
        numActive = 0;
    else if (sampleRate >= 88000.0)
    {
        active = { 0, 2, 0, 0 };
        numActive = 2;
    }

    float maximum = 0.0f;
    for (int c = 0; c < buffer.getNumChannels(); ++c)
    {
        const auto* x = buffer.getReadPointer (c);
        std::array<float, 16> history {}; // ring of the latest inputs, newest at 'head'
        int head = 0;

        for (int n = 0; n < length; ++n)
        {
            if (n % stopCheckInterval == 0 && stopRequested (shouldStop))
                return noValue;

            head = (head + 1) & 15;
            history[(size_t) head] = x[n];
            maximum = std::max (maximum, std::abs (x[n]));

            for (int a = 0; a < numActive; ++a)
            {
                const auto& h = phases[(size_t) active[(size_t) a]];
                double y = 0.0;
                for (int k = 0; k < 12; ++k)
                    y += h[(size_t) k] * (double) history[(size_t) ((head - k) & 15)];
                maximum = std::max (maximum, std::abs ((float) y));
            }
        }
    }

    return maximum > 0.0f ? 20.0 * std::log10 ((double) maximum) : noValue;
}
