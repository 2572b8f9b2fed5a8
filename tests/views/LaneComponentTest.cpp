#include "AudioFixtures.h"
#include "GuiDriver.h"
#include "theme/ThemePalette.h"
#include "views/LaneComponent.h"

#include <gtest/gtest.h>

namespace
{
/** A lane laid out as the editor lays it out at zoom 2 (scale 1). */
struct LaneFixture
{
    LaneFixture()
    {
        parent.setSize (1478, 400);
        parent.addAndMakeVisible (lane);
        lane.selectorWidth = 124;
        lane.boxSize = 58;
        lane.letterWidth = 50;
        lane.setBounds (87, 199, 1024, 58);
        lane.letter = "A";
        lane.peaks = &peaks;
    }
    ~LaneFixture() { qelCurrentTheme = &qelLight; }

    juce::Image paint() { return gui::paintOnce (lane); }

    juce::Component parent;
    LaneComponent lane { 0 };
    std::vector<float> peaks;
};

constexpr juce::uint32 transparent = 0;
} // namespace

TEST (LaneComponent, GeometryFollowsTheBoxAndLetterWidths)
{
    LaneFixture f;
    EXPECT_EQ (f.lane.getSelectorBox(), juce::Rectangle<int> (0, 29 - 14, 58, 29));
    EXPECT_EQ (f.lane.getLetterArea(), juce::Rectangle<int> (58 + 12, 0, 50 - 12, 58));
    EXPECT_EQ (f.lane.getTrackBox(), juce::Rectangle<float> (124.0f, 0.0f, 900.0f, 58.0f));
    EXPECT_EQ (f.lane.clearArea, juce::Rectangle<int> (1024 - 40, 0, 40, 58));

    // Narrower than the box: the selector box is centred on the lane.
    f.lane.setSize (40, 20);
    EXPECT_EQ (f.lane.getSelectorBox(), juce::Rectangle<int> (20 - 29, 10 - 5, 58, 10));
    EXPECT_EQ (f.lane.getLetterArea().getWidth(), 0);
}

TEST (LaneComponent, SelectorBoxPerThemeAndState)
{
    struct Case
    {
        const char* what;
        const ThemePalette* theme;
        bool selected;
        int flashTicks;
        juce::uint32 inside, edge;
    };
    const Case cases[] = {
        { "light, not selected: outline only", &qelLight, false, 0, transparent, 0xFF2B2B2B },
        { "light, selected", &qelLight, true, 0, 0xFFB95D26, 0xFFB95D26 },
        { "dark, not selected", &qelDark, false, 0, 0xFF464441, 0xFF464441 },
        { "dark, selected", &qelDark, true, 0, 0xFF6E4B35, 0xFF6E4B35 },
        { "flashing over a selection", &qelLight, true, 3, 0xFF9A9A9A, 0xFF9A9A9A },
    };
    for (const auto& c : cases)
    {
        LaneFixture f;
        qelCurrentTheme = c.theme;
        f.lane.selected = c.selected;
        f.lane.flashTicks = c.flashTicks;
        const auto image = f.paint();
        const auto box = f.lane.getSelectorBox();
        EXPECT_EQ (gui::argbAt (image, box.getCentreX(), box.getCentreY()), c.inside) << c.what;
        EXPECT_EQ (gui::argbAt (image, box.getX(), box.getCentreY()), c.edge) << c.what;
    }
}

TEST (LaneComponent, ASelectorFlashLastsEightPaints)
{
    LaneFixture f;
    gui::showWindow (f.parent);
    const auto box = f.lane.getSelectorBox();
    gui::click (f.lane, { box.getCentreX(), box.getCentreY() });
    EXPECT_EQ (f.lane.flashTicks, 8);
    f.lane.selected = true;
    for (int paint = 0; paint < 8; ++paint)
        EXPECT_EQ (gui::argbAt (f.paint(), box.getCentreX(), box.getCentreY()), 0xFF9A9A9Au) << paint;
    EXPECT_EQ (gui::argbAt (f.paint(), box.getCentreX(), box.getCentreY()), qelLight[14].getARGB());
}

TEST (LaneComponent, BlindWithHiddenWaveformIsASolidBlock)
{
    for (const auto* theme : { &qelLight, &qelDark })
    {
        LaneFixture f;
        qelCurrentTheme = theme;
        f.lane.loaded = true;
        f.lane.blind = true;
        f.lane.hideWaveform = true;
        f.lane.fileName = "secret.wav";
        const auto image = f.paint();
        for (const auto& point : { juce::Point<int> (125, 1), { 600, 29 }, { 1020, 56 } })
            EXPECT_EQ (gui::argbAt (image, point.x, point.y), (*theme)[10].getARGB()) << point.toString();
    }
}

TEST (LaneComponent, AWaveformIsDrawnOnTheSharedTimelineAndEndsWithAShorterTrack)
{
    LaneFixture f;
    f.peaks.assign (512, 0.5f);
    f.lane.loaded = true;
    f.lane.blind = true;
    f.lane.hideWaveform = false;
    f.lane.timelineLength = 90000;
    f.lane.trackLength = 30000; // a third of the timeline: columns 0 .. 299 of 900
    const auto image = f.paint();
    const auto bar = qelLight[1].withAlpha ((juce::uint8) 0x8C).getARGB();

    // half = (58 - 12) / 2 = 23, centre 29, a bar of 0.5 spans 29 +- 11.5.
    // Column 0 lies on the box's outline, so look at column 1.
    EXPECT_EQ (gui::argbAt (image, 125, 29), bar);
    EXPECT_EQ (gui::argbAt (image, 124 + 299, 29), bar);
    EXPECT_EQ (gui::argbAt (image, 124 + 299, 20), bar);
    EXPECT_EQ (gui::argbAt (image, 124 + 299, 15), transparent);
    EXPECT_EQ (gui::argbAt (image, 124 + 300, 29), transparent);
    EXPECT_EQ (gui::argbAt (image, 124 + 600, 29), transparent);

    // A louder display gain makes the bars taller, up to the box less 12 pixels.
    f.lane.displayGain = 10.0f;
    const auto loud = f.paint();
    EXPECT_EQ (gui::argbAt (loud, 130, 7), bar);
    EXPECT_EQ (gui::argbAt (loud, 130, 51), bar);
    EXPECT_EQ (gui::argbAt (loud, 130, 4), transparent);
}

