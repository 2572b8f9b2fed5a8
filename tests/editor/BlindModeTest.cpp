#include "EditorHarness.h"
#include "editor/RowMapping.h"
#include "export/BlindOrder.h"

#include <set>

namespace
{
using Loaded = std::array<bool, 10>;

Loaded loadedFrom (std::initializer_list<int> slots)
{
    Loaded loaded {};
    for (auto s : slots)
        loaded[(size_t) s] = true;
    return loaded;
}

/** Rows of empty slots map to themselves and the rows of loaded slots hold
    exactly the loaded slots. */
void expectBlindInvariant (const std::vector<int>& order, const Loaded& loaded)
{
    ASSERT_EQ (order.size(), 10u);
    std::set<int> seen (order.begin(), order.end());
    EXPECT_EQ (seen.size(), 10u) << "a permutation";
    for (int r = 0; r < 10; ++r)
    {
        if (! loaded[(size_t) r])
            EXPECT_EQ (order[(size_t) r], r) << "row " << r;
        else
            EXPECT_TRUE (loaded[(size_t) order[(size_t) r]]) << "row " << r;
    }
}

int rowOf (const EditorHarness& h, int slot) { return RowMapping::rowOfSlot (h.processor.blindOrder, slot); }
} // namespace

TEST (BlindPermutation, KeepsEmptyRowsAndReachesEveryArrangementOfTheLoadedSlots)
{
    struct Case
    {
        Loaded loaded;
        size_t arrangements;
    };
    const Case cases[] = { { loadedFrom ({ 0, 1, 4 }), 6 }, { loadedFrom ({ 2, 3, 7, 9 }), 24 },
                           { loadedFrom ({ 5 }), 1 }, { loadedFrom ({}), 1 } };
    juce::Random random (20261211);
    for (const auto& c : cases)
    {
        std::set<std::vector<int>> arrangements;
        for (int draw = 0; draw < 3000; ++draw)
        {
            const auto order = BlindOrder::makeBlindPermutation (c.loaded, random);
            const std::vector<int> asVector (order.begin(), order.end());
            expectBlindInvariant (asVector, c.loaded);
            arrangements.insert (asVector);
        }
        EXPECT_EQ (arrangements.size(), c.arrangements);
    }
}

TEST (BlindMode, SwitchingOnShufflesTheLoadedRowsAndKeepsTheSelectionOnItsRow)
{
    EditorHarness h;
    for (int slot : { 0, 1, 4 })
        h.loadTrack (slot);
    auto& e = h.openEditor();
    ASSERT_EQ (e.lanes.size(), 5u);
    h.tick();
    h.processor.selectSlot (1);

    gui::clickCentre (e.blindButton);
    EXPECT_TRUE (h.processor.blindMode);
    expectBlindInvariant (h.processor.blindOrder, loadedFrom ({ 0, 1, 4 }));
    EXPECT_EQ (h.processor.selectedSlot.load(), h.processor.blindOrder[1]);

    h.tick();
    EXPECT_TRUE (e.blindButton.getToggleState());
    for (const auto& lane : e.lanes)
    {
        EXPECT_TRUE (lane->blind);
        EXPECT_EQ (lane->fileName, h.processor.slots[(size_t) h.processor.blindOrder[(size_t) lane->row]].fileName);
    }
    EXPECT_TRUE (e.lanes[1]->selected);

    // Off again: the rows keep their tracks and show their names.
    const auto order = h.processor.blindOrder;
    gui::clickCentre (e.blindButton);
    EXPECT_FALSE (h.processor.blindMode);
    EXPECT_EQ (h.processor.blindOrder, order);
    h.tick();
    EXPECT_FALSE (e.lanes[0]->blind);
    EXPECT_EQ (e.lanes[0]->fileName, h.processor.slots[(size_t) order[0]].fileName);
}

TEST (BlindMode, ManyShufflesAllKeepTheInvariantAndTheSelectedRow)
{
    EditorHarness h;
    for (int slot : { 1, 2, 3, 6 })
        h.loadTrack (slot);
    auto& e = h.openEditor();
    h.tick();
    h.processor.selectSlot (3);
    const auto selectedRow = rowOf (h, 3);
    std::set<std::vector<int>> arrangements;
    for (int i = 0; i < 200; ++i)
    {
        e.shufflePreservingSelection();
        expectBlindInvariant (h.processor.blindOrder, loadedFrom ({ 1, 2, 3, 6 }));
        EXPECT_EQ (rowOf (h, h.processor.selectedSlot.load()), selectedRow);
        arrangements.insert (h.processor.blindOrder);
    }
    EXPECT_EQ (arrangements.size(), 24u);
}

TEST (BlindMode, WithOneTrackBlindAndShuffleDoNothing)
{
    EditorHarness h;
    h.loadTrack (0);
    auto& e = h.openEditor();
    h.tick();
    gui::clickCentre (e.blindButton);
    gui::clickCentre (e.shuffleButton);
    EXPECT_FALSE (h.processor.blindMode);
    EXPECT_TRUE (h.processor.blindOrder.empty());
    EXPECT_EQ (e.shuffleButton.flashTicks, 0);
}

