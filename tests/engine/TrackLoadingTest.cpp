#include "ProcessorHarness.h"
#include "TrackDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
juce::AudioBuffer<float> ramp (int channels, int length)
{
    return fixtures::makeBuffer (channels, length, [=] (int c, int i) {
        return (float) (c + 1) * 0.4f * (float) i / (float) length;
    });
}

/** Overwrites bytes at offset of file (little-endian 32-bit value). */
void patchUint32 (const juce::File& file, juce::int64 offset, juce::uint32 value)
{
    juce::FileOutputStream out (file);
    ASSERT_TRUE (out.openedOk());
    out.setPosition (offset);
    out.writeInt ((int) value);
}

juce::int64 findChunk (const juce::File& file, const char* id)
{
    juce::MemoryBlock data;
    file.loadFileAsData (data);
    const auto* bytes = static_cast<const char*> (data.getData());
    for (size_t i = 12; i + 4 <= data.getSize(); ++i)
        if (std::memcmp (bytes + i, id, 4) == 0)
            return (juce::int64) i;
    return -1;
}
} // namespace

TEST (TrackLoading, EachFormatDecodesIntoASlot)
{
    struct Case { const char* format; const char* extension; int bits; double tolerance; };
    for (auto c : { Case { "WAV", "wav", 16, 1e-4 }, Case { "WAV", "wav", 24, 1e-6 }, Case { "WAV", "wav", 32, 0.0 },
                    Case { "AIFF", "aiff", 24, 1e-6 }, Case { "FLAC", "flac", 24, 1e-6 }, Case { "Ogg", "ogg", 16, 0.05 } })
    {
        ProcessorHarness h (44100.0);
        const auto source = fixtures::makeSine (2, 44100, 44100.0, 441.0, 0.5);
        const auto file = h.temp.file (juce::String ("tone.") + c.extension);
        ASSERT_TRUE (fixtures::writeAudioFile (file, source, 44100.0, c.format, c.bits)) << c.format;
        h.processor.loadFileIntoSlot (2, file);

        const auto& slot = h.processor.slots[2];
        ASSERT_TRUE (slot.loaded) << c.format << c.bits;
        EXPECT_EQ (slot.fileName, file.getFileName());
        EXPECT_EQ (slot.sourceSampleRate, 44100.0);
        EXPECT_EQ (slot.buffer.getNumChannels(), 2);
        EXPECT_NEAR (slot.buffer.getNumSamples(), 44100, c.bits == 16 && juce::String (c.format) == "Ogg" ? 2048 : 0);
        EXPECT_EQ (slot.peaks.size(), 512u);
        EXPECT_NEAR (slot.truePeakDb.load(), 20.0 * std::log10 (0.5), 0.2);
        EXPECT_NEAR (slot.lufs.load(), -6.74, 0.08) << "a 441 Hz sine at -6 dBFS on both channels";
        EXPECT_NEAR (slot.buffer.getSample (1, 1234), source.getSample (1, 1234), std::max (c.tolerance, 1e-7));
        EXPECT_EQ (h.processor.trackGains[2].load(), 1.0f);
    }
}

TEST (TrackLoading, Mp3IsDecodedAndResampled)
{
    ProcessorHarness h (48000.0);
    h.processor.loadFileIntoSlot (0, juce::File (QUILLANE_TEST_FIXTURES).getChildFile ("sine440_44k1_stereo.mp3"));
    const auto& slot = h.processor.slots[0];
    ASSERT_TRUE (slot.loaded);
    EXPECT_EQ (slot.sourceSampleRate, 44100.0);
    EXPECT_EQ (slot.buffer.getNumChannels(), 2);
    EXPECT_NEAR ((double) slot.buffer.getNumSamples() / 48000.0, 1.0, 0.06);
    EXPECT_NEAR (slot.truePeakDb.load(), -6.0, 0.5);
}

