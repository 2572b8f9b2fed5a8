#include "ExportTestSupport.h"

#include "AudioFixtures.h"
#include "PluginProcessor.h"
#include "export/ExportWriter.h"
#include "export/StoredNameWav.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace exporttest;

namespace
{
constexpr double rate = 44100.0;

/** A processor at 44.1 kHz with tracks loaded from real files. */
struct LoadedProcessor
{
    struct Track
    {
        int slot;
        juce::String fileName;
        juce::AudioBuffer<float> audio;
    };

    explicit LoadedProcessor (const std::vector<Track>& tracks)
    {
        processor.prepareToPlay (rate, 512);
        for (const auto& t : tracks)
        {
            const auto file = sources.file (t.fileName);
            EXPECT_TRUE (fixtures::writeAudioFile (file, t.audio, rate, "WAV", 32));
            processor.loadFileIntoSlot (t.slot, file);
            EXPECT_TRUE (processor.slots[(size_t) t.slot].loaded) << t.fileName;
        }
    }

    fixtures::TempFolder sources;
    QuillaneAudioProcessor processor;
};

/** A track that is told apart from the others by its level. */
juce::AudioBuffer<float> toneAt (float amplitude, int channels = 2, int length = 2000)
{
    return fixtures::makeSine (channels, length, rate, 441.0, amplitude);
}

juce::StringArray fileNames (const std::vector<juce::File>& files)
{
    juce::StringArray names;
    for (const auto& f : files)
        names.add (f.getFileName());
    return names;
}

juce::StringArray wavFilesIn (const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles (juce::File::findFiles, false, "*.wav"))
        names.add (f.getFileName());
    names.sort (false);
    return names;
}

bool waitForMatch (QuillaneAudioProcessor& processor)
{
    processor.startAnalysis (AnalysisTask::Match);
    for (int i = 0; i < 3000 && processor.analysisStatus.load() == QuillaneAudioProcessor::Running; ++i)
        juce::Thread::sleep (10);
    return processor.analysisStatus.load() == QuillaneAudioProcessor::Done;
}

juce::AudioBuffer<float> scaled (const juce::AudioBuffer<float>& audio, float gain)
{
    juce::AudioBuffer<float> copy (audio);
    copy.applyGain (gain);
    return copy;
}
} // namespace

TEST (ExportWriter, NamesAndBlindOrderTable)
{
    const std::vector<LoadedProcessor::Track> tracks {
        { 0, "first.wav", toneAt (0.1f) }, { 1, "second.wav", toneAt (0.2f) }, { 2, "third.wav", toneAt (0.3f) }
    };
    std::vector<int> identity (10);
    std::iota (identity.begin(), identity.end(), 0);
    auto blind = identity;
    std::swap (blind[0], blind[2]); // 2, 1, 0, ...
    std::swap (blind[1], blind[2]); // 2, 0, 1, ...

    struct Case
    {
        const char* label;
        std::vector<int> order;
        juce::String name;
        juce::StringArray files;
        std::vector<int> slots; // behind each file
    };
    const Case cases[] = {
        { "Demo in blind order", blind, "Demo", { "Demo_A.wav", "Demo_B.wav", "Demo_C.wav" }, { 2, 0, 1 } },
        { "no name", blind, "", { "A.wav", "B.wav", "C.wav" }, { 2, 0, 1 } },
        { "a name of spaces is no name", blind, "   ", { "A.wav", "B.wav", "C.wav" }, { 2, 0, 1 } },
        { "name trimmed", identity, "  My Mix ", { "My Mix_A.wav", "My Mix_B.wav", "My Mix_C.wav" }, { 0, 1, 2 } },
        { "name made legal", identity, "a/b:c?", { "abc_A.wav", "abc_B.wav", "abc_C.wav" }, { 0, 1, 2 } },
        { "no order yet", {}, "x", { "x_A.wav", "x_B.wav", "x_C.wav" }, { 0, 1, 2 } },
        { "an order of nine entries is no order", std::vector<int> (blind.begin(), blind.begin() + 9), "",
          { "A.wav", "B.wav", "C.wav" }, { 0, 1, 2 } },
    };

    LoadedProcessor loaded (tracks);
    for (const auto& c : cases)
    {
        fixtures::TempFolder out;
        const auto result = ExportWriter::writeFiles (loaded.processor, c.order, c.name, out.folder);
        EXPECT_TRUE (result.failed.empty()) << c.label;
        ASSERT_EQ (fileNames (result.written), c.files) << c.label;
        EXPECT_EQ (wavFilesIn (out.folder), c.files) << c.label;

        for (size_t i = 0; i < c.slots.size(); ++i)
        {
            const auto& slot = loaded.processor.slots[(size_t) c.slots[i]];
            EXPECT_EQ (loaded.processor.readStoredName (result.written[i]), slot.fileName) << c.label;
            const auto decoded = readWithJuce (result.written[i]);
            ASSERT_TRUE (decoded.has_value());
            EXPECT_LE (maxDifference (decoded->audio, slot.buffer), quantum24) << c.label << " " << c.files[(int) i];
        }
    }
}

