#include "AllocationGuard.h"
#include "ProcessorHarness.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
constexpr double rate = 48000.0;
} // namespace

TEST (ProcessorHost, AnswersAsAnInstrumentWithOneStereoOutput)
{
    QuillaneAudioProcessor p;
    EXPECT_EQ (p.getName(), "Quillane");
    EXPECT_TRUE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.isMidiEffect());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getProgramName (0), "Default");
    EXPECT_EQ (p.getBusCount (true), 0);
    ASSERT_EQ (p.getBusCount (false), 1);
    EXPECT_EQ (p.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (p.getBus (false, 0)->getDefaultLayout(), juce::AudioChannelSet::stereo());

    juce::AudioProcessor::BusesLayout layout;
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    EXPECT_TRUE (p.isBusesLayoutSupported (layout));
    layout.outputBuses.getReference (0) = juce::AudioChannelSet::mono();
    EXPECT_FALSE (p.isBusesLayoutSupported (layout));
    layout.outputBuses.getReference (0) = juce::AudioChannelSet::stereo();
    layout.inputBuses.add (juce::AudioChannelSet::stereo());
    EXPECT_FALSE (p.isBusesLayoutSupported (layout));
}

TEST (ProcessorHost, FadeLengthIsEightMillisecondsAndBadRatesAreIgnored)
{
    struct Case { double rate; int fadeLength; };
    for (auto c : { Case { 48000.0, 384 }, Case { 44100.0, 353 }, Case { 96000.0, 768 }, Case { 8000.0, 64 } })
    {
        QuillaneAudioProcessor p;
        p.prepareToPlay (c.rate, 512);
        EXPECT_EQ (p.fadeLength, c.fadeLength) << c.rate;
        p.prepareToPlay (0.0, 512);
        p.prepareToPlay (-44100.0, 512);
        EXPECT_EQ (p.hostSampleRate, c.rate);
    }
}

TEST (Playback, SilentWithNothingLoadedOrStopped)
{
    ProcessorHarness h (rate);
    h.processor.play();
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.render (256).getMagnitude (0, 256), 0.0f);

    h.loadConstant (0, 0.5f, 4800);
    EXPECT_EQ (h.render (256).getMagnitude (0, 256), 0.0f);
    EXPECT_EQ (h.processor.playPosition.load(), 0);
}

TEST (Playback, MonoTrackIsHeardOnBothChannelsAndExtraChannelsAreDropped)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.25f, 4800, 1);
    h.processor.play();
    auto out = h.render (64);
    EXPECT_FLOAT_EQ (out.getSample (0, 10), 0.25f);
    EXPECT_FLOAT_EQ (out.getSample (1, 10), 0.25f);

    ProcessorHarness six (rate);
    six.loadTrack (0, fixtures::makeBuffer (6, 4800, [] (int c, int) { return 0.1f * (float) (c + 1); }), rate);
    ASSERT_EQ (six.processor.slots[0].buffer.getNumChannels(), 2);
    six.processor.play();
    out = six.render (64);
    EXPECT_NEAR (out.getSample (0, 5), 0.1f, 1e-6);
    EXPECT_NEAR (out.getSample (1, 5), 0.2f, 1e-6);
}

TEST (Playback, SwitchingTracksCrossfadesLinearlyOverEightMilliseconds)
{
    for (auto hostRate : { 48000.0, 44100.0 })
    {
        ProcessorHarness h (hostRate);
        h.loadConstant (0, 0.5f, 48000);
        h.loadConstant (1, -0.5f, 48000);
        h.processor.play();
        h.render (100);
        ASSERT_EQ (h.processor.activeSlot.load(), 0);

        h.processor.selectSlot (1);
        const auto fade = h.processor.fadeLength;
        auto out = h.render (fade + 50);
        for (int s = 0; s < fade; s += 37)
        {
            const auto a = (float) s / (float) fade;
            EXPECT_NEAR (out.getSample (0, s), -0.5f * a + 0.5f * (1.0f - a), 1e-6) << s;
        }
        EXPECT_FLOAT_EQ (out.getSample (1, fade), -0.5f);
        EXPECT_EQ (h.processor.activeSlot.load(), 1);
        EXPECT_EQ (h.processor.fadePosition, -1);
        EXPECT_EQ (h.processor.playPosition.load(), 100 + fade + 50) << "the switch keeps the position";
    }
}

