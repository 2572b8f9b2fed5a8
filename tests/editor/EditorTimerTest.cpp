#include "EditorHarness.h"

TEST (EditorTimer, TheFirstTickSelectsTheLowestLoadedSlotWithoutACrossfade)
{
    EditorHarness h;
    h.loadTrack (3);
    h.loadTrack (6);
    h.processor.selectedSlot = -1;
    h.processor.activeSlot = -1;
    h.openEditor();
    h.tick();
    EXPECT_EQ (h.processor.selectedSlot.load(), 3);
    EXPECT_EQ (h.processor.activeSlot.load(), 3);

    // A selection that exists is left alone.
    h.processor.selectSlot (6);
    h.tick();
    EXPECT_EQ (h.processor.selectedSlot.load(), 6);
    EXPECT_EQ (h.processor.activeSlot.load(), 3);
}

TEST (EditorTimer, LanesShowTheSlotBehindTheirRowWithTheRowsLetter)
{
    EditorHarness h;
    h.processor.loadFileIntoSlot (0, h.writeTrack ("zero.wav", 1.0));
    h.processor.loadFileIntoSlot (1, h.writeTrack ("one.wav", 2.0));
    h.processor.loadFileIntoSlot (2, h.writeTrack ("two.wav", 0.5));
    h.processor.blindOrder = { 2, 0, 1, 3, 4, 5, 6, 7, 8, 9 };
    h.processor.selectSlot (0);
    h.processor.blindMode = true;
    h.processor.hideWaveforms = false;
    h.processor.trackGains[2] = 0.5f;
    h.processor.masterGain = 0.8f;
    auto& e = h.openEditor();
    h.tick();

    struct Expected
    {
        const char* letter;
        const char* name;
        int slot;
        bool selected;
    };
    const Expected rows[] = { { "A", "two.wav", 2, false }, { "B", "zero.wav", 0, true }, { "C", "one.wav", 1, false } };
    ASSERT_EQ (e.lanes.size(), 3u);
    for (int r = 0; r < 3; ++r)
    {
        const auto& lane = *e.lanes[(size_t) r];
        const auto& slot = h.processor.slots[(size_t) rows[r].slot];
        EXPECT_EQ (lane.letter, rows[r].letter);
        EXPECT_EQ (lane.fileName, rows[r].name);
        EXPECT_TRUE (lane.loaded);
        EXPECT_TRUE (lane.blind);
        EXPECT_FALSE (lane.hideWaveform);
        EXPECT_EQ (lane.selected, rows[r].selected) << r;
        EXPECT_EQ (lane.peaks, &slot.peaks);
        EXPECT_EQ (lane.trackLength, slot.buffer.getNumSamples());
        EXPECT_EQ (lane.timelineLength, 96000);
        EXPECT_DOUBLE_EQ (lane.loudness, slot.lufs.load());
        EXPECT_FLOAT_EQ (lane.displayGain, h.processor.trackGains[(size_t) rows[r].slot].load() * 0.8f);
    }
    EXPECT_FLOAT_EQ (e.lanes[0]->displayGain, 0.4f);

    // While a match is active no loudness is shown.
    h.processor.matchActive = true;
    h.tick();
    EXPECT_DOUBLE_EQ (e.lanes[1]->loudness, -120.0);

    // With fewer than ten entries rows show slots by number again.
    h.processor.blindOrder.clear();
    h.tick();
    EXPECT_EQ (e.lanes[0]->fileName, "zero.wav");
    EXPECT_TRUE (e.lanes[0]->selected);
}

TEST (EditorTimer, ButtonStatesFollowTheProcessor)
{
    EditorHarness h;
    auto& e = h.openEditor();
    h.tick();
    // No track: nothing to step through and nothing to compare.
    EXPECT_FALSE (e.prevButton.isVisible());
    EXPECT_FALSE (e.nextButton.isVisible());
    for (auto* button : { &e.matchButton, &e.blindButton, &e.shuffleButton })
        EXPECT_TRUE (button->dimmed);
    EXPECT_TRUE (e.shuffleButton.offColour.isTransparent());

    h.loadTrack (0);
    h.tick();
    EXPECT_FALSE (e.nextButton.isVisible());
    EXPECT_TRUE (e.blindButton.dimmed);

    h.loadTrack (1);
    h.tick();
    EXPECT_TRUE (e.prevButton.isVisible());
    EXPECT_TRUE (e.nextButton.isVisible());
    for (auto* button : { &e.matchButton, &e.blindButton, &e.shuffleButton })
        EXPECT_FALSE (button->dimmed);
    EXPECT_EQ (e.shuffleButton.offColour, qelLight[19]);

    h.processor.play();
    h.processor.blindMode = true;
    h.processor.matchActive = true;
    h.tick();
    EXPECT_TRUE (e.playButton.getToggleState());
    EXPECT_TRUE (e.blindButton.getToggleState());
    EXPECT_TRUE (e.matchButton.getToggleState());

    h.processor.stop();
    h.processor.matchActive = false;
    h.tick();
    EXPECT_FALSE (e.playButton.getToggleState());
    EXPECT_FALSE (e.matchButton.getToggleState());
}

TEST (EditorTimer, TheDarkShuffleButtonKeepsItsOffColourWithAnyNumberOfTracks)
{
    EditorHarness h (1.0f, false);
    auto& e = h.openEditor();
    h.tick();
    EXPECT_EQ (e.shuffleButton.offColour, qelDark[13]);
    h.loadTrack (0);
    h.loadTrack (1);
    h.tick();
    EXPECT_EQ (e.shuffleButton.offColour, qelDark[13]);
    qelCurrentTheme = &qelLight;
}

TEST (EditorTimer, AnEditorAtTwoLanesPaintsEmptyRowsWithPlusAndLetters)
{
    EditorHarness h (2.0f);
    auto& e = h.openEditor();
    h.tick();
    const auto image = gui::paintOnce (e);
    EXPECT_EQ (e.getWidth(), 1478);
    // Light theme, empty rows: an outlined selector box at the left of each lane.
    for (const auto& lane : e.lanes)
    {
        const auto box = lane->getSelectorBox() + lane->getPosition();
        EXPECT_EQ (gui::argbAt (image, box.getX(), box.getCentreY()), qelLight[10].getARGB());
        EXPECT_EQ (gui::argbAt (image, box.getCentreX(), box.getCentreY()), qelLight[0].getARGB());
        EXPECT_EQ (lane->letter, juce::String::charToString ((juce::juce_wchar) ('A' + lane->row)));
    }
}
