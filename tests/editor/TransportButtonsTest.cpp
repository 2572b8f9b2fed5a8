#include "EditorHarness.h"

TEST (TransportButtons, PlayStopAndADoubleClickOnStopDriveTheTransport)
{
    EditorHarness h;
    h.loadTrack (0, 5.0);
    h.processor.playFromStart = false;
    auto& e = h.openEditor();
    h.tick();

    gui::clickCentre (e.playButton);
    EXPECT_TRUE (h.processor.playing.load());
    h.processor.playPosition = 1000; // as if blocks had rendered
    gui::clickCentre (e.stopButton);
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.stopPosition.load(), 1000);
    EXPECT_TRUE (h.processor.cueSet.load());

    // The single clicks of the double-click stop first; then back to the start.
    gui::clickCentre (e.playButton);
    gui::doubleClick (e.stopButton, e.stopButton.getLocalBounds().getCentre());
    EXPECT_FALSE (h.processor.playing.load());
    EXPECT_EQ (h.processor.playPosition.load(), 0);
    EXPECT_EQ (h.processor.stopPosition.load(), 0);
    EXPECT_FALSE (h.processor.cueSet.load());
}
