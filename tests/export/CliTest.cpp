#include "ExportTestSupport.h"

#include "AudioFixtures.h"
#include "PluginProcessor.h"
#include "TrackDecoder.h"
#include "analysis/LoudnessAnalyzer.h"
#include "export/StoredNameWav.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace exporttest;

namespace
{
juce::String twoDecimals (double value)
{
    if (! (value > LoudnessAnalyzer::noValue))
        return "-inf";
    char text[64];
    std::snprintf (text, sizeof (text), "%.2f", value);
    return text;
}

juce::StringArray lineList (std::initializer_list<juce::String> lines)
{
    juce::StringArray result;
    for (const auto& line : lines)
        result.add (line);
    return result;
}

juce::StringArray linesOf (const juce::String& text)
{
    juce::StringArray lines;
    lines.addLines (text.trimEnd());
    lines.removeEmptyStrings();
    return lines;
}

juce::StringArray sortedWavFiles (const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles (juce::File::findFiles, false, "*.wav"))
        names.add (f.getFullPathName());
    names.sort (false);
    return names;
}

/** Writes a float WAV source track and returns its path. */
juce::String writeSource (const fixtures::TempFolder& temp, const juce::String& name, float amplitude, int length,
                          double rate = 44100.0, int channels = 2)
{
    const auto file = temp.file (name);
    EXPECT_TRUE (fixtures::writeAudioFile (file, fixtures::makeSine (channels, length, rate, 997.0, amplitude), rate,
                                           "WAV", 32));
    return file.getFullPathName();
}
} // namespace

TEST (Cli, HelpDocumentsEveryCommandAndOption)
{
    for (const auto& args : { juce::StringArray { "--help" }, juce::StringArray { "help" },
                              juce::StringArray { "-h" }, juce::StringArray { "export", "--help" } })
    {
        const auto run = runCli (args);
        EXPECT_EQ (run.exitCode, 0) << args.joinIntoString (" ");
        EXPECT_TRUE (run.err.isEmpty());
        for (const auto* word : { "measure", "reveal", "export", "--rate", "--match", "--name", "--out", "Exit status" })
            EXPECT_TRUE (run.out.contains (word)) << word;
    }
}

TEST (Cli, UsageErrorsExitWithTwo)
{
    fixtures::TempFolder temp;
    const auto source = writeSource (temp, "a.wav", 0.1f, 1000);
    juce::StringArray eleven { "export", "--out", temp.file ("out").getFullPathName() };
    for (int i = 0; i < 11; ++i)
        eleven.add (source);

    const std::vector<juce::StringArray> cases {
        {},
        { "frobnicate", source },
        { "measure" },
        { "measure", "--rate", "fast", source },
        { "measure", "--rate", "100", source },
        { "measure", "--rate", "44100.5", source },
        { "measure", "--rate" },
        { "measure", "--bogus", source },
        { "reveal", "--rate", "48000", source },
        { "reveal", "--match", source },
        { "export", source },
        { "export", "--out", "", source },
        { "export", "--out", temp.file ("out").getFullPathName() },
        { "export", "--match", "--out", temp.file ("out").getFullPathName(), source },
        eleven,
    };
    for (const auto& args : cases)
    {
        const auto run = runCli (args);
        EXPECT_EQ (run.exitCode, 2) << args.joinIntoString (" ");
        EXPECT_TRUE (run.out.isEmpty()) << args.joinIntoString (" ");
        EXPECT_TRUE (run.err.startsWith ("quillane-cli: ")) << run.err;
    }
    EXPECT_FALSE (temp.file ("out").exists());
}

