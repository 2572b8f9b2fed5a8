#include "LoudnessMatch.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double noValue = -120.0;
constexpr double targetPeakDb = -0.1;

bool isMeasured (const MatchTrack& t) { return t.loaded && t.lufs > noValue; }

double highestPredictedPeak (const std::array<MatchTrack, 10>& tracks, const std::array<double, 10>& gainDb)
{
    double peak = -200.0;
    for (size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].loaded)
            peak = std::max (peak, tracks[i].truePeakDb + gainDb[i]);
    return peak;
}
} // namespace

MatchResult computeLoudnessMatch (const std::array<MatchTrack, 10>& tracks)
{
    MatchResult result;

    bool anyMeasured = false;
    double reference = 0.0;
    for (const auto& t : tracks)
    {
        if (isMeasured (t))
        {
            reference = anyMeasured ? std::min (reference, t.lufs) : t.lufs;
            anyMeasured = true;
        }
    }
    if (! anyMeasured)
        reference = -23.0;

    for (size_t i = 0; i < tracks.size(); ++i)
        result.gainDb[i] = isMeasured (tracks[i]) ? reference - tracks[i].lufs : 0.0;

    auto shift = targetPeakDb - highestPredictedPeak (tracks, result.gainDb);

    // With nothing measurable (silence, dither) the peaks alone would raise the
    // set by up to +95 dB: never boost what has no loudness.
    if (! anyMeasured)
        shift = std::min (shift, 0.0);

    for (size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].loaded)
            result.gainDb[i] += shift;

    result.matchedLufs = anyMeasured ? reference + shift : noValue;

    for (size_t i = 0; i < tracks.size(); ++i)
    {
        const auto db = result.gainDb[i];
        result.gains[i] = (tracks[i].loaded && db > -100.0) ? (float) std::pow (10.0, db / 20.0) : 0.0f;
    }

    const auto peakAfter = highestPredictedPeak (tracks, result.gainDb);
    const auto headroomDb = anyMeasured ? std::max (0.0, targetPeakDb - peakAfter) : 0.0;
    result.ceiling = (float) std::pow (10.0, headroomDb / 20.0);
    return result;
}
