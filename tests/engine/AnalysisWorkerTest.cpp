#include "ProcessorHarness.h"
#include "analysis/LoudnessAnalyzer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double rate = 48000.0;

bool waitForStatus (QuillaneAudioProcessor& p, int status, int timeoutMs = 60000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (p.analysisStatus.load() != status)
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::Thread::sleep (5);
    }
    return true;
}

juce::AudioBuffer<float> sine (double seconds, double amplitude, int channels = 2)
{
    return fixtures::makeSine (channels, (int) (seconds * rate), rate, 997.0, amplitude);
}
} // namespace

TEST (AnalysisWorker, TwoTracksAreMatchedOnItsThread)
{
    ProcessorHarness h (rate);
    h.loadTrack (0, sine (4.0, 0.8), rate);
    h.loadTrack (3, sine (4.0, 0.2), rate);
    h.processor.play();

    h.processor.startAnalysis (AnalysisTask::Match);
    EXPECT_FALSE (h.processor.playing.load()) << "starting a job stops the transport";
    ASSERT_TRUE (waitForStatus (h.processor, QuillaneAudioProcessor::Done));

    auto& p = h.processor;
    EXPECT_TRUE (p.matchValid.load());
    EXPECT_TRUE (p.matchActive.load());
    // Both reach one loudness; the louder track's peak, now the set's, sits at -0.1.
    const auto level0 = p.slots[0].lufs.load() + p.slots[0].matchGainDb.load();
    const auto level3 = p.slots[3].lufs.load() + p.slots[3].matchGainDb.load();
    EXPECT_NEAR (level0, level3, 1e-9);
    EXPECT_NEAR (level0, p.matchedLufs.load(), 1e-9);
    EXPECT_NEAR (std::max (p.slots[0].truePeakDb.load() + p.slots[0].matchGainDb.load(),
                           p.slots[3].truePeakDb.load() + p.slots[3].matchGainDb.load()),
                 -0.1, 1e-9);
    EXPECT_NEAR (p.trackGains[3].load() / p.trackGains[0].load(), 4.0f, 1e-3);
    EXPECT_EQ (p.trackGains[1].load(), 0.0f);
    EXPECT_NEAR (p.masterGain.load(), 1.0f, 1e-6);
    EXPECT_NEAR (p.storedGainCeiling.load(), p.gainCeiling.load(), 0.0f);

    // The gains are heard.
    p.selectSlot (3);
    p.play();
    h.render (2048);
    const auto out = h.render (4800);
    EXPECT_NEAR (out.getMagnitude (0, 0, 4800), 0.2f * p.trackGains[3].load(), 2e-3);
}

TEST (AnalysisWorker, FewerThanTwoTracksAreRefused)
{
    ProcessorHarness h (rate);
    h.processor.startAnalysis (AnalysisTask::Match);
    EXPECT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::NeedTwoFiles);
    h.loadTrack (0, sine (1.0, 0.5), rate);
    h.processor.play();
    h.processor.startAnalysis (AnalysisTask::Match);
    EXPECT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::NeedTwoFiles);
    EXPECT_EQ (h.processor.analysisWorker, nullptr);
    EXPECT_TRUE (h.processor.playing.load()) << "a refused start changes nothing else";
    EXPECT_FALSE (h.processor.matchActive.load());
}

TEST (AnalysisWorker, ASilentTrackGetsTheCommonShiftNotZero)
{
    ProcessorHarness h (rate);
    h.loadTrack (0, sine (2.0, 0.5), rate);
    h.loadTrack (1, fixtures::makeBuffer (2, (int) rate, [] (int, int) { return 0.0f; }), rate);
    h.processor.startAnalysis (AnalysisTask::Match);
    ASSERT_TRUE (waitForStatus (h.processor, QuillaneAudioProcessor::Done));
    const auto shift = h.processor.slots[1].matchGainDb.load();
    EXPECT_NEAR (h.processor.trackGains[1].load(), std::pow (10.0, shift / 20.0), 1e-5);
    EXPECT_NEAR (h.processor.slots[0].matchGainDb.load(), shift, 1e-9) << "one measurable track: its gain is the shift";
}

TEST (AnalysisWorker, LoadingOrClearingDuringAJobStopsItWithoutStaleResults)
{
    // Long tracks keep the job busy for a while; the edit must neither wait for
    // it to finish nor let it publish gains for a set that no longer exists.
    for (int edit = 0; edit < 3; ++edit)
    {
        ProcessorHarness h (rate);
        h.loadTrack (0, sine (120.0, 0.5), rate);
        h.loadTrack (1, sine (120.0, 0.25), rate);
        h.processor.startAnalysis (AnalysisTask::Match);
        ASSERT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::Running);
        juce::Thread::sleep (20);

        if (edit == 0)
            h.loadTrack (2, sine (1.0, 0.1), rate);
        else if (edit == 1)
            h.processor.clearSlot (1);
        else
            h.processor.prepareToPlay (44100.0, 512);

        EXPECT_EQ (h.processor.analysisWorker, nullptr) << edit;
        EXPECT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::Idle) << edit;
        EXPECT_FALSE (h.processor.matchActive.load()) << edit;
        juce::Thread::sleep (50);
        EXPECT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::Idle) << "nothing published later";
        EXPECT_EQ (h.processor.masterGain.load(), 1.0f);
    }
}

TEST (AnalysisWorker, ARestartedJobAndADestroyedProcessorEndTheThreadQuickly)
{
    {
        ProcessorHarness h (rate);
        h.loadTrack (0, sine (120.0, 0.5), rate);
        h.loadTrack (1, sine (120.0, 0.25), rate);
        h.processor.startAnalysis (AnalysisTask::Match);
        juce::Thread::sleep (10);
        h.processor.startAnalysis (AnalysisTask::Match);
        ASSERT_TRUE (waitForStatus (h.processor, QuillaneAudioProcessor::Done));
        EXPECT_TRUE (h.processor.matchActive.load());
        // Destroyed with a job running: the destructor must stop and join it.
        h.processor.startAnalysis (AnalysisTask::Match);
        ASSERT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::Running);
    }
    SUCCEED() << "no crash, no leaked thread (the leak detector would assert)";
}
