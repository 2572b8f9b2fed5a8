#include "EditorHarness.h"

#include <atomic>
#include <thread>

namespace
{
/** The host's audio thread: renders blocks through processBlock until stopped. */
struct AudioThread
{
    explicit AudioThread (QuillaneAudioProcessor& p)
        : thread ([this, &p] {
              juce::AudioBuffer<float> buffer (2, 512);
              juce::MidiBuffer midi;
              while (! stop.load())
              {
                  p.processBlock (buffer, midi);
                  ++blocks;
                  std::this_thread::sleep_for (std::chrono::milliseconds (2));
              }
          })
    {
    }
    ~AudioThread()
    {
        stop = true;
        thread.join();
    }

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };
    std::thread thread;
};

juce::StringArray namesByRow (EditorHarness& h)
{
    h.tick();
    juce::StringArray names;
    for (const auto& lane : h.editor->lanes)
        names.add (lane->letter + "=" + lane->fileName);
    return names;
}
} // namespace

TEST (EditorLifecycle, TheWindowClosesAndReopensWhileThePluginPlays)
{
    EditorHarness h;
    // Long enough that the transport cannot reach the end while the window
    // opens and closes five times.
    for (int slot = 0; slot < 3; ++slot)
        h.processor.loadFileIntoSlot (slot, h.writeTrack ("song" + juce::String (slot) + ".wav", 20.0));
    h.openEditor();
    h.tick();
    h.processor.selectSlot (2);
    h.processor.play();

    AudioThread audio (h.processor);
    for (int round = 0; round < 5; ++round)
    {
        h.closeEditor();
        EXPECT_EQ (h.processor.getActiveEditor(), nullptr);
        ASSERT_TRUE (gui::pumpUntil ([&audio, round] { return audio.blocks.load() > round * 4 + 4; }));
        auto& e = h.openEditor ({ 40 + round * 10, 40 });
        EXPECT_TRUE (h.processor.playing.load());
        ASSERT_EQ (e.lanes.size(), 3u);
        h.tick();
        EXPECT_TRUE (e.playButton.getToggleState());
        EXPECT_TRUE (e.lanes[2]->selected);
        EXPECT_EQ (e.lanes[1]->fileName, "song1.wav");
        // Let the real timer and the window's paints run against the playing processor.
        gui::pumpFor (100);
    }
    EXPECT_GT (h.processor.playPosition.load(), 0);
}

TEST (EditorLifecycle, ANewEditorShowsEveryLoadedSlotEvenBeyondTheLoadedCount)
{
    EditorHarness h;
    h.loadTrack (0);
    h.processor.loadFileIntoSlot (5, h.writeTrack ("far.wav", 0.2));
    auto& first = h.openEditor();
    ASSERT_EQ (first.lanes.size(), 6u);
    h.closeEditor();

    auto& e = h.openEditor();
    ASSERT_EQ (e.lanes.size(), 6u);
    EXPECT_EQ (e.getHeight(), 389);
    EXPECT_EQ (h.nameInRow (5), "far.wav");

    // Row F can be cleared like any other.
    auto& laneF = *e.lanes[5];
    gui::click (laneF, { laneF.getWidth() - 20, laneF.getHeight() / 2 });
    EXPECT_FALSE (h.processor.slots[5].loaded);
}

TEST (EditorLifecycle, ReopeningDuringABlindTestKeepsTheLetters)
{
    EditorHarness h;
    for (int slot = 0; slot < 5; ++slot)
        h.loadTrack (slot);
    auto& e = h.openEditor();
    h.tick();
    // Shuffle until the letters no longer follow the load order.
    gui::clickCentre (e.blindButton);
    for (int i = 0; i < 50 && h.processor.blindOrder == std::vector<int> ({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }); ++i)
        gui::clickCentre (e.shuffleButton);
    ASSERT_NE (h.processor.blindOrder, std::vector<int> ({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    const auto before = namesByRow (h);
    const auto selectedRow = [&h] {
        for (const auto& lane : h.editor->lanes)
            if (lane->selected)
                return lane->row;
        return -1;
    };
    const auto rowBefore = selectedRow();

    h.closeEditor();
    h.openEditor();
    EXPECT_EQ (namesByRow (h), before);
    EXPECT_EQ (selectedRow(), rowBefore);
    EXPECT_TRUE (h.editor->lanes[0]->blind);
}

TEST (EditorLifecycle, ANewEditorWithBlindRowsBeyondTheLastSlotShowsThem)
{
    EditorHarness h;
    h.loadTrack (0);
    h.loadTrack (1);
    // Slot 1 sits behind row D (a permutation drawn while other rows held tracks).
    h.processor.blindOrder = { 0, 3, 2, 1, 4, 5, 6, 7, 8, 9 };
    auto& e = h.openEditor();
    ASSERT_EQ (e.lanes.size(), 4u);
    h.tick();
    EXPECT_TRUE (e.lanes[3]->loaded);
    EXPECT_FALSE (e.lanes[1]->loaded);
}
