#pragma once

#include <array>

/** What the match needs to know of one track. */
struct MatchTrack
{
    bool loaded = false;
    double lufs = -120.0;
    double truePeakDb = -120.0;
};

/** Gains that put every track at one integrated loudness with the loudest
    predicted true peak at -0.1 dBTP. */
struct MatchResult
{
    std::array<float, 10> gains {};      // linear, 0 for empty tracks
    std::array<double, 10> gainDb {};    // per track, 0 for empty tracks
    float ceiling = 1.0f;
    double matchedLufs = -120.0;
};

/** Pure function of the tracks' measurements; callable from any thread. */
MatchResult computeLoudnessMatch (const std::array<MatchTrack, 10>& tracks);