TEST (LaneComponent, WithoutValuesOrTimelineABlindLaneShowsAnEmptyBox)
{
    LaneFixture f;
    f.lane.loaded = true;
    f.lane.blind = true;
    f.lane.hideWaveform = false;
    f.lane.timelineLength = 0;
    f.lane.trackLength = 100;
    f.peaks.assign (512, 1.0f);
    const auto image = f.paint();
    EXPECT_EQ (gui::argbAt (image, 600, 29), transparent);
    EXPECT_EQ (gui::argbAt (image, 124, 29), qelLight[10].getARGB()); // the outline
}

TEST (LaneComponent, TheLoudnessTextShowsOnlyWithAValue)
{
    const auto inkedRightOfName = [] (double loudness) {
        LaneFixture f;
        f.lane.loaded = true;
        f.lane.fileName = "a.wav";
        f.lane.loudness = loudness;
        const auto image = f.paint();
        int inked = 0;
        // Between the name and the clear mark, where "-14.07 LUFS" ends.
        for (int y = 10; y < 48; ++y)
            for (int x = 1024 - 48 - 80; x < 1024 - 48; ++x)
                inked += image.getPixelAt (x, y).getAlpha() > 0 ? 1 : 0;
        return inked;
    };
    EXPECT_GT (inkedRightOfName (-14.07), 20);
    EXPECT_EQ (inkedRightOfName (-120.0), 0);
}

TEST (LaneComponent, OnlyAudioExtensionsAreAcceptedWhateverTheirCase)
{
    const std::pair<const char*, bool> cases[] = {
        { "/a/b.wav", true },  { "/a/B.WAV", true },  { "/a/b.aif", true },  { "/a/b.aiff", true },
        { "/a/b.flac", true }, { "/a/b.Mp3", true },  { "/a/b.ogg", false }, { "/a/b.wav.txt", false },
        { "/a/wav", false },   { "/a/b.m4a", false },
    };
    for (const auto& [path, accepted] : cases)
        EXPECT_EQ (LaneComponent::hasAudioExtension (path), accepted) << path;

    LaneComponent lane (0);
    EXPECT_FALSE (lane.isInterestedInFileDrag ({}));
    EXPECT_TRUE (lane.isInterestedInFileDrag ({ "/x/notes.txt", "/x/a.flac" }));
    EXPECT_FALSE (lane.isInterestedInFileDrag ({ "/x/notes.txt", "/x/a.ogg" }));
}

TEST (LaneComponent, DialogResultsBecomeOneOrSeveralFilesOrNothing)
{
    fixtures::TempFolder temp;
    const auto present = temp.file ("present.wav");
    present.replaceWithText ("x");
    const auto missing = temp.file ("missing.wav");

    LaneComponent lane (4);
    juce::Array<juce::File> several;
    std::vector<std::pair<int, juce::File>> single;
    lane.onFileChosen = [&] (int row, const juce::File& file) { single.emplace_back (row, file); };
    lane.onFilesChosen = [&] (const juce::Array<juce::File>& files) { several = files; };

    lane.handleDialogResults ({});
    lane.handleDialogResults ({ missing });
    lane.handleDialogResults ({ temp.folder });
    EXPECT_TRUE (single.empty());
    EXPECT_TRUE (several.isEmpty());

    lane.handleDialogResults ({ present });
    ASSERT_EQ (single.size(), 1u);
    EXPECT_EQ (single[0].first, 4);
    EXPECT_EQ (single[0].second, present);

    // Two or more go on as they are, missing ones included.
    lane.handleDialogResults ({ missing, present });
    EXPECT_EQ (several, juce::Array<juce::File> ({ missing, present }));
}

TEST (LaneComponent, ClickingAnEmptyTrackBoxOpensTheAudioFileDialog)
{
    LaneFixture f;
    gui::showWindow (f.parent);
    const auto before = juce::Desktop::getInstance().getNumComponents();
    gui::click (f.lane, { 600, 29 });
    ASSERT_NE (f.lane.chooser, nullptr);
    EXPECT_EQ (f.lane.chooser->getResults().size(), 0);

    // JUCE's own dialog (no system one here) opens as a window of its own.
    ASSERT_TRUE (gui::pumpUntil ([before] { return juce::Desktop::getInstance().getNumComponents() > before; }));
    juce::FileChooserDialogBox* dialog = nullptr;
    for (int i = 0; i < juce::Desktop::getInstance().getNumComponents(); ++i)
        if (auto* box = dynamic_cast<juce::FileChooserDialogBox*> (juce::Desktop::getInstance().getComponent (i)))
            dialog = box;
    ASSERT_NE (dialog, nullptr);
    EXPECT_EQ (dialog->getName(), "Select audio files");

    // Destroying the lane's chooser closes the dialog; no result comes back.
    f.lane.chooser.reset();
    EXPECT_TRUE (gui::pumpUntil ([before] { return juce::Desktop::getInstance().getNumComponents() == before; }));
}