//==============================================================================
TEST (Cli, MeasurePrintsWhatTheLoaderMeasures)
{
    fixtures::TempFolder temp;
    const auto tone = writeSource (temp, "tone.wav", 0.5f, 3 * 44100);
    const auto quiet = writeSource (temp, "quiet mono.wav", 0.05f, 2 * 48000, 48000.0, 1);
    const auto silence = temp.file ("silence.wav");
    ASSERT_TRUE (fixtures::writeAudioFile (silence, fixtures::makeBuffer (2, 44100, [] (int, int) { return 0.0f; }), 44100.0));

    // At the file's own rate: the decoded track as it is.
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    juce::StringArray expected;
    for (const auto& path : { tone, quiet, silence.getFullPathName() })
    {
        const auto decoded = TrackDecoder::decodeFile (formats, juce::File (path));
        ASSERT_TRUE (decoded.has_value());
        expected.add (path + "\t" + twoDecimals (LoudnessAnalyzer::measureIntegratedLUFS (decoded->buffer, decoded->sampleRate))
                      + "\t" + twoDecimals (LoudnessAnalyzer::measureTruePeakDBTP (decoded->buffer, decoded->sampleRate)));
    }
    const auto own = runCli ({ "measure", tone, quiet, silence.getFullPathName() });
    EXPECT_EQ (own.exitCode, 0) << own.err;
    EXPECT_EQ (linesOf (own.out), expected);
    EXPECT_NEAR (linesOf (own.out)[0].fromLastOccurrenceOf ("\t", false, false).getDoubleValue(), -6.02, 0.05)
        << own.out; // a sine at half scale
    EXPECT_TRUE (linesOf (own.out)[2].endsWith ("\t-inf\t-inf")) << own.out;

    // With --rate: exactly what a slot holds after loading in a host at that rate.
    QuillaneAudioProcessor processor;
    processor.prepareToPlay (96000.0, 512);
    processor.loadFileIntoSlot (0, juce::File (tone));
    processor.loadFileIntoSlot (1, juce::File (quiet));
    const auto resampled = runCli ({ "measure", "--rate", "96000", tone, quiet });
    EXPECT_EQ (resampled.exitCode, 0) << resampled.err;
    EXPECT_EQ (linesOf (resampled.out),
               lineList ({ tone + "\t" + twoDecimals (processor.slots[0].lufs) + "\t" + twoDecimals (processor.slots[0].truePeakDb),
                           quiet + "\t" + twoDecimals (processor.slots[1].lufs) + "\t" + twoDecimals (processor.slots[1].truePeakDb) }));
}

TEST (Cli, MeasureGoesOnPastUnreadableFilesAndExitsWithOne)
{
    fixtures::TempFolder temp;
    const auto tone = writeSource (temp, "tone.wav", 0.5f, 44100);
    const auto text = temp.file ("notes.wav");
    ASSERT_TRUE (text.replaceWithText ("not audio at all"));
    const auto missing = temp.file ("missing.wav").getFullPathName();

    const auto run = runCli ({ "measure", missing, tone, text.getFullPathName() });
    EXPECT_EQ (run.exitCode, 1);
    const auto out = linesOf (run.out);
    ASSERT_EQ (out.size(), 1);
    EXPECT_TRUE (out[0].startsWith (tone + "\t"));
    const auto err = linesOf (run.err);
    ASSERT_EQ (err.size(), 2);
    EXPECT_EQ (err[0], "quillane-cli: " + missing + ": no such file");
    EXPECT_EQ (err[1], "quillane-cli: " + text.getFullPathName() + ": cannot be decoded as audio");
}

//==============================================================================
TEST (Cli, RevealPrintsStoredNames)
{
    fixtures::TempFolder temp;
    const auto audio = fixtures::makeSine (2, 100, 48000.0, 440.0, 0.1);
    const auto named = temp.file ("x.wav");
    const auto unicode = juce::String::fromUTF8 ("Mélodie – 音楽.flac");
    ASSERT_TRUE (StoredNameWav::writeWav (audio, 48000.0, named, unicode));
    const auto plain = writeSource (temp, "plain.wav", 0.1f, 100);
    const auto sneaky = temp.file ("y.wav");
    ASSERT_TRUE (StoredNameWav::writeWav (audio, 48000.0, sneaky, "two\nlines\there"));

    const auto run = runCli ({ "reveal", named.getFullPathName(), plain, sneaky.getFullPathName() });
    EXPECT_EQ (run.exitCode, 0) << run.err;
    const auto bad = juce::String::charToString (0xFFFD);
    EXPECT_EQ (linesOf (run.out), lineList ({ named.getFullPathName() + "\t" + unicode, plain + "\t",
                                              sneaky.getFullPathName() + "\ttwo" + bad + "lines" + bad + "here" }));

    const auto missing = runCli ({ "reveal", temp.file ("gone.wav").getFullPathName(), named.getFullPathName() });
    EXPECT_EQ (missing.exitCode, 1);
    EXPECT_EQ (linesOf (missing.out), juce::StringArray (juce::String (named.getFullPathName() + "\t" + unicode)));
    EXPECT_EQ (linesOf (missing.err), juce::StringArray (juce::String ("quillane-cli: " + temp.file ("gone.wav").getFullPathName() + ": no such file")));
}