TEST (ExportWriter, EmptyRowsKeepTheirLetters)
{
    LoadedProcessor loaded ({ { 1, "b.wav", toneAt (0.1f) }, { 4, "e.wav", toneAt (0.2f) } });
    fixtures::TempFolder out;
    const auto result = ExportWriter::writeFiles (loaded.processor, {}, "", out.folder);
    EXPECT_EQ (fileNames (result.written), juce::StringArray ({ "B.wav", "E.wav" }));
    EXPECT_EQ (loaded.processor.readStoredName (out.file ("E.wav")), "e.wav");
}

TEST (ExportWriter, TheProcessorsOwnOrderAndNameAreUsed)
{
    LoadedProcessor loaded ({ { 0, "one.wav", toneAt (0.1f) }, { 1, "two.wav", toneAt (0.2f) } });
    loaded.processor.blindOrder = { 1, 0, 2, 3, 4, 5, 6, 7, 8, 9 };
    loaded.processor.exportName = "Session";
    fixtures::TempFolder out;
    const auto result = ExportWriter::writeFiles (loaded.processor, out.folder);
    ASSERT_EQ (fileNames (result.written), juce::StringArray ({ "Session_A.wav", "Session_B.wav" }));
    EXPECT_EQ (loaded.processor.readStoredName (result.written[0]), "two.wav");
    EXPECT_EQ (loaded.processor.readStoredName (result.written[1]), "one.wav");
}

TEST (ExportWriter, TwoExportsIntoOneFolderOverwriteNothing)
{
    LoadedProcessor loaded ({ { 0, "one.wav", toneAt (0.1f) }, { 1, "two.wav", toneAt (0.2f) } });
    fixtures::TempFolder out;
    const auto first = ExportWriter::writeFiles (loaded.processor, {}, "Demo", out.folder);
    ASSERT_EQ (first.written.size(), 2u);
    const auto firstBytes = readBytes (first.written[0]);

    loaded.processor.blindOrder = { 1, 0, 2, 3, 4, 5, 6, 7, 8, 9 };
    const auto second = ExportWriter::writeFiles (loaded.processor, out.folder);
    EXPECT_EQ (fileNames (second.written), juce::StringArray ({ "A.wav", "B.wav" })); // no name this time

    const auto third = ExportWriter::writeFiles (loaded.processor, {}, "Demo", out.folder);
    EXPECT_EQ (fileNames (third.written), juce::StringArray ({ "Demo_A(2).wav", "Demo_B(2).wav" }));
    EXPECT_EQ (wavFilesIn (out.folder).size(), 6);
    EXPECT_EQ (readBytes (first.written[0]), firstBytes);
    EXPECT_EQ (loaded.processor.readStoredName (first.written[0]), "one.wav");
}

