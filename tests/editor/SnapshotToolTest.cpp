#include "AudioFixtures.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
struct SnapshotRun
{
    int exitCode = -1;
    juce::String output;
    juce::Image image;
};

SnapshotRun runSnapshot (const juce::File& out, const juce::StringArray& arguments)
{
    juce::StringArray command { QUILLANE_SNAPSHOT_TOOL, "--out", out.getFullPathName() };
    command.addArray (arguments);
    SnapshotRun run;
    juce::ChildProcess process;
    if (! process.start (command))
        return run;
    run.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    run.exitCode = (int) process.getExitCode();
    run.image = juce::ImageFileFormat::loadFrom (out);
    return run;
}

struct Tracks
{
    Tracks()
    {
        const std::pair<const char*, double> lengths[] = { { "first.wav", 2.0 }, { "second.wav", 1.0 },
                                                            { "third.wav", 0.5 } };
        for (const auto& [name, seconds] : lengths)
        {
            const auto file = temp.file (name);
            fixtures::writeAudioFile (file, fixtures::makeSine (2, (int) (seconds * 44100), 44100.0, 440.0, 0.5),
                                      44100.0);
            paths.add (file.getFullPathName());
        }
    }

    fixtures::TempFolder temp;
    juce::StringArray paths;
};
} // namespace

TEST (SnapshotTool, WritesTheWindowAtItsExactSizeInBothThemes)
{
    Tracks tracks;
    struct Case
    {
        juce::StringArray options;
        int width, height;
        juce::uint32 background, selector;
    };
    const Case cases[] = {
        { { "--select", "B" }, 739, 269, 0xFFDCD9D5, 0xFFB95D26 },
        { { "--zoom", "2", "--dark", "--select", "1" }, 1478, 538, 0xFF1A1A1A, 0xFF6E4B35 },
        { { "--zoom", "1.5", "--rate", "44100" }, 1108, 403, 0xFFDCD9D5, 0 },
    };
    for (const auto& c : cases)
    {
        auto args = c.options;
        args.addArray (tracks.paths);
        const auto out = tracks.temp.file ("window.png");
        const auto run = runSnapshot (out, args);
        ASSERT_EQ (run.exitCode, 0) << run.output;
        ASSERT_TRUE (run.image.isValid());
        EXPECT_EQ (run.image.getWidth(), c.width);
        EXPECT_EQ (run.image.getHeight(), c.height);
        EXPECT_EQ (run.image.getPixelAt (3, 3).getARGB(), c.background);

        // Row B's selector box: filled with the accent when selected.
        const auto s = (float) c.width / 1478.0f;
        const auto t = [s] (float v) { return (int) (v * s); };
        const auto laneY = t (199) + (t (58) + t (22));
        const auto selectorCentre = juce::Point<int> (t (87) + t (58) / 2, laneY + t (58) / 2);
        if (c.selector != 0)
            EXPECT_EQ (run.image.getPixelAt (selectorCentre.x, selectorCentre.y).getARGB(), c.selector);
        else
            EXPECT_EQ (run.image.getPixelAt (selectorCentre.x, selectorCentre.y).getARGB(), c.background);
    }
}

TEST (SnapshotTool, BlindShowsSolidBlocksOrWaveformsOnTheSharedTimeline)
{
    Tracks tracks;
    const auto out = tracks.temp.file ("blind.png");
    auto args = juce::StringArray { "--zoom", "2", "--blind" };
    args.addArray (tracks.paths);
    auto run = runSnapshot (out, args);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    // At zoom 2 the track boxes start at x 211 and are 900 wide; lanes start at y 199, 279, 359.
    for (const auto y : { 199 + 29, 279 + 29, 359 + 29 })
        EXPECT_EQ (run.image.getPixelAt (900, y).getARGB(), 0xFF2B2B2Bu) << y;

    args = { "--zoom", "2", "--blind", "--show-waveforms" };
    args.addArray (tracks.paths);
    run = runSnapshot (out, args);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    // Whatever the shuffle, every lane has bars at its start, and exactly one
    // lane (the longest track) reaches past the middle of the timeline.
    int pastMiddle = 0;
    for (const auto y : { 199 + 29, 279 + 29, 359 + 29 })
    {
        EXPECT_NE (run.image.getPixelAt (213, y).getARGB(), 0xFFDCD9D5u) << y;
        pastMiddle += run.image.getPixelAt (211 + 700, y).getARGB() != 0xFFDCD9D5u ? 1 : 0;
    }
    EXPECT_EQ (pastMiddle, 1);
}

TEST (SnapshotTool, RefusesBadArgumentsAndUnloadableFiles)
{
    fixtures::TempFolder temp;
    const auto out = temp.file ("x.png");
    const juce::StringArray bad[] = {
        {},
        { "--zoom", "zero" },
        { "--select", "K" },
        { "--rate" },
        { "--unknown" },
        { temp.file ("missing.wav").getFullPathName() },
    };
    for (const auto& args : bad)
    {
        // Without any argument there is no --out either.
        juce::StringArray command { QUILLANE_SNAPSHOT_TOOL };
        if (! args.isEmpty())
            command.addArray ({ "--out", out.getFullPathName() });
        command.addArray (args);
        juce::ChildProcess process;
        ASSERT_TRUE (process.start (command));
        process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        EXPECT_NE (process.getExitCode(), 0u) << command.joinIntoString (" ");
        EXPECT_FALSE (out.exists()) << command.joinIntoString (" ");
    }

    juce::ChildProcess help;
    ASSERT_TRUE (help.start (juce::StringArray { QUILLANE_SNAPSHOT_TOOL, "--help" }));
    const auto text = help.readAllProcessOutput();
    help.waitForProcessToFinish (60000);
    EXPECT_EQ (help.getExitCode(), 0u);
    EXPECT_TRUE (text.contains ("usage: quillane-snapshot --out FILE.png"));
}
