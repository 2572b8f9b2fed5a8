#include "EditorHarness.h"
#include "editor/EditorLayout.h"

namespace
{
using R = juce::Rectangle<int>;

/** Worked out by hand from the design units for a window with three lanes. */
struct ZoomCase
{
    float zoom;
    int width, height2, height3, height10;
    R title, lane0, lane2;
    int selectorWidth, boxSize, letterWidth, waveAreaX, waveAreaWidth;
    R add, count, info, prev, next, play, stop, match, blind, shuffle, lufs;
};

const ZoomCase zoomCases[] = {
    { 0.75f, 554, 180, 201, 411, R (345, 15, 194, 18), R (32, 74, 381, 21), R (32, 132, 381, 21), 44, 21, 18, 76,
      337, R (32, 166, 21, 10), R (53, 166, 18, 10), R (4, 100, 546, 96), R (31, 49, 10, 10), R (44, 49, 10, 10),
      R (262, 47, 12, 14), R (283, 49, 10, 10), R (501, 79, 21, 10), R (501, 108, 21, 10), R (501, 137, 21, 10),
      R (482, 49, 59, 10) },
    { 1.0f, 739, 240, 269, 549, R (458, 21, 260, 25), R (43, 99, 512, 29), R (43, 179, 512, 29), 62, 29, 25, 105,
      450, R (43, 226, 29, 14), R (72, 226, 25, 14), R (6, 134, 727, 128), R (41, 66, 14, 14), R (60, 66, 14, 14),
      R (349, 64, 16, 18), R (376, 66, 14, 14), R (667, 106, 29, 14), R (667, 146, 29, 14), R (667, 186, 29, 14),
      R (641, 66, 80, 14) },
    { 1.25f, 924, 300, 336, 686, R (573, 26, 325, 31), R (54, 124, 639, 36), R (54, 222, 639, 36), 77, 36, 31, 131,
      562, R (54, 280, 36, 18), R (90, 280, 31, 18), R (7, 168, 910, 161), R (51, 82, 18, 18), R (75, 82, 18, 18),
      R (438, 80, 19, 22), R (469, 82, 18, 18), R (834, 132, 36, 18), R (834, 182, 36, 18), R (834, 232, 36, 18),
      R (802, 82, 100, 18) },
    // 739 x 1.5 = 1108.5, which juce::roundToInt rounds to the even 1108.
    { 1.5f, 1108, 360, 403, 823, R (688, 31, 389, 37), R (65, 149, 765, 43), R (65, 267, 765, 43), 91, 43, 37, 156,
      674, R (65, 337, 43, 21), R (108, 337, 37, 21), R (8, 201, 1092, 193), R (62, 98, 21, 21), R (90, 98, 21, 21),
      R (526, 96, 22, 25), R (561, 98, 21, 21), R (1000, 158, 43, 21), R (1000, 217, 43, 21),
      R (1000, 276, 43, 21), R (962, 98, 119, 21) },
    { 2.0f, 1478, 480, 538, 1098, R (916, 42, 520, 50), R (87, 199, 1024, 58), R (87, 359, 1024, 58), 124, 58, 50,
      211, 900, R (87, 453, 58, 29), R (145, 453, 50, 29), R (12, 269, 1454, 257), R (82, 132, 29, 29),
      R (121, 132, 29, 29), R (702, 130, 29, 33), R (747, 132, 29, 29), R (1333, 212, 58, 29),
      R (1333, 292, 58, 29), R (1333, 372, 58, 29), R (1282, 132, 160, 29) },
};

std::string zoomName (float zoom) { return "zoom " + std::to_string (zoom); }
} // namespace

TEST (EditorLayout, WindowSizeFollowsTheZoomAndTheNumberOfLoadedTracks)
{
    for (const auto& c : zoomCases)
    {
        const std::pair<int, int> loadedToHeight[] = { { 0, c.height2 }, { 2, c.height2 }, { 3, c.height3 },
                                                       { 10, c.height10 } };
        for (const auto& [loaded, height] : loadedToHeight)
        {
            EditorHarness h (c.zoom);
            for (int slot = 0; slot < loaded; ++slot)
                h.loadTrack (slot, 0.1);
            auto& editor = h.openEditor();
            EXPECT_EQ (editor.getWidth(), c.width) << zoomName (c.zoom) << ", " << loaded << " tracks";
            EXPECT_EQ (editor.getHeight(), height) << zoomName (c.zoom) << ", " << loaded << " tracks";
            EXPECT_EQ ((int) editor.lanes.size(), std::max (2, loaded));
            EXPECT_EQ (editor.addTrackButton.isVisible(), loaded < 10);
        }
    }
}

