#include "EditorHarness.h"

namespace
{
const juce::String stopInfo { "Stop: Stops playback. Double-click to go back to the start." };

/** Ticks until just before the text is due, checks it is not there, then the
    tick that shows it. */
void expectShownAfterThirtyTicks (EditorHarness& h, const juce::String& text)
{
    h.tick();   // the text changes: the count starts
    h.tick (29);
    EXPECT_TRUE (h.editor->infoOverlay.text.isEmpty());
    h.tick();
    EXPECT_EQ (h.editor->infoOverlay.text, text);
}
} // namespace

TEST (HoverInfo, EachControlCarriesItsInfoTextWordForWord)
{
    EditorHarness h;
    auto& e = h.openEditor();
    const std::pair<juce::Component*, const char*> texts[] = {
        { &e.titleButton, "Main Menu: Opens the menu with more controls and features." },
        { &e.prevButton, "Previous Track" },
        { &e.nextButton, "Next Track" },
        { &e.playButton, "Play: You can change the playback behavior in the Main Menu." },
        { &e.stopButton, "Stop: Stops playback. Double-click to go back to the start." },
        { &e.addTrackButton, "Add Track: Add a track or shift-click to remove an empty track. Enter the total track "
                             "number into the \"+\" field." },
        { &e.matchButton, "Match LUFS: Matches all tracks to the same perceived loudness (LUFS), then sets the "
                          "level so the loudest peak is no louder than -0.1 dBTP." },
        { &e.blindButton, "Blind/Shuffle: Hides the track names and shuffles their order so you blind test." },
        { &e.shuffleButton, "Shuffle: Randomizes the order of the hidden tracks." },
    };
    for (const auto& [control, text] : texts)
        EXPECT_EQ (control->getProperties()["info"].toString(), juce::String (text));
    for (const auto& lane : e.lanes)
        EXPECT_FALSE (lane->getProperties().contains ("info"));
}

TEST (HoverInfo, RestingOnAControlShowsItsTextAfterThirtyTicksAndLeavingClearsIt)
{
    EditorHarness h;
    h.loadTrack (0);
    h.loadTrack (1);
    auto& e = h.openEditor();
    h.tick();

    gui::movePointerTo (e.stopButton, e.stopButton.getLocalBounds().getCentre());
    expectShownAfterThirtyTicks (h, stopInfo);
    h.tick (10);
    EXPECT_EQ (e.infoOverlay.text, stopInfo);
    EXPECT_TRUE (e.infoOverlay.isVisible());

    // The editor's own background has no text: cleared at the next tick.
    gui::movePointerTo (e, { 5, 5 });
    h.tick();
    EXPECT_TRUE (e.infoOverlay.text.isEmpty());
    EXPECT_TRUE (e.hoverInfoText.isEmpty());
}

TEST (HoverInfo, LanesExplainSelectionOnTheLeftAndLoadingOnAnEmptyBox)
{
    EditorHarness h;
    h.loadTrack (0);
    auto& e = h.openEditor();
    h.tick();
    const auto selectionText = QuillaneAudioProcessorEditor::laneSelectorInfo;
    const auto loadText = QuillaneAudioProcessorEditor::emptyLaneInfo;
    EXPECT_EQ (selectionText, "Track Selection: Selects which track is played.");
    EXPECT_EQ (loadText, "Track: Click to add an audio file, or drag one into the box.");

    struct Case
    {
        int row;
        bool onSelector;
        juce::String text;
    };
    const Case cases[] = { { 1, true, selectionText }, { 1, false, loadText }, { 0, false, selectionText } };
    for (const auto& c : cases)
    {
        auto& lane = *e.lanes[(size_t) c.row];
        const juce::Point<int> point (c.onSelector ? lane.selectorWidth / 2 : lane.getWidth() / 2,
                                      lane.getHeight() / 2);
        gui::movePointerTo (lane, point);
        expectShownAfterThirtyTicks (h, c.text);
    }
}

TEST (HoverInfo, NothingShowsWhileInfoIsHidden)
{
    EditorHarness h;
    h.processor.hideInfo = true;
    auto& e = h.openEditor();
    gui::movePointerTo (e.stopButton, e.stopButton.getLocalBounds().getCentre());
    h.tick (60);
    EXPECT_TRUE (e.infoOverlay.text.isEmpty());
    EXPECT_EQ (e.hoverTicks, 0);
}

TEST (HoverInfo, AnotherInstancesWindowUnderTheMouseShowsNothingHere)
{
    EditorHarness here;
    EditorHarness other;
    here.openEditor ({ 20, 20 });
    auto& otherEditor = other.openEditor ({ 900, 20 });

    gui::movePointerTo (otherEditor.stopButton, otherEditor.stopButton.getLocalBounds().getCentre());
    here.tick (45);
    EXPECT_TRUE (here.editor->infoOverlay.text.isEmpty());
    EXPECT_TRUE (here.editor->hoverInfoText.isEmpty());

    // The window under the mouse shows it.
    expectShownAfterThirtyTicks (other, stopInfo);
}