TEST (ExportWriter, MonoBesideStereoIsPaddedToTheLongestTrack)
{
    const auto mono = fixtures::makeBuffer (1, 1000, [] (int, int i) { return 0.5f * std::sin (0.05f * (float) i); });
    const auto stereo = fixtures::makeBuffer (2, 1500, [] (int c, int i) { return c == 0 ? 0.25f : -0.125f * (float) (i % 7) / 7.0f; });
    LoadedProcessor loaded ({ { 0, "mono.wav", mono }, { 1, "stereo.wav", stereo } });
    fixtures::TempFolder out;
    const auto result = ExportWriter::writeFiles (loaded.processor, {}, "", out.folder);
    ASSERT_EQ (result.written.size(), 2u);

    auto expectedMono = juce::AudioBuffer<float> (2, 1500);
    expectedMono.clear();
    for (int c = 0; c < 2; ++c)
        expectedMono.copyFrom (c, 0, mono, 0, 0, 1000);

    const auto a = readWithJuce (result.written[0]);
    const auto b = readWithJuce (result.written[1]);
    ASSERT_TRUE (a && b);
    EXPECT_EQ (a->channels, 2);
    EXPECT_EQ (a->length, 1500);
    EXPECT_LE (maxDifference (a->audio, expectedMono), quantum24);
    EXPECT_LE (maxDifference (b->audio, stereo), quantum24);
}

TEST (ExportWriter, IndependentReadersAgreeOnTheExportedFiles)
{
    LoadedProcessor loaded ({ { 0, "mono.wav", toneAt (0.5f, 1, 1001) }, { 1, "stereo.wav", toneAt (0.5f, 2, 12345) } });
    fixtures::TempFolder out;
    const auto result = ExportWriter::writeFiles (loaded.processor, {}, "Check", out.folder);
    ASSERT_EQ (result.written.size(), 2u);

    struct Reader
    {
        const char* program;
        juce::StringArray arguments;
        juce::StringArray expectedLines; // whitespace collapsed
    };
    const Reader readers[] = {
        { "sox", { "--i" }, { "Channels : 2", "Sample Rate : 44100", "Precision : 24-bit", "= 12345 samples",
                              "Sample Encoding: 24-bit Signed Integer PCM" } },
        { "ffprobe", { "-v", "error", "-show_entries", "stream=codec_name,sample_rate,channels,bits_per_sample,duration_ts",
                       "-of", "default=noprint_wrappers=1" },
          { "codec_name=pcm_s24le", "sample_rate=44100", "channels=2", "bits_per_sample=24", "duration_ts=12345" } },
        { "sndfile-info", {}, { "Sample Rate : 44100", "Frames : 12345", "Channels : 2", "Bit Width : 24" } },
    };

    int readersRun = 0;
    for (const auto& reader : readers)
    {
        const auto program = findProgram (reader.program);
        if (program == juce::File())
            continue;
        ++readersRun;
        for (const auto& file : result.written)
        {
            juce::StringArray command { program.getFullPathName() };
            command.addArray (reader.arguments);
            command.add (file.getFullPathName());
            const auto run = runProgram (command);
            EXPECT_EQ (run.exitCode, 0) << reader.program << ": " << run.err;
            juce::StringArray lines;
            lines.addLines (run.out);
            for (auto& line : lines)
                line = line.replaceCharacters ("\t", " ").trim().replace ("  ", " ").replace ("  ", " ").replace ("  ", " ");
            for (const auto& expected : reader.expectedLines)
                EXPECT_TRUE (lines.contains (expected) || run.out.contains (expected))
                    << reader.program << " on " << file.getFileName() << " lacks '" << expected << "':\n" << run.out;
        }
    }
    if (readersRun == 0)
        GTEST_SKIP() << "none of sox, ffprobe, sndfile-info is installed";
}