TEST (TrackLoading, ResampledLengthIsTheCeilingOfLengthOverRatio)
{
    struct Case { double fileRate, hostRate; int sourceLength, expected; };
    for (auto c : { Case { 44100.0, 48000.0, 44100, 48000 }, Case { 48000.0, 44100.0, 48000, 44100 },
                    Case { 96000.0, 48000.0, 1001, 501 }, Case { 48000.5, 48000.0, 777, 777 },
                    Case { 22050.0, 96000.0, 3, 14 } })
    {
        ProcessorHarness h (c.hostRate);
        h.loadTrack (0, ramp (1, c.sourceLength), c.fileRate);
        ASSERT_TRUE (h.processor.slots[0].loaded) << c.fileRate;
        EXPECT_EQ (h.processor.slots[0].buffer.getNumSamples(), c.expected) << c.fileRate << " -> " << c.hostRate;
    }
}

TEST (TrackLoading, NearlyEqualRatesCopySampleForSample)
{
    ProcessorHarness h (48000.0);
    const auto source = ramp (2, 999);
    h.loadTrack (0, source, 48000.4);
    const auto& b = h.processor.slots[0].buffer;
    ASSERT_EQ (b.getNumSamples(), 999);
    for (int i = 0; i < 999; i += 97)
        EXPECT_EQ (b.getSample (1, i), source.getSample (1, i));
}

TEST (TrackLoading, MonoStaysOneChannelAndSurroundKeepsItsFirstTwo)
{
    ProcessorHarness h (48000.0);
    h.loadTrack (0, ramp (1, 4800), 48000.0);
    EXPECT_EQ (h.processor.slots[0].buffer.getNumChannels(), 1);
    h.loadTrack (1, ramp (6, 4800), 48000.0);
    EXPECT_EQ (h.processor.slots[1].sourceBuffer.getNumChannels(), 2);
    EXPECT_NEAR (h.processor.slots[1].buffer.getSample (1, 4799), 0.8f * 4799.0f / 4800.0f, 1e-6);
}

TEST (TrackLoading, PeaksCoverEqualRangesAndShortTracksLeaveZeros)
{
    ProcessorHarness h (48000.0);
    // Track of 1024 samples: each peak covers two samples.
    h.loadTrack (0, fixtures::makeBuffer (2, 1024, [] (int c, int i) { return c == 1 && i == 901 ? -0.75f : 0.1f; }),
                 48000.0);
    const auto& peaks = h.processor.slots[0].peaks;
    ASSERT_EQ (peaks.size(), 512u);
    EXPECT_FLOAT_EQ (peaks[450], 0.75f);
    EXPECT_FLOAT_EQ (peaks[451], 0.1f);

    h.loadTrack (1, fixtures::makeBuffer (1, 100, [] (int, int) { return 0.5f; }), 48000.0);
    const auto& shortPeaks = h.processor.slots[1].peaks;
    ASSERT_EQ (shortPeaks.size(), 512u);
    EXPECT_EQ (std::count (shortPeaks.begin(), shortPeaks.end(), 0.0f), 512 - 100);
}

TEST (TrackLoading, NonFiniteSamplesBecomeSilence)
{
    ProcessorHarness h (48000.0);
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();
    h.loadTrack (0, fixtures::makeBuffer (2, 48000, [=] (int c, int i) {
                     return i % 100 == 0 ? (c == 0 ? nan : -inf) : 0.25f;
                 }),
                 48000.0);
    const auto& b = h.processor.slots[0].buffer;
    ASSERT_TRUE (h.processor.slots[0].loaded);
    EXPECT_EQ (b.getSample (0, 200), 0.0f);
    EXPECT_EQ (b.getSample (1, 300), 0.0f);
    EXPECT_TRUE (std::isfinite (h.processor.slots[0].lufs.load()));
    EXPECT_LT (h.processor.slots[0].truePeakDb.load(), -6.0) << "an infinity would read +inf";
}