TEST (Playback, CrossfadeSpanningBlocksAndSelectingTheHeardTrack)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000);
    h.loadConstant (1, -0.5f, 48000);
    h.processor.play();
    h.processor.selectSlot (0);
    h.render (64);
    EXPECT_EQ (h.processor.fadePosition, -1) << "selecting the slot heard starts no fade";

    h.processor.selectSlot (1);
    auto first = h.render (200);
    auto second = h.render (200);
    EXPECT_NEAR (second.getSample (0, 0), -0.5f * (200.0f / 384.0f) + 0.5f * (184.0f / 384.0f), 1e-6);
    EXPECT_FLOAT_EQ (second.getSample (0, 199), -0.5f);
    EXPECT_NEAR (first.getSample (0, 0), 0.5f, 1e-6);
}

TEST (Playback, SelectingAnEmptyOrInvalidSlotIsIgnored)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 4800);
    for (auto index : { -1, 3, 10, 99 })
    {
        h.processor.selectSlot (index);
        EXPECT_EQ (h.processor.selectedSlot.load(), -1) << index;
    }
    h.processor.selectSlot (0);
    EXPECT_EQ (h.processor.selectedSlot.load(), 0);
}

TEST (Playback, StopsAtTheEndOfTheHeardTrackAndReturnsToTheMarker)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 1000);
    h.loadConstant (1, 0.25f, 5000);
    h.processor.play();
    h.render (512);
    EXPECT_TRUE (h.processor.playing.load());
    auto out = h.render (512);
    EXPECT_FALSE (h.processor.playing.load()) << "the heard track ends, not the longest one";
    EXPECT_FLOAT_EQ (out.getSample (0, 1000 - 512 - 1), 0.5f);
    EXPECT_EQ (out.getSample (0, 1000 - 512), 0.0f);
    EXPECT_EQ (h.processor.playPosition.load(), 0);

    h.processor.seek (300);
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 300);
    h.render (512);
    h.render (512);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.playPosition.load(), 300);
}

TEST (Playback, WithPlayFromStartOffPlayResumesAndAnEndedTrackPlaysAgain)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 2000);
    h.processor.playFromStart = false;
    h.processor.play();
    h.render (700);
    h.processor.stop();
    EXPECT_EQ (h.processor.stopPosition.load(), 700);
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 700);

    h.processor.returnToStart();
    h.processor.play();
    h.render (1024);
    h.render (1024);
    ASSERT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.stopPosition.load(), 0);

    // Playing again after the end must be heard, not stop at once past the end.
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 0);
    auto out = h.render (256);
    EXPECT_TRUE (h.processor.playing.load());
    EXPECT_FLOAT_EQ (out.getSample (0, 100), 0.5f);
}

TEST (Playback, PlayFromStartBeginsAtZeroOrAtTheMarker)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000);
    h.processor.play();
    h.render (1000);
    h.processor.stop();
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 0);
    h.processor.seek (2500);
    EXPECT_EQ (h.processor.playPosition.load(), 2500) << "seeking while playing moves the playhead";
    h.processor.stop();
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 2500);
    h.processor.returnToStart();
    EXPECT_FALSE (h.processor.cueSet.load());
    h.processor.play();
    EXPECT_EQ (h.processor.playPosition.load(), 0);
}