//==============================================================================
TEST (Cli, ExportMakesABlindMatchedSetThatRevealUnlocks)
{
    fixtures::TempFolder temp;
    const juce::StringArray sources { writeSource (temp, "Loud master.wav", 0.6f, 44100),
                                      writeSource (temp, "Quiet master.wav", 0.05f, 30000),
                                      writeSource (temp, "Mono take.wav", 0.2f, 20000, 44100.0, 1) };
    const auto out = temp.file ("blind set");

    juce::StringArray args { "export", "--match", "--name", "Demo", "--rate", "48000", "--out", out.getFullPathName() };
    args.addArray (sources);
    const auto run = runCli (args);
    ASSERT_EQ (run.exitCode, 0) << run.err;

    const juce::StringArray expectedFiles { out.getChildFile ("Demo_A.wav").getFullPathName(),
                                            out.getChildFile ("Demo_B.wav").getFullPathName(),
                                            out.getChildFile ("Demo_C.wav").getFullPathName() };
    EXPECT_EQ (linesOf (run.out), expectedFiles);
    EXPECT_EQ (sortedWavFiles (out), expectedFiles);
    for (const auto& source : sources)
    {
        const auto name = juce::File (source).getFileNameWithoutExtension();
        EXPECT_FALSE (run.out.contains (name) || run.err.contains (name)) << "the output tells where " << name << " went";
    }

    juce::StringArray revealArgs { "reveal" };
    revealArgs.addArray (expectedFiles);
    const auto revealed = runCli (revealArgs);
    ASSERT_EQ (revealed.exitCode, 0);
    const auto lines = linesOf (revealed.out);
    ASSERT_EQ (lines.size(), 3);

    // Each letter holds the track its stored name names, scaled by one gain,
    // at 48 kHz and 24 bits; the loudest true peak of the set is at -0.1 dBTP.
    QuillaneAudioProcessor reference;
    reference.prepareToPlay (48000.0, 512);
    std::set<juce::String> names;
    double loudestPeak = -200.0;
    for (int i = 0; i < 3; ++i)
    {
        const auto storedName = lines[i].fromFirstOccurrenceOf ("\t", false, false);
        names.insert (storedName);
        reference.loadFileIntoSlot (i, temp.file (storedName));
        ASSERT_TRUE (reference.slots[(size_t) i].loaded) << storedName;
        const auto& track = reference.slots[(size_t) i].buffer;

        const auto exported = readWithJuce (juce::File (expectedFiles[i]));
        ASSERT_TRUE (exported.has_value());
        EXPECT_EQ (exported->sampleRate, 48000.0);
        EXPECT_EQ (exported->bitsPerSample, 24);
        EXPECT_EQ (exported->channels, 2);
        EXPECT_EQ (exported->length, 48000);

        const auto gain = exported->audio.getMagnitude (0, 0, track.getNumSamples()) / track.getMagnitude (0, 0, track.getNumSamples());
        juce::AudioBuffer<float> expected (2, 48000);
        expected.clear();
        for (int c = 0; c < 2; ++c)
            expected.copyFrom (c, 0, track.getReadPointer (std::min (c, track.getNumChannels() - 1)), track.getNumSamples(), gain);
        EXPECT_LE (maxDifference (exported->audio, expected), 1.0e-4f) << storedName;
        // Measured over the track itself: the padding after an abruptly cut
        // sine adds interpolation ringing that the match never saw.
        juce::AudioBuffer<float> trackPart (2, track.getNumSamples());
        for (int c = 0; c < 2; ++c)
            trackPart.copyFrom (c, 0, exported->audio, c, 0, track.getNumSamples());
        loudestPeak = std::max (loudestPeak, LoudnessAnalyzer::measureTruePeakDBTP (trackPart, 48000.0));
    }
    EXPECT_EQ (names, (std::set<juce::String> { "Loud master.wav", "Quiet master.wav", "Mono take.wav" }));
    EXPECT_NEAR (loudestPeak, -0.1, 0.02);
}

TEST (Cli, ExportWithoutMatchKeepsLevelsAtTheDefaultRate)
{
    fixtures::TempFolder temp;
    const auto source = writeSource (temp, "only.wav", 0.3f, 4410);
    const auto out = temp.file ("out");
    const auto run = runCli ({ "export", "--out", out.getFullPathName(), source });
    ASSERT_EQ (run.exitCode, 0) << run.err;
    EXPECT_EQ (linesOf (run.out), juce::StringArray (juce::String (out.getChildFile ("A.wav").getFullPathName())));

    QuillaneAudioProcessor reference;
    reference.prepareToPlay (48000.0, 512);
    reference.loadFileIntoSlot (0, juce::File (source));
    const auto exported = readWithJuce (out.getChildFile ("A.wav"));
    ASSERT_TRUE (exported.has_value());
    EXPECT_EQ (exported->sampleRate, 48000.0);
    EXPECT_LE (maxDifference (exported->audio, reference.slots[0].buffer), 2 * quantum24);

    // A second export into the same folder adds a number instead of overwriting.
    const auto again = runCli ({ "export", "--out", out.getFullPathName(), source });
    ASSERT_EQ (again.exitCode, 0) << again.err;
    EXPECT_EQ (linesOf (again.out), juce::StringArray (juce::String (out.getChildFile ("A(2).wav").getFullPathName())));
}

