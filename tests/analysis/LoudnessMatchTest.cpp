#include "analysis/LoudnessMatch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
std::array<MatchTrack, 10> tracks (std::initializer_list<std::pair<int, MatchTrack>> loaded)
{
    std::array<MatchTrack, 10> t {};
    for (const auto& [slot, track] : loaded)
        t[(size_t) slot] = track;
    return t;
}

float linear (double db) { return (float) std::pow (10.0, db / 20.0); }
} // namespace

TEST (LoudnessMatch, TwoTracksMeetAtOneLoudnessWithTheLoudestPeakAtMinusPointOne)
{
    const auto r = computeLoudnessMatch (tracks ({ { 0, { true, -10.0, -0.5 } }, { 1, { true, -14.0, -3.0 } } }));
    EXPECT_NEAR (r.gainDb[0], -1.1, 1e-9);
    EXPECT_NEAR (r.gainDb[1], 2.9, 1e-9);
    EXPECT_NEAR (r.gains[0], 0.881f, 5e-4);
    EXPECT_NEAR (r.gains[1], 1.396f, 5e-4);
    EXPECT_NEAR (r.matchedLufs, -11.1, 1e-9);
    EXPECT_NEAR (r.ceiling, 1.0f, 1e-6);
    for (size_t i = 2; i < 10; ++i)
        EXPECT_EQ (r.gains[i], 0.0f);
}

TEST (LoudnessMatch, IdenticalTracksGetTheSameGain)
{
    const MatchTrack t { true, -18.0, -6.0 };
    const auto r = computeLoudnessMatch (tracks ({ { 2, t }, { 5, t }, { 9, t } }));
    EXPECT_NEAR (r.gainDb[2], 5.9, 1e-9);
    EXPECT_EQ (r.gains[2], r.gains[5]);
    EXPECT_EQ (r.gains[5], r.gains[9]);
    EXPECT_NEAR (r.matchedLufs, -12.1, 1e-9);
}

TEST (LoudnessMatch, AnUnmeasurableTrackGetsOnlyTheCommonShift)
{
    const auto r = computeLoudnessMatch (tracks ({ { 0, { true, -10.0, -0.5 } },
                                                   { 1, { true, -14.0, -3.0 } },
                                                   { 2, { true, -120.0, -120.0 } } }));
    EXPECT_NEAR (r.gainDb[2], 2.9, 1e-9);
    EXPECT_NEAR (r.gains[2], linear (2.9), 1e-6);
    EXPECT_NEAR (r.matchedLufs, -11.1, 1e-9) << "a silent track does not move the set";
}

TEST (LoudnessMatch, NoiseWithoutMeasurableLoudnessIsNeverBoosted)
{
    // Two tracks of dither: their peaks alone would ask for +95 dB.
    const auto r = computeLoudnessMatch (tracks ({ { 0, { true, -120.0, -95.0 } }, { 3, { true, -120.0, -96.0 } } }));
    EXPECT_LE (r.gainDb[0], 0.0);
    EXPECT_LE (r.gains[0], 1.0f);
    EXPECT_LE (r.gains[3], 1.0f);
    EXPECT_EQ (r.matchedLufs, -120.0);
    EXPECT_EQ (r.ceiling, 1.0f);

    // Too hot a peak is still brought down to -0.1 dBTP.
    const auto hot = computeLoudnessMatch (tracks ({ { 0, { true, -120.0, 3.0 } }, { 1, { true, -120.0, -10.0 } } }));
    EXPECT_NEAR (hot.gainDb[0], -3.1, 1e-9);
    EXPECT_NEAR (hot.gainDb[1], -3.1, 1e-9);
}

TEST (LoudnessMatch, VeryLowGainsBecomeSilence)
{
    const auto r = computeLoudnessMatch (tracks ({ { 0, { true, -10.0, -0.1 } }, { 1, { true, 100.0, 100.0 } } }));
    EXPECT_LT (r.gainDb[1], -100.0);
    EXPECT_EQ (r.gains[1], 0.0f);
    EXPECT_GT (r.gains[0], 0.0f);
}
