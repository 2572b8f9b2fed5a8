#include "EditorHarness.h"
#include "editor/EditorLayout.h"

namespace
{
juce::Point<int> trackBoxPoint (const LaneComponent& lane) { return { lane.getWidth() / 2, lane.getHeight() / 2 }; }

juce::StringArray pathsOf (const juce::Array<juce::File>& files)
{
    juce::StringArray paths;
    for (const auto& f : files)
        paths.add (f.getFullPathName());
    return paths;
}

juce::Array<juce::File> writeTracks (EditorHarness& h, int count, const juce::String& prefix = "file")
{
    juce::Array<juce::File> files;
    for (int i = 0; i < count; ++i)
        files.add (h.writeTrack (prefix + juce::String (i) + ".wav", 0.1));
    return files;
}
} // namespace

TEST (LaneWiring, OneDroppedFileLoadsIntoTheSlotBehindTheRow)
{
    EditorHarness h;
    auto& e = h.openEditor();
    const auto file = h.writeTrack ("dropped.wav", 0.2);
    gui::dropFiles (*e.lanes[1], trackBoxPoint (*e.lanes[1]), { file.getFullPathName() });
    EXPECT_TRUE (h.processor.slots[1].loaded);
    EXPECT_EQ (h.processor.slots[1].fileName, "dropped.wav");
    EXPECT_FALSE (h.processor.slots[0].loaded);
    EXPECT_EQ (h.nameInRow (1), "dropped.wav");

    // Dropped on a loaded row, it replaces the track.
    gui::dropFiles (*e.lanes[1], trackBoxPoint (*e.lanes[1]), { h.writeTrack ("other.wav", 0.2).getFullPathName() });
    EXPECT_EQ (h.processor.slots[1].fileName, "other.wav");
}

TEST (LaneWiring, FiveFilesOnTwoEmptyRowsAddThreeRowsAndGrowTheWindow)
{
    EditorHarness h;
    auto& e = h.openEditor();
    const auto files = writeTracks (h, 5);
    gui::dropFiles (*e.lanes[0], trackBoxPoint (*e.lanes[0]), pathsOf (files));

    ASSERT_EQ (e.lanes.size(), 5u);
    EXPECT_EQ (e.getHeight(), EditorLayout::heightFor (5, 1.0f));
    EXPECT_EQ (e.getHeight(), 349);
    for (int r = 0; r < 5; ++r)
    {
        EXPECT_EQ (e.lanes[(size_t) r]->row, r);
        EXPECT_EQ (h.processor.slots[(size_t) r].fileName, files[r].getFileName());
        EXPECT_EQ (e.lanes[(size_t) r]->getBounds().getY(), 99 + r * 40);
    }
}

TEST (LaneWiring, FilesFillFreeRowsFirstAndNeverMakeMoreThanTenRows)
{
    struct Case
    {
        int files;
        size_t lanesAfter;
        std::vector<int> slotsFilled;
    };
    const Case cases[] = { { 4, 8, { 1, 2, 3, 4 } }, { 12, 10, { 1, 2, 3, 4, 6, 7, 8, 9 } } };
    for (const auto& c : cases)
    {
        EditorHarness h;
        h.processor.loadFileIntoSlot (0, h.writeTrack ("keep0.wav", 0.1));
        h.processor.loadFileIntoSlot (5, h.writeTrack ("keep5.wav", 0.1));
        auto& e = h.openEditor();
        while (e.lanes.size() < 8)
            e.addLaneComponent ((int) e.lanes.size());
        e.resized();

        const auto files = writeTracks (h, c.files);
        gui::dropFiles (*e.lanes[6], trackBoxPoint (*e.lanes[6]), pathsOf (files));
        EXPECT_EQ (e.lanes.size(), c.lanesAfter) << c.files << " files";
        EXPECT_EQ (h.processor.slots[0].fileName, "keep0.wav");
        EXPECT_EQ (h.processor.slots[5].fileName, "keep5.wav");
        for (size_t i = 0; i < c.slotsFilled.size(); ++i)
            EXPECT_EQ (h.processor.slots[(size_t) c.slotsFilled[i]].fileName, files[(int) i].getFileName());
        EXPECT_EQ (h.processor.countLoadedSlots(), 2 + (int) c.slotsFilled.size());
    }
}

TEST (LaneWiring, DroppingFilesNeverShrinksATallerWindow)
{
    EditorHarness h;
    auto& e = h.openEditor();
    e.setSize (e.getWidth(), 500);
    const auto files = writeTracks (h, 3);
    gui::dropFiles (*e.lanes[0], trackBoxPoint (*e.lanes[0]), pathsOf (files));
    EXPECT_EQ (e.lanes.size(), 3u);
    EXPECT_EQ (e.getHeight(), 500);
    EXPECT_EQ (e.addTrackButton.getY(), 99 + 3 * 40 + 7);
}