TEST (EditorLayout, EveryChildSitsWhereTheDesignUnitsPutItAtEveryZoom)
{
    for (const auto& c : zoomCases)
    {
        SCOPED_TRACE (zoomName (c.zoom));
        EditorHarness h (c.zoom);
        for (int slot = 0; slot < 3; ++slot)
            h.loadTrack (slot, 0.1);
        auto& e = h.openEditor();
        const R whole (0, 0, c.width, c.height3);

        EXPECT_EQ (e.titleButton.getBounds(), c.title);
        EXPECT_FLOAT_EQ (e.titleButton.fontHeight, 41.5f * (float) c.width / 1478.0f);
        ASSERT_EQ (e.lanes.size(), 3u);
        EXPECT_EQ (e.lanes[0]->getBounds(), c.lane0);
        EXPECT_EQ (e.lanes[1]->getY() - e.lanes[0]->getY(), e.lanes[2]->getY() - e.lanes[1]->getY());
        EXPECT_EQ (e.lanes[2]->getBounds(), c.lane2);
        for (const auto& lane : e.lanes)
        {
            EXPECT_EQ (lane->selectorWidth, c.selectorWidth);
            EXPECT_EQ (lane->boxSize, c.boxSize);
            EXPECT_EQ (lane->letterWidth, c.letterWidth);
        }
        EXPECT_EQ (e.waveAreaX, c.waveAreaX);
        EXPECT_EQ (e.waveAreaWidth, c.waveAreaWidth);
        // The track box of every lane is the waveform area.
        EXPECT_EQ (e.lanes[0]->getX() + e.lanes[0]->selectorWidth, c.waveAreaX);
        EXPECT_EQ (e.addTrackButton.getBounds(), c.add);
        EXPECT_EQ (e.countFieldBounds, c.count);
        EXPECT_EQ (e.infoOverlay.getBounds(), c.info);
        EXPECT_FLOAT_EQ (e.infoOverlay.fontHeight, (float) (int) (36.0f * (float) c.width / 1478.0f));
        EXPECT_EQ (e.prevButton.getBounds(), c.prev);
        EXPECT_EQ (e.nextButton.getBounds(), c.next);
        EXPECT_EQ (e.playButton.getBounds(), c.play);
        EXPECT_EQ (e.stopButton.getBounds(), c.stop);
        EXPECT_EQ (e.matchButton.getBounds(), c.match);
        EXPECT_EQ (e.blindButton.getBounds(), c.blind);
        EXPECT_EQ (e.shuffleButton.getBounds(), c.shuffle);
        EXPECT_EQ (e.lufsFieldBounds, c.lufs);
        EXPECT_EQ (e.lufsEditor.getBounds(), c.lufs);
        for (auto* cover : std::initializer_list<juce::Component*> { &e.playheadOverlay, &e.statusOverlay,
                                                                      &e.exportPanel, &e.decodePanel, &e.updatePanel })
            EXPECT_EQ (cover->getBounds(), whole);
    }
}

TEST (EditorLayout, MembersAreChildrenInTheirOrderAndVisibility)
{
    EditorHarness h;
    auto& e = h.openEditor();
    h.tick(); // with no track loaded, previous and next hide at the first tick
    const std::pair<juce::Component*, bool> children[] = {
        { &e.titleButton, true },  { &e.addTrackButton, true }, { &e.matchButton, true },
        { &e.playButton, true },   { &e.stopButton, true },     { &e.prevButton, false },
        { &e.nextButton, false },  { &e.blindButton, true },    { &e.shuffleButton, true },
        { &e.statusOverlay, false }, { &e.exportPanel, false },  { &e.decodePanel, false },
        { &e.updatePanel, false }, { &e.lufsEditor, false },    { &e.countEditor, false },
        { &e.infoOverlay, true },  { e.lanes[0].get(), true },  { e.lanes[1].get(), true },
    };
    int previousIndex = -1;
    for (const auto& [child, visible] : children)
    {
        const auto index = e.getIndexOfChildComponent (child);
        ASSERT_GE (index, 0);
        EXPECT_GT (index, previousIndex) << "stacking order";
        previousIndex = index;
        EXPECT_EQ (child->isVisible(), visible) << index;
    }
    // Nothing sits in front of the playhead overlay.
    EXPECT_EQ (e.getIndexOfChildComponent (&e.playheadOverlay), e.getNumChildComponents() - 1);
    EXPECT_TRUE (e.infoOverlay.text.isEmpty());
    EXPECT_TRUE (e.playButton.drawAsTriangle);
    EXPECT_EQ (e.titleButton.getButtonText(), "QUILLANE");
    EXPECT_EQ (e.titleButton.justification, juce::Justification (juce::Justification::centredRight));
    for (auto* button : { &e.addTrackButton, &e.matchButton, &e.playButton, &e.stopButton, &e.prevButton,
                          &e.nextButton, &e.blindButton, &e.shuffleButton })
    {
        EXPECT_TRUE (button->squareCorners);
        EXPECT_TRUE (button->getButtonText().isEmpty()); // the editor paints their labels
    }
}

TEST (EditorLayout, ColoursFollowTheThemePreference)
{
    struct Case
    {
        bool light;
        juce::uint32 background, transport, playOn, shuffleOffTwoTracks;
    };
    const Case cases[] = { { true, 0xFFDCD9D5, 0xFF2B2B2B, 0xFFB95D26, 0xFF2B2B2B },
                           { false, 0xFF1A1A1A, 0xFF464441, 0xFF6E4B35, 0xFF464441 } };
    for (const auto& c : cases)
    {
        EditorHarness h (1.0f, c.light);
        h.loadTrack (0, 0.1);
        h.loadTrack (1, 0.1);
        auto& e = h.openEditor();
        h.tick();
        EXPECT_EQ (qelCurrentTheme, c.light ? &qelLight : &qelDark);
        EXPECT_EQ (e.prevButton.offColour.getARGB(), c.transport);
        EXPECT_EQ (e.nextButton.onColour.getARGB(), c.transport);
        EXPECT_EQ (e.playButton.offColour.getARGB(), c.transport);
        EXPECT_EQ (e.playButton.onColour.getARGB(), c.playOn);
        EXPECT_EQ (e.shuffleButton.offColour.getARGB(), c.shuffleOffTwoTracks);
        EXPECT_EQ (e.addTrackButton.textColour.getARGB(), c.background);
        EXPECT_EQ (e.titleButton.colour.getARGB(), (*qelCurrentTheme)[12].getARGB());
        EXPECT_EQ (e.countEditor.findColour (juce::TextEditor::textColourId).getARGB(),
                   (*qelCurrentTheme)[1].getARGB());
        EXPECT_EQ (gui::argbAt (gui::paintOnce (e), 2, 2), c.background);
    }
    qelCurrentTheme = &qelLight;
}