TEST (ExportWriter, MatchGainsAreAppliedAndTheLoudnessFieldLevelIsNot)
{
    LoadedProcessor loaded ({ { 0, "quiet.wav", toneAt (0.05f, 2, 44100) }, { 1, "loud.wav", toneAt (0.4f, 2, 44100) } });
    auto& processor = loaded.processor;
    ASSERT_TRUE (waitForMatch (processor));
    ASSERT_TRUE (processor.matchActive.load());
    // What the loudness field does when the listener types a lower target.
    processor.masterGain = processor.gainCeiling.load() * 0.25f;

    const auto gainOf = [&] (int slot) { return processor.trackGains[(size_t) slot].load() * processor.gainCeiling.load(); };
    ASSERT_GT (std::abs (gainOf (0) - gainOf (1)), 0.5f); // the match really changes the levels

    fixtures::TempFolder out;
    const auto matched = ExportWriter::writeFiles (processor, {}, "", out.folder);
    ASSERT_EQ (matched.written.size(), 2u);
    for (int slot = 0; slot < 2; ++slot)
    {
        const auto decoded = readWithJuce (matched.written[(size_t) slot]);
        ASSERT_TRUE (decoded.has_value());
        EXPECT_LE (maxDifference (decoded->audio, scaled (processor.slots[(size_t) slot].buffer, gainOf (slot))), 2 * quantum24);
    }

    // A ceiling below 1 scales every file too.
    processor.gainCeiling = 0.5f;
    const auto ceiling = ExportWriter::writeFiles (processor, {}, "ceiling", out.folder);
    const auto decoded = readWithJuce (ceiling.written[1]);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_LE (maxDifference (decoded->audio, scaled (processor.slots[1].buffer, processor.trackGains[1].load() * 0.5f)),
               2 * quantum24);

    // Switched off, the files are the tracks as loaded.
    processor.matchActive = false;
    const auto unity = ExportWriter::writeFiles (processor, {}, "off", out.folder);
    const auto plain = readWithJuce (unity.written[0]);
    ASSERT_TRUE (plain.has_value());
    EXPECT_LE (maxDifference (plain->audio, processor.slots[0].buffer), quantum24);
}

TEST (ExportWriter, NothingLoadedWritesNothing)
{
    QuillaneAudioProcessor processor;
    processor.prepareToPlay (rate, 512);
    fixtures::TempFolder out;
    const auto target = out.file ("not created");
    const auto result = ExportWriter::writeFiles (processor, {}, "Demo", target);
    EXPECT_TRUE (result.written.empty());
    EXPECT_TRUE (result.failed.empty());
    EXPECT_FALSE (target.exists());
}

TEST (ExportWriter, MissingFolderIsCreatedAndAnUnwritableOneFailsEveryFile)
{
    LoadedProcessor loaded ({ { 0, "one.wav", toneAt (0.1f) }, { 3, "four.wav", toneAt (0.2f) } });
    fixtures::TempFolder out;

    const auto nested = out.file ("new").getChildFile ("folder");
    EXPECT_EQ (ExportWriter::writeFiles (loaded.processor, {}, "", nested).written.size(), 2u);

    const auto blocker = out.file ("a file");
    ASSERT_TRUE (blocker.replaceWithText ("not a folder"));
    const auto result = ExportWriter::writeFiles (loaded.processor, {}, "", blocker);
    EXPECT_TRUE (result.written.empty());
    EXPECT_EQ (fileNames (result.failed), juce::StringArray ({ "A.wav", "D.wav" }));
    EXPECT_EQ (blocker.loadFileAsString(), "not a folder");
}

TEST (ExportWriter, GainTable)
{
    QuillaneAudioProcessor processor;
    struct Case
    {
        bool matchActive;
        float trackGain, ceiling, master, expected;
    };
    const Case cases[] = {
        { false, 0.3f, 0.5f, 0.1f, 1.0f },
        { true, 0.3f, 0.5f, 0.1f, 0.15f },
        { true, 2.0f, 1.0f, 0.5f, 2.0f },
        { true, 0.0f, 1.0f, 1.0f, 0.0f },
    };
    for (const auto& c : cases)
    {
        processor.matchActive = c.matchActive;
        processor.trackGains[3] = c.trackGain;
        processor.gainCeiling = c.ceiling;
        processor.masterGain = c.master;
        EXPECT_FLOAT_EQ (ExportWriter::exportGain (processor, 3), c.expected);
    }
}