TEST (LaneWiring, BadDropsLoadNothingAndKeepEverything)
{
    EditorHarness h;
    h.processor.loadFileIntoSlot (0, h.writeTrack ("kept.wav", 0.1));
    auto& e = h.openEditor();
    const auto folder = h.temp.file ("folder.wav");
    folder.createDirectory();
    const auto ogg = h.temp.file ("track.ogg");
    fixtures::writeAudioFile (ogg, fixtures::makeSine (1, 4800, 48000.0, 440.0, 0.5), 48000.0, "Ogg");
    const auto notAudio = h.temp.file ("notes.wav");
    notAudio.replaceWithText ("not audio at all");

    const juce::StringArray drops[] = {
        { folder.getFullPathName() },
        { h.temp.file ("missing.wav").getFullPathName() },
        { ogg.getFullPathName() },
        { folder.getFullPathName(), ogg.getFullPathName(), h.temp.file ("gone.flac").getFullPathName() },
        { notAudio.getFullPathName() },
    };
    for (const auto& paths : drops)
    {
        gui::dropFiles (*e.lanes[0], trackBoxPoint (*e.lanes[0]), paths);
        gui::dropFiles (*e.lanes[1], trackBoxPoint (*e.lanes[1]), paths);
        EXPECT_EQ (h.processor.slots[0].fileName, "kept.wav") << paths.joinIntoString (", ");
        EXPECT_FALSE (h.processor.slots[1].loaded) << paths.joinIntoString (", ");
        EXPECT_EQ (e.lanes.size(), 2u);
    }
}

TEST (LaneWiring, TwentyFilesWithUpperCaseAndForeignNamesFillTheFreeRowsInOrder)
{
    EditorHarness h;
    auto& e = h.openEditor();
    juce::StringArray paths;
    juce::StringArray expectedNames;
    for (int i = 0; i < 20; ++i)
    {
        // Every fourth is an Ogg file (skipped), every fifth has an upper-case extension.
        const auto name = "t" + juce::String (i).paddedLeft ('0', 2) + (i % 4 == 3 ? ".ogg" : (i % 5 == 0 ? ".WAV" : ".wav"));
        const auto file = h.temp.file (name);
        fixtures::writeAudioFile (file, fixtures::makeSine (1, 2400, 48000.0, 440.0, 0.5), 48000.0,
                                  name.endsWith (".ogg") ? "Ogg" : "WAV");
        paths.add (file.getFullPathName());
        if (! name.endsWith (".ogg"))
            expectedNames.add (name);
    }
    gui::dropFiles (*e.lanes[0], trackBoxPoint (*e.lanes[0]), paths);
    ASSERT_EQ (e.lanes.size(), 10u);
    EXPECT_FALSE (e.addTrackButton.isVisible());
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ (h.processor.slots[(size_t) slot].fileName, expectedNames[slot]);
}

TEST (LaneWiring, ClickingClearsInTheClearAreaAndSelectsElsewhere)
{
    EditorHarness h;
    h.loadTrack (0);
    h.loadTrack (1);
    auto& e = h.openEditor();
    h.tick();
    h.processor.selectSlot (0);

    auto& laneB = *e.lanes[1];
    gui::click (laneB, { 10, laneB.getHeight() / 2 });
    EXPECT_EQ (h.processor.selectedSlot.load(), 1);
    gui::click (laneB, trackBoxPoint (laneB));
    EXPECT_EQ (h.processor.selectedSlot.load(), 1);
    EXPECT_TRUE (h.processor.slots[1].loaded);

    // A right click does nothing at all.
    gui::click (*e.lanes[0], { 10, 10 }, {}, true);
    EXPECT_EQ (h.processor.selectedSlot.load(), 1);

    h.processor.play();
    gui::click (laneB, { laneB.getWidth() - 20, laneB.getHeight() / 2 });
    EXPECT_FALSE (h.processor.slots[1].loaded);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (e.lanes.size(), 2u); // the row stays

    // An empty row's selector flashes and selects nothing.
    h.tick();
    h.processor.selectSlot (0);
    gui::click (laneB, { 10, laneB.getHeight() / 2 });
    EXPECT_EQ (laneB.flashTicks, 8);
    EXPECT_EQ (h.processor.selectedSlot.load(), 0);
}

TEST (LaneWiring, WhileBlindRowsActOnTheSlotBehindThem)
{
    EditorHarness h;
    for (int slot = 0; slot < 3; ++slot)
        h.loadTrack (slot);
    auto& e = h.openEditor();
    h.tick();
    h.processor.blindOrder = { 1, 2, 0, 3, 4, 5, 6, 7, 8, 9 };
    h.processor.blindMode = true;
    h.tick();

    // Blind: a click in the clear area selects the track instead.
    h.processor.selectSlot (1);
    auto& laneC = *e.lanes[2];
    gui::click (laneC, { laneC.getWidth() - 20, laneC.getHeight() / 2 });
    EXPECT_EQ (h.processor.selectedSlot.load(), 0);
    EXPECT_TRUE (h.processor.slots[0].loaded);

    gui::dropFiles (laneC, trackBoxPoint (laneC), { h.writeTrack ("new.wav", 0.1).getFullPathName() });
    EXPECT_EQ (h.processor.slots[0].fileName, "new.wav");

    // Names shown again, the rows keep their tracks: clearing row C empties slot 0.
    gui::clickCentre (e.blindButton);
    EXPECT_FALSE (h.processor.blindMode);
    h.tick();
    EXPECT_EQ (laneC.fileName, "new.wav");
    gui::click (laneC, { laneC.getWidth() - 20, laneC.getHeight() / 2 });
    EXPECT_FALSE (h.processor.slots[0].loaded);
    EXPECT_TRUE (h.processor.slots[1].loaded);
    EXPECT_TRUE (h.processor.slots[2].loaded);
}
