#include "AudioFixtures.h"
#include "analysis/LoudnessAnalyzer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double pi = juce::MathConstants<double>::pi;

double lufs (const juce::AudioBuffer<float>& b, double rate) { return LoudnessAnalyzer::measureIntegratedLUFS (b, rate); }
double truePeak (const juce::AudioBuffer<float>& b, double rate) { return LoudnessAnalyzer::measureTruePeakDBTP (b, rate); }

juce::AudioBuffer<float> sineOn (int channels, std::initializer_list<int> active, double seconds, double rate,
                                 double frequency, double amplitude)
{
    auto b = fixtures::makeSine (channels, (int) (seconds * rate), rate, frequency, amplitude);
    for (int c = 0; c < channels; ++c)
        if (std::find (active.begin(), active.end(), c) == active.end())
            b.clear (c, 0, b.getNumSamples());
    return b;
}
} // namespace

TEST (IntegratedLoudness, FullScaleSineLevels)
{
    struct Case { int channels; std::initializer_list<int> active; double expected; };
    const Case cases[] = {
        { 2, { 0, 1 }, -0.04 }, // both channels of a stereo buffer
        { 1, { 0 }, -0.04 },    // mono counts as the same signal on two channels
        { 2, { 0 }, -3.05 },    // one channel of stereo, the other silent
    };
    for (const auto& c : cases)
        EXPECT_NEAR (lufs (sineOn (c.channels, c.active, 5.0, 48000.0, 997.0, 1.0), 48000.0), c.expected, 0.01)
            << c.channels << " channels";
}

TEST (IntegratedLoudness, LevelFollowsAmplitudeAtEveryRate)
{
    for (auto rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
        EXPECT_NEAR (lufs (sineOn (2, { 0, 1 }, 3.0, rate, 997.0, 0.1), rate), -20.04, 0.05) << rate;
}

TEST (IntegratedLoudness, OnlyTheFirstTwoChannelsCount)
{
    auto b = sineOn (3, { 0, 1 }, 3.0, 48000.0, 997.0, 0.5);
    const auto twoChannels = lufs (b, 48000.0);
    auto loudThird = fixtures::makeSine (3, b.getNumSamples(), 48000.0, 997.0, 0.5);
    loudThird.applyGain (2, 0, b.getNumSamples(), 2.0f);
    EXPECT_NEAR (lufs (loudThird, 48000.0), twoChannels, 1e-9);
    EXPECT_NEAR (truePeak (loudThird, 48000.0), 20.0 * std::log10 (1.0), 0.05) << "every channel counts for the peak";
}

TEST (IntegratedLoudness, NoValueForSilenceShortTracksAndBadInput)
{
    const juce::AudioBuffer<float> silence = fixtures::makeBuffer (2, 96000, [] (int, int) { return 0.0f; });
    EXPECT_EQ (lufs (silence, 48000.0), -120.0);
    EXPECT_EQ (truePeak (silence, 48000.0), -120.0);

    const auto shortTrack = sineOn (2, { 0, 1 }, 0.39, 48000.0, 997.0, 0.5);
    EXPECT_EQ (lufs (shortTrack, 48000.0), -120.0);
    EXPECT_NEAR (truePeak (shortTrack, 48000.0), -6.02, 0.05);

    EXPECT_EQ (lufs (shortTrack, 0.0), -120.0);
    EXPECT_EQ (lufs (shortTrack, -48000.0), -120.0);
    EXPECT_EQ (lufs (juce::AudioBuffer<float>(), 48000.0), -120.0);
    EXPECT_EQ (truePeak (juce::AudioBuffer<float>(), 48000.0), -120.0);
    EXPECT_EQ (lufs (juce::AudioBuffer<float> (2, 0), 48000.0), -120.0);
}

TEST (IntegratedLoudness, RelativeGateDropsQuietBlocksEvenBelowMinusSixty)
{
    // 10 s near -50 LUFS then 10 s near -66 LUFS: both pass the absolute gate,
    // but the quiet half lies below the relative threshold (about -63).
    const double rate = 48000.0;
    const int half = (int) (10 * rate);
    const auto loudAmp = std::pow (10.0, (-50.0 + 0.04) / 20.0);
    const auto quietAmp = std::pow (10.0, (-66.0 + 0.04) / 20.0);
    const auto b = fixtures::makeBuffer (2, 2 * half, [&] (int, int i) {
        return (float) ((i < half ? loudAmp : quietAmp) * std::sin (2.0 * pi * 997.0 * i / rate));
    });
    const auto loudAlone = lufs (fixtures::makeSine (2, half, rate, 997.0, loudAmp), rate);
    EXPECT_NEAR (loudAlone, -50.0, 0.02);
    EXPECT_NEAR (lufs (b, rate), loudAlone, 0.1) << "quiet blocks must not pull the result down";
}

TEST (IntegratedLoudness, AStopRequestAbandonsTheMeasurement)
{
    const auto b = sineOn (2, { 0, 1 }, 3.0, 48000.0, 997.0, 0.5);
    int polls = 0;
    const auto stopAtSecondPoll = [&] { return ++polls >= 2; };
    EXPECT_EQ (LoudnessAnalyzer::measureIntegratedLUFS (b, 48000.0, stopAtSecondPoll), -120.0);
    polls = 0;
    EXPECT_EQ (LoudnessAnalyzer::measureTruePeakDBTP (b, 48000.0, stopAtSecondPoll), -120.0);
    EXPECT_NE (LoudnessAnalyzer::measureIntegratedLUFS (b, 48000.0, [] { return false; }), -120.0);
}

TEST (TruePeak, InterSamplePeakOfA12kHzSine)
{
    // Samples at +-0.7071 (sample peak -3.01 dBFS), true peak near +0.08 dBTP.
    const auto b = fixtures::makeSine (1, 4800, 48000.0, 12000.0, 1.0, pi / 4.0);
    EXPECT_NEAR (b.getMagnitude (0, 0, 4800), 0.7071f, 1e-4);
    EXPECT_NEAR (truePeak (b, 48000.0), 0.08, 0.02);
}

TEST (TruePeak, OversamplingDependsOnTheRate)
{
    // The same 12 kHz sine at 45 degrees: at 192 kHz the result is the sample peak.
    const auto at192 = fixtures::makeSine (2, 19200, 192000.0, 12000.0, 1.0, pi / 4.0);
    EXPECT_NEAR (truePeak (at192, 192000.0), 20.0 * std::log10 ((double) at192.getMagnitude (0, 19200)), 1e-6);

    // A 24 kHz sine at 96 kHz sampled at 45 degrees: 2x oversampling finds the
    // crest between samples, the sample peak alone would read -3.01.
    const auto at96 = fixtures::makeSine (1, 9600, 96000.0, 24000.0, 1.0, pi / 4.0);
    EXPECT_GT (truePeak (at96, 96000.0), -1.0);
}

TEST (TruePeak, ASingleImpulseReadsZeroAtEveryRate)
{
    for (auto rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        auto b = fixtures::makeBuffer (2, 1000, [] (int c, int i) { return c == 1 && i == 500 ? 1.0f : 0.0f; });
        EXPECT_NEAR (truePeak (b, rate), 0.0, 1e-9) << rate;
    }
}