TEST (TrackLoading, LoadingStopsTheTransportAndDropsTheMatch)
{
    ProcessorHarness h (48000.0);
    h.loadConstant (0, 0.5f, 48000);
    h.loadConstant (1, 0.25f, 48000);
    h.processor.matchValid = true;
    h.processor.matchActive = true;
    h.processor.trackGains[0] = 0.3f;
    h.processor.masterGain = 0.7f;
    h.processor.gainCeiling = 1.2f;
    h.processor.analysisStatus = QuillaneAudioProcessor::Done;
    h.processor.play();
    h.render (1000);
    h.processor.seek (500);

    h.loadConstant (5, 0.1f, 1000);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.playPosition.load(), 500) << "the playhead stays";
    EXPECT_FALSE (h.processor.matchValid.load());
    EXPECT_FALSE (h.processor.matchActive.load());
    EXPECT_EQ (h.processor.analysisStatus.load(), QuillaneAudioProcessor::Idle);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (h.processor.trackGains[(size_t) i].load(), (i == 0 || i == 1 || i == 5) ? 1.0f : 0.0f) << i;
    EXPECT_EQ (h.processor.masterGain.load(), 1.0f);
    EXPECT_EQ (h.processor.gainCeiling.load(), 1.0f);
}

TEST (TrackLoading, ClearingEmptiesTheSlotAndUnityGainsAreHeard)
{
    ProcessorHarness h (48000.0);
    h.loadConstant (0, 0.5f, 48000);
    h.loadConstant (1, 0.25f, 48000);
    h.processor.matchActive = true;
    h.processor.matchValid = true;
    h.processor.trackGains[0] = 0.3f;
    h.processor.masterGain = 0.7f;

    h.processor.clearSlot (1);
    const auto& slot = h.processor.slots[1];
    EXPECT_FALSE (slot.loaded);
    EXPECT_EQ (slot.buffer.getNumSamples(), 0);
    EXPECT_EQ (slot.sourceBuffer.getNumChannels(), 0);
    EXPECT_TRUE (slot.fileName.isEmpty());
    EXPECT_TRUE (slot.peaks.empty());
    EXPECT_EQ (slot.lufs.load(), -120.0);
    EXPECT_EQ (h.processor.trackGains[1].load(), 0.0f);
    EXPECT_FALSE (h.processor.matchActive.load());
    // With the match off the listener hears unity gain again.
    h.processor.play();
    EXPECT_FLOAT_EQ (h.render (16).getSample (0, 5), 0.5f);

    h.processor.clearSlot (-1);
    h.processor.clearSlot (10);
    EXPECT_TRUE (h.processor.slots[0].loaded);
}

TEST (TrackLoading, NothingLoadsBeforeTheHostPrepares)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("a.wav");
    ASSERT_TRUE (fixtures::writeAudioFile (file, ramp (2, 4800), 48000.0));
    QuillaneAudioProcessor p;
    p.loadFileIntoSlot (0, file);
    EXPECT_FALSE (p.slots[0].loaded);
}

TEST (TrackLoading, BadFilesLeaveTheSlotAsItWas)
{
    ProcessorHarness h (48000.0);
    const auto good = h.loadConstant (4, 0.5f, 4800);
    ASSERT_TRUE (h.processor.slots[4].loaded);
    h.processor.trackGains[4] = 0.5f;

    const auto wavBytes = [&] {
        juce::MemoryBlock m;
        good.loadFileAsData (m);
        return m;
    }();

    struct Case { const char* name; std::function<void (const juce::File&)> make; };
    const std::vector<Case> cases {
        { "missing.wav", [] (const juce::File&) {} },
        { "folder.wav", [] (const juce::File& f) { f.createDirectory(); } },
        { "empty.wav", [] (const juce::File& f) { f.create(); } },
        { "garbage.wav", [] (const juce::File& f) { f.replaceWithText (juce::String::repeatedString ("nonsense", 500)); } },
        { "text.mp3", [] (const juce::File& f) { f.replaceWithText ("ID3 not really an mp3"); } },
        { "truncated-header.wav", [&] (const juce::File& f) { f.replaceWithData (wavBytes.getData(), 30); } },
        { "no-samples.wav", [&] (const juce::File& f) {
              fixtures::writeAudioFile (f, juce::AudioBuffer<float> (2, 0), 48000.0);
          } },
        { "claims-more-data.wav", [&] (const juce::File& f) {
              f.replaceWithData (wavBytes.getData(), wavBytes.getSize());
              patchUint32 (f, findChunk (f, "data") + 4, 0x7ffffff0u);
          } },
        { "absurd-rate.wav", [&] (const juce::File& f) {
              f.replaceWithData (wavBytes.getData(), wavBytes.getSize());
              patchUint32 (f, findChunk (f, "fmt ") + 12, 4000000000u);
          } },
        { "tiny-rate.wav", [&] (const juce::File& f) {
              f.replaceWithData (wavBytes.getData(), wavBytes.getSize());
              patchUint32 (f, findChunk (f, "fmt ") + 12, 3u);
          } },
        { "zero-channels.wav", [&] (const juce::File& f) {
              f.replaceWithData (wavBytes.getData(), wavBytes.getSize());
              juce::FileOutputStream out (f);
              out.setPosition (findChunk (f, "fmt ") + 10);
              out.writeShort (0);
          } },
    };

    for (const auto& c : cases)
    {
        const auto file = h.temp.file (c.name);
        c.make (file);
        h.processor.loadFileIntoSlot (4, file);
        const auto& slot = h.processor.slots[4];
        EXPECT_TRUE (slot.loaded) << c.name;
        EXPECT_EQ (slot.fileName, good.getFileName()) << c.name;
        EXPECT_EQ (slot.buffer.getNumSamples(), 4800) << c.name;
        EXPECT_EQ (h.processor.trackGains[4].load(), 0.5f) << c.name << ": a refused file changes nothing";
    }

    for (auto index : { -1, 10 })
        h.processor.loadFileIntoSlot (index, good);
}