TEST (Cli, ExportShufflesTheLetters)
{
    fixtures::TempFolder temp;
    const juce::StringArray sources { writeSource (temp, "one.wav", 0.1f, 100), writeSource (temp, "two.wav", 0.2f, 100),
                                      writeSource (temp, "three.wav", 0.3f, 100) };
    std::set<juce::String> firstLetters;
    // Six arrangements: ten exports all putting one track first would happen
    // by chance once in 10^7 runs.
    for (int i = 0; i < 10; ++i)
    {
        const auto out = temp.file ("out" + juce::String (i));
        juce::StringArray args { "export", "--out", out.getFullPathName() };
        args.addArray (sources);
        ASSERT_EQ (runCli (args).exitCode, 0);
        firstLetters.insert (StoredNameWav::readStoredNameChunk (out.getChildFile ("A.wav")).value_or ("?"));
    }
    EXPECT_GT (firstLetters.size(), 1u);
    EXPECT_EQ (firstLetters.count ("?"), 0u);
}

TEST (Cli, ExportErrorsLeaveNoFiles)
{
    fixtures::TempFolder temp;
    const auto good = writeSource (temp, "good.wav", 0.1f, 1000);
    const auto text = temp.file ("text.wav");
    ASSERT_TRUE (text.replaceWithText ("no audio"));
    const auto out = temp.file ("out");

    const auto missing = runCli ({ "export", "--out", out.getFullPathName(), good, temp.file ("gone.wav").getFullPathName() });
    EXPECT_EQ (missing.exitCode, 1);
    EXPECT_EQ (linesOf (missing.err), juce::StringArray (juce::String ("quillane-cli: " + temp.file ("gone.wav").getFullPathName() + ": no such file")));
    EXPECT_TRUE (sortedWavFiles (out).isEmpty());

    const auto undecodable = runCli ({ "export", "--out", out.getFullPathName(), text.getFullPathName(), good });
    EXPECT_EQ (undecodable.exitCode, 1);
    EXPECT_TRUE (undecodable.err.contains ("cannot be decoded as audio"));
    EXPECT_TRUE (sortedWavFiles (out).isEmpty());

    const auto intoFile = runCli ({ "export", "--out", text.getFullPathName(), good });
    EXPECT_EQ (intoFile.exitCode, 1);
    EXPECT_EQ (linesOf (intoFile.err), juce::StringArray (juce::String ("quillane-cli: " + text.getFullPathName() + ": is a file, not a folder")));
    EXPECT_EQ (text.loadFileAsString(), "no audio");
}

TEST (Cli, ExportThatRunsOutOfSpaceRemovesWhatItWrote)
{
    const auto prlimit = findProgram ("prlimit");
    if (prlimit == juce::File())
        GTEST_SKIP() << "prlimit is not installed";

    fixtures::TempFolder temp;
    // Equal lengths, so the files differ only by their stored names.
    const juce::StringArray sources { writeSource (temp, "s.wav", 0.1f, 4800),
                                      writeSource (temp, juce::String::repeatedString ("long", 50) + ".wav", 0.1f, 4800) };
    const auto trial = temp.file ("trial");
    juce::StringArray args { "export", "--out", trial.getFullPathName() };
    args.addArray (sources);
    ASSERT_EQ (runCli (args).exitCode, 0);
    juce::int64 smallest = std::numeric_limits<juce::int64>::max();
    for (const auto& f : sortedWavFiles (trial))
        smallest = std::min (smallest, juce::File (f).getSize());

    // Files may grow to the smaller export only: one file is written, the
    // other fails, whichever letter each gets.
    const auto out = temp.file ("out");
    juce::StringArray limited { prlimit.getFullPathName(), "--fsize=" + juce::String (smallest), QUILLANE_CLI_PATH,
                                "export", "--out", out.getFullPathName() };
    limited.addArray (sources);
    const auto run = runProgram (limited, "trap '' XFSZ");
    EXPECT_EQ (run.exitCode, 1) << run.err;
    EXPECT_TRUE (run.err.contains ("cannot be written")) << run.err;
    EXPECT_TRUE (run.out.isEmpty());
    EXPECT_TRUE (out.isDirectory());
    EXPECT_TRUE (sortedWavFiles (out).isEmpty());
}