TEST (Playback, SeekIsLimitedToTheTimeline)
{
    ProcessorHarness empty (rate);
    empty.processor.seek (100);
    EXPECT_FALSE (empty.processor.cueSet.load());

    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 1000);
    h.loadConstant (3, 0.5f, 3000);
    EXPECT_EQ (h.processor.getTimelineLengthSamples(), 3000);
    struct Case { juce::int64 asked, expected; };
    for (auto c : { Case { -5, 0 }, Case { 0, 0 }, Case { 1234, 1234 }, Case { 3000, 3000 }, Case { 1 << 30, 3000 } })
    {
        h.processor.seek (c.asked);
        EXPECT_TRUE (h.processor.cueSet.load());
        EXPECT_EQ (h.processor.cuePosition.load(), c.expected) << c.asked;
    }
}

TEST (Playback, SelectingAShorterTrackPastItsEndStopsAfterOneBlock)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 10000);
    h.loadConstant (1, 0.5f, 1000);
    h.processor.play();
    h.render (4096);
    h.processor.selectSlot (1);
    h.render (512);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.playPosition.load(), 0);
}

TEST (Playback, ARateChangeDuringACrossfadeStillFinishesIt)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000);
    h.loadConstant (1, -0.5f, 48000);
    h.processor.play();
    h.processor.selectSlot (1);
    h.render (300);
    ASSERT_EQ (h.processor.fadePosition, 300);

    h.processor.prepareToPlay (8000.0, 512);
    EXPECT_EQ (h.processor.fadePosition, -1);
    EXPECT_FALSE (h.processor.playing.load()) << "a rate change stops the transport";
    h.processor.play();
    h.render (h.processor.fadeLength + 1);
    EXPECT_EQ (h.processor.activeSlot.load(), 1);
    EXPECT_EQ (h.processor.fadePosition, -1);
}

TEST (Playback, GainsOfTheMatchAndTheOutputApply)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000);
    h.processor.play();
    h.processor.trackGains[0] = 0.5f;
    h.processor.masterGain = 0.5f;
    EXPECT_FLOAT_EQ (h.render (16).getSample (0, 3), 0.125f);
}

TEST (Playback, ProcessBlockNeitherAllocatesNorWaits)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000, 2);
    h.loadConstant (1, -0.5f, 48000, 1);
    h.processor.play();

    juce::AudioBuffer<float> out (2, 512);
    juce::MidiBuffer midi;
    {
        AllocationGuard guard;
        h.processor.processBlock (out, midi);
        h.processor.selectSlot (1);
        for (int i = 0; i < 200; ++i)
            h.processor.processBlock (out, midi);
        EXPECT_EQ (guard.allocations(), 0u);
    }

    // With the lock held elsewhere the callback returns silence at once and the
    // playhead stays put.
    const auto before = h.processor.playPosition.load();
    const juce::ScopedLock held (h.processor.audioLock);
    std::atomic<bool> finished { false };
    std::thread audio ([&] {
        juce::AudioBuffer<float> block (2, 512);
        juce::MidiBuffer m;
        block.applyGain (0.0f);
        block.setSample (0, 0, 1.0f);
        h.processor.processBlock (block, m);
        EXPECT_EQ (block.getMagnitude (0, 512), 0.0f);
        finished = true;
    });
    audio.join();
    EXPECT_TRUE (finished.load());
    EXPECT_EQ (h.processor.playPosition.load(), before);
}

TEST (Playback, SeeksFromAnotherThreadAreNeverLostToTheBlockStore)
{
    ProcessorHarness h (rate);
    h.loadConstant (0, 0.5f, 48000 * 20);
    h.processor.play();

    std::atomic<bool> running { true };
    std::thread audio ([&] {
        juce::AudioBuffer<float> block (2, 64);
        juce::MidiBuffer m;
        while (running.load())
            h.processor.processBlock (block, m);
    });

    // After each seek the playhead must be at the target or past it by whole
    // blocks rendered from it — never back on the old path.
    int lost = 0;
    for (int i = 0; i < 2000; ++i)
    {
        const juce::int64 target = (i % 2 == 0) ? 48000 * 15 : 100;
        h.processor.seek (target);
        const auto now = h.processor.playPosition.load();
        if (now < target || (now - target) % 64 != 0)
            ++lost;
    }
    running = false;
    audio.join();
    EXPECT_EQ (lost, 0);
}