TEST (TrackLoading, ResamplingNeverReadsPastTheSource)
{
    // Ratios whose rounding makes the last output want input N: the interpolator
    // must be told the source length (checked under valgrind/ASan too).
    for (auto fileRate : { 44100.0, 22050.0, 88200.0, 32000.0, 11025.0 })
    {
        ProcessorHarness h (48000.0);
        h.loadTrack (0, fixtures::makeBuffer (1, 7, [] (int, int) { return 1.0f; }), fileRate);
        const auto& b = h.processor.slots[0].buffer;
        ASSERT_TRUE (h.processor.slots[0].loaded);
        for (int i = 0; i < b.getNumSamples(); ++i)
            EXPECT_TRUE (std::isfinite (b.getSample (0, i)) && std::abs (b.getSample (0, i)) < 2.0f) << fileRate;
    }
}

TEST (TrackLoading, TracksTooLongForA32BitCountAreRefused)
{
    EXPECT_EQ (TrackDecoder::resampledLength (44100, 44100.0, 48000.0), 48000);
    EXPECT_GT (TrackDecoder::resampledLength (std::numeric_limits<int>::max(), 1000.0, 48000.0),
               (juce::int64) std::numeric_limits<int>::max());

    // 50 million samples at 1 kHz would become 2.4 billion at 48 kHz.
    juce::AudioBuffer<float> source (1, 50'000'000);
    source.clear();
    juce::AudioBuffer<float> dest (1, 10);
    EXPECT_FALSE (TrackDecoder::resample (source, 1000.0, 48000.0, dest));
    EXPECT_EQ (dest.getNumSamples(), 10) << "a refusal leaves the destination alone";
}

TEST (TrackLoading, ARateChangeResamplesEveryTrackAndStopsTheTransport)
{
    ProcessorHarness h (48000.0);
    h.loadTrack (0, ramp (2, 48000), 48000.0);
    h.loadTrack (1, ramp (1, 24000), 24000.0);
    const auto lufsBefore = h.processor.slots[0].lufs.load();
    h.processor.play();
    h.processor.matchActive = true;

    h.processor.prepareToPlay (48000.9, 512);
    EXPECT_TRUE (h.processor.playing.load()) << "a change of 1 Hz or less keeps everything";
    EXPECT_EQ (h.processor.slots[0].buffer.getNumSamples(), 48000);

    h.processor.prepareToPlay (96000.0, 512);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_FALSE (h.processor.matchActive.load());
    EXPECT_EQ (h.processor.slots[0].buffer.getNumSamples(), 96000);
    EXPECT_EQ (h.processor.slots[1].buffer.getNumSamples(), 96000);
    EXPECT_EQ (h.processor.slots[0].lufs.load(), lufsBefore) << "measurements are kept";
}