TEST (BlindMode, BlindCanBeSwitchedOffWhenTracksWereClearedWhileBlind)
{
    EditorHarness h;
    h.loadTrack (0);
    h.loadTrack (1);
    auto& e = h.openEditor();
    h.tick();
    gui::clickCentre (e.blindButton);
    ASSERT_TRUE (h.processor.blindMode);

    h.processor.clearSlot (1);
    h.tick();
    EXPECT_TRUE (e.blindButton.dimmed);
    gui::clickCentre (e.blindButton);
    EXPECT_FALSE (h.processor.blindMode);

    // Switching it on again still needs two tracks.
    gui::clickCentre (e.blindButton);
    EXPECT_FALSE (h.processor.blindMode);
}

TEST (BlindMode, ShuffleFlashesForFourPaintsInTheThemesColour)
{
    struct Case
    {
        bool light;
        juce::uint32 flash;
    };
    for (const auto& c : { Case { true, 0xFFB95D26 }, Case { false, 0xFF6E4B35 } })
    {
        EditorHarness h (1.0f, c.light);
        h.loadTrack (0);
        h.loadTrack (1);
        auto& e = h.openEditor();
        h.tick();
        gui::clickCentre (e.shuffleButton);
        EXPECT_EQ (h.processor.blindOrder.size(), 10u);
        EXPECT_FALSE (h.processor.blindMode); // shuffling does not hide the names
        EXPECT_EQ (e.shuffleButton.flashColour.getARGB(), c.flash);
        const auto centre = e.shuffleButton.getLocalBounds().getCentre();
        for (int paint = 0; paint < 4; ++paint)
            EXPECT_EQ (gui::argbAt (gui::paintOnce (e.shuffleButton), centre.x, centre.y), c.flash);
        EXPECT_EQ (gui::argbAt (gui::paintOnce (e.shuffleButton), centre.x, centre.y),
                   e.shuffleButton.offColour.getARGB());
    }
    qelCurrentTheme = &qelLight;
}

TEST (BlindMode, NextAndPreviousStepThroughTheLoadedRowsAndWrap)
{
    EditorHarness h;
    for (int slot : { 0, 2, 5 })
        h.loadTrack (slot);
    auto& e = h.openEditor();
    h.tick();
    ASSERT_TRUE (e.nextButton.isVisible());

    struct Step
    {
        SimpleButton* button;
        int expectedSlot;
    };
    h.processor.selectSlot (0);
    const Step steps[] = { { &e.nextButton, 2 }, { &e.nextButton, 5 }, { &e.nextButton, 0 },
                           { &e.prevButton, 5 }, { &e.prevButton, 2 } };
    for (const auto& step : steps)
    {
        gui::clickCentre (*step.button);
        EXPECT_EQ (h.processor.selectedSlot.load(), step.expectedSlot);
    }

    // Through a permutation the steps follow the rows, not the slot numbers.
    h.processor.blindOrder = { 5, 1, 0, 3, 4, 2, 6, 7, 8, 9 };
    h.processor.selectSlot (5);
    gui::clickCentre (e.nextButton);
    EXPECT_EQ (h.processor.selectedSlot.load(), 0);
    gui::clickCentre (e.nextButton);
    EXPECT_EQ (h.processor.selectedSlot.load(), 2);
    h.processor.blindOrder.clear();

    // A selection whose slot was emptied: Next takes the second row, Previous the last.
    h.processor.selectSlot (2);
    h.processor.clearSlot (2);
    h.processor.loadFileIntoSlot (7, h.writeTrack ("seven.wav", 0.1));
    h.processor.selectedSlot = 2;
    gui::clickCentre (e.nextButton);
    EXPECT_EQ (h.processor.selectedSlot.load(), 5);
    h.processor.selectedSlot = 2;
    gui::clickCentre (e.prevButton);
    EXPECT_EQ (h.processor.selectedSlot.load(), 7);
}

TEST (BlindMode, SpaceAloneTogglesPlayAndStop)
{
    EditorHarness h;
    h.loadTrack (0, 5.0);
    auto& e = h.openEditor();
    h.tick();
    const juce::KeyPress space (juce::KeyPress::spaceKey, juce::ModifierKeys(), ' ');

    EXPECT_TRUE (gui::pressKey (e, space));
    EXPECT_TRUE (h.processor.playing.load());
    EXPECT_TRUE (gui::pressKey (e, space));
    EXPECT_FALSE (h.processor.playing.load());

    const juce::KeyPress unused[] = {
        juce::KeyPress (juce::KeyPress::spaceKey, juce::ModifierKeys::shiftModifier, ' '),
        juce::KeyPress (juce::KeyPress::spaceKey, juce::ModifierKeys::altModifier, ' '),
        juce::KeyPress (juce::KeyPress::spaceKey, juce::ModifierKeys::ctrlModifier, ' '),
        juce::KeyPress ('a', juce::ModifierKeys(), 'a'),
        juce::KeyPress ('1', juce::ModifierKeys(), '1'),
        juce::KeyPress (juce::KeyPress::rightKey),
        juce::KeyPress (juce::KeyPress::returnKey),
    };
    for (const auto& key : unused)
    {
        EXPECT_FALSE (gui::pressKey (e, key)) << key.getTextDescription();
        EXPECT_FALSE (h.processor.playing.load()) << key.getTextDescription();
    }
    EXPECT_EQ (h.processor.selectedSlot.load(), 0);
}
