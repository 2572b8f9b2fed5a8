#include "PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/RowMapping.h"
#include "export/BlindOrder.h"
#include "theme/ThemeFont.h"
#include "theme/ThemePalette.h"

#include <optional>

const juce::String QuillaneAudioProcessorEditor::laneSelectorInfo { "Track Selection: Selects which track is played." };
const juce::String QuillaneAudioProcessorEditor::emptyLaneInfo {
    "Track: Click to add an audio file, or drag one into the box."
};

namespace
{
const juce::Identifier infoProperty { "info" };
} // namespace

QuillaneAudioProcessorEditor::QuillaneAudioProcessorEditor (QuillaneAudioProcessor& p)
    : AudioProcessorEditor (p), audioProcessor (p), statusOverlay (p), exportPanel (p), decodePanel (p),
      updatePanel (p)
{
    qelCurrentTheme = audioProcessor.lightMode ? &qelLight : &qelDark;
    look.applyTheme();
    setLookAndFeel (&look);

    setWantsKeyboardFocus (true);
    addKeyListener (this);

    addButtons();
    addHiddenChildren();
    setUpTextField (lufsEditor, 8, "0123456789.-");
    setUpTextField (countEditor, 2, "0123456789");

    // The playhead line and its seeking come with the timeline; until then
    // the overlay stays out of sight and out of the way of clicks.
    addChildComponent (playheadOverlay);
    addAndMakeVisible (infoOverlay);
    setInfoTexts();

    lanes.clear();
    const auto numLanes = RowMapping::lanesToShow (audioProcessor.blindOrder, loadedFlags());
    for (int i = 0; i < numLanes; ++i)
        addLaneComponent (i);

    resized();
    setSize (EditorLayout::widthFor (audioProcessor.zoom), EditorLayout::heightFor (numLanes, audioProcessor.zoom));
    refreshAllColours();
    startTimer (timerPeriodMs);
}

QuillaneAudioProcessorEditor::~QuillaneAudioProcessorEditor()
{
    removeKeyListener (this);
    setLookAndFeel (nullptr);
    stopTimer();
}

void QuillaneAudioProcessorEditor::addButtons()
{
    titleButton.justification = juce::Justification::centredRight;
    playButton.drawAsTriangle = true;

    for (auto* button : { &addTrackButton, &matchButton, &playButton, &stopButton, &prevButton, &nextButton,
                          &blindButton, &shuffleButton })
        button->squareCorners = true;

    playButton.onClick = [this] { audioProcessor.play(); };
    stopButton.onClick = [this] { audioProcessor.stop(); };
    stopButton.onDoubleClick = [this] { audioProcessor.returnToStart(); };
    prevButton.onClick = [this] { cycleSelection (-1); };
    nextButton.onClick = [this] { cycleSelection (1); };
    blindButton.onClick = [this] { clickBlind(); };
    shuffleButton.onClick = [this] { clickShuffle(); };

    for (auto* button : std::initializer_list<juce::Button*> { &titleButton, &addTrackButton, &matchButton,
                                                                &playButton, &stopButton, &prevButton, &nextButton,
                                                                &blindButton, &shuffleButton })
        addAndMakeVisible (button);
}

void QuillaneAudioProcessorEditor::addHiddenChildren()
{
    addChildComponent (statusOverlay);
    addChildComponent (exportPanel);
    addChildComponent (decodePanel);
    addChildComponent (updatePanel);
}

void QuillaneAudioProcessorEditor::setUpTextField (juce::TextEditor& field, int maxLength,
                                                   const juce::String& allowedCharacters)
{
    addChildComponent (field);
    field.setMultiLine (false, false);
    field.setJustification (juce::Justification::centred);
    field.setFont (juce::Font (qelThemeFont (20.0f)));
    field.setInputRestrictions (maxLength, allowedCharacters);
    field.onEscapeKey = [this, &field] {
        field.setVisible (false);
        repaint();
    };
}

void QuillaneAudioProcessorEditor::setInfoTexts()
{
    const std::pair<juce::Component*, const char*> texts[] = {
        { &titleButton, "Main Menu: Opens the menu with more controls and features." },
        { &prevButton, "Previous Track" },
        { &nextButton, "Next Track" },
        { &playButton, "Play: You can change the playback behavior in the Main Menu." },
        { &stopButton, "Stop: Stops playback. Double-click to go back to the start." },
        { &addTrackButton, "Add Track: Add a track or shift-click to remove an empty track. Enter the total track "
                           "number into the \"+\" field." },
        { &matchButton, "Match LUFS: Matches all tracks to the same perceived loudness (LUFS), then sets the level "
                        "so the loudest peak is no louder than -0.1 dBTP." },
        { &blindButton, "Blind/Shuffle: Hides the track names and shuffles their order so you blind test." },
        { &shuffleButton, "Shuffle: Randomizes the order of the hidden tracks." },
    };
    for (const auto& [component, text] : texts)
        component->getProperties().set (infoProperty, juce::String (text));
}

//==============================================================================
void QuillaneAudioProcessorEditor::paint (juce::Graphics& g)
{
    const auto& p = *qelCurrentTheme;
    const auto layout = EditorLayout::compute (getWidth(), getHeight(), (int) lanes.size());
    const auto t = [&layout] (float v) { return layout.t (v); };

    g.fillAll (p[0]);
    g.setColour (p[1]);
    g.setFont (juce::Font (qelThemeFont ((float) t (36))));

    const std::pair<const juce::Component*, const char*> labels[] = {
        { &matchButton, "Match LUFS" }, { &blindButton, "Blind/Shuffle" }, { &shuffleButton, "Shuffle" }
    };
    for (const auto& [button, label] : labels)
    {
        const auto b = button->getBounds();
        g.drawText (label, juce::Rectangle<int> (b.getX() - t (260) - t (24), b.getY(), t (260), b.getHeight()),
                    juce::Justification::centredRight, false);
    }

    if (addTrackButton.isVisible() && ! countEditor.isVisible())
    {
        const auto c = countFieldBounds;
        g.drawText ("+", juce::Rectangle<int> (c.getX() + c.getWidth() / 4, c.getY(), c.getWidth() - c.getWidth() / 4,
                                               c.getHeight()),
                    juce::Justification::centred, false);
    }
}

void QuillaneAudioProcessorEditor::resized()
{
    const auto layout = EditorLayout::compute (getWidth(), getHeight(), (int) lanes.size());

    titleButton.fontHeight = layout.titleFontHeight;
    titleButton.setBounds (layout.title);

    for (size_t i = 0; i < lanes.size(); ++i)
    {
        auto& lane = *lanes[i];
        lane.setBounds (layout.lanes[i]);
        lane.selectorWidth = layout.selectorWidth;
        lane.boxSize = layout.boxSize;
        lane.letterWidth = layout.letterWidth;
    }

    waveAreaX = layout.waveAreaX;
    waveAreaWidth = layout.waveAreaWidth;

    playheadOverlay.setBounds (layout.whole);
    playheadOverlay.toFront (false);

    addTrackButton.setBounds (layout.addTrack);
    countFieldBounds = layout.countField;

    infoOverlay.setBounds (layout.info);
    infoOverlay.fontHeight = layout.infoFontHeight;

    addTrackButton.setVisible (layout.addTrackVisible);

    prevButton.setBounds (layout.prev);
    nextButton.setBounds (layout.next);
    playButton.setBounds (layout.play);
    stopButton.setBounds (layout.stop);

    matchButton.setBounds (layout.match);
    blindButton.setBounds (layout.blind);
    shuffleButton.setBounds (layout.shuffle);

    lufsFieldBounds = layout.lufsField;
    lufsEditor.setBounds (layout.lufsField);

    for (auto* panel : std::initializer_list<juce::Component*> { &statusOverlay, &exportPanel, &decodePanel,
                                                                  &updatePanel })
        panel->setBounds (layout.whole);
}

void QuillaneAudioProcessorEditor::refreshAllColours()
{
    const auto& p = *qelCurrentTheme;
    const auto transport = qelIsDarkTheme() ? qelDark[13] : p[4];

    titleButton.colour = p[12];

    struct ButtonColours
    {
        SimpleButton* button;
        juce::Colour on;
        std::optional<juce::Colour> off;
        std::optional<juce::Colour> text;
    };
    const ButtonColours table[] = {
        { &addTrackButton, p[16], p[16], p[0] }, { &prevButton, transport, transport, {} },
        { &nextButton, transport, transport, {} }, { &stopButton, p[15], p[15], {} },
        { &playButton, p[14], transport, {} },    { &matchButton, p[17], p[13], p[6] },
        { &blindButton, p[18], p[13], p[6] },     { &shuffleButton, p[19], {}, p[6] },
    };
    for (const auto& entry : table)
    {
        auto& button = *entry.button;
        if (button.getButtonText().isNotEmpty())
            button.setButtonText ({});
        button.onColour = entry.on;
        if (entry.off)
            button.offColour = *entry.off;
        button.outlineColour = p[5];
        if (entry.text)
            button.textColour = *entry.text;
        button.repaint();
    }

    for (auto* field : { &lufsEditor, &countEditor })
    {
        field->setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
        field->setColour (juce::TextEditor::textColourId, p[1]);
        field->setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
        field->setColour (juce::TextEditor::highlightColourId, field == &lufsEditor
                                                                   ? juce::Colours::transparentBlack
                                                                   : p[1].withAlpha ((juce::uint8) 0x33));
        field->setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
        field->setColour (juce::TextEditor::highlightedTextColourId, p[1]);
        field->applyColourToAllText (p[1]);
    }

    for (auto& lane : lanes)
        lane->repaint();
}

//==============================================================================
std::array<bool, QuillaneAudioProcessor::numSlots> QuillaneAudioProcessorEditor::loadedFlags() const
{
    std::array<bool, QuillaneAudioProcessor::numSlots> loaded {};
    for (size_t i = 0; i < loaded.size(); ++i)
        loaded[i] = audioProcessor.slots[i].loaded;
    return loaded;
}

int QuillaneAudioProcessorEditor::slotFor (int row) const
{
    return RowMapping::slotForRow (audioProcessor.blindOrder, row);
}

void QuillaneAudioProcessorEditor::timerCallback()
{
    selectDefaultSlot();
    copySlotsIntoLanes();

    const auto loadedCount = audioProcessor.countLoadedSlots();
    updateButtonStates (loadedCount);
    updateHoverInfo();

    playheadOverlay.repaint();
    repaint();
}

void QuillaneAudioProcessorEditor::selectDefaultSlot()
{
    if (audioProcessor.selectedSlot.load() >= 0)
        return;
    for (int i = 0; i < QuillaneAudioProcessor::numSlots; ++i)
    {
        if (audioProcessor.slots[(size_t) i].loaded)
        {
            // Both at once, so the first selection starts without a crossfade.
            audioProcessor.selectedSlot = i;
            audioProcessor.activeSlot = i;
            return;
        }
    }
}

void QuillaneAudioProcessorEditor::copySlotsIntoLanes()
{
    const auto selected = audioProcessor.selectedSlot.load();
    const auto timelineLength = audioProcessor.getTimelineLengthSamples();
    const auto matching = audioProcessor.matchActive.load();
    const auto masterGain = audioProcessor.masterGain.load();

    for (auto& lanePtr : lanes)
    {
        auto& lane = *lanePtr;
        const auto slotIndex = slotFor (lane.row);
        if (slotIndex < 0 || slotIndex >= QuillaneAudioProcessor::numSlots)
            continue;
        const auto& slot = audioProcessor.slots[(size_t) slotIndex];

        lane.loaded = slot.loaded;
        lane.blind = audioProcessor.blindMode;
        lane.letter = juce::String::charToString ((juce::juce_wchar) ('A' + lane.row));
        lane.fileName = slot.fileName;
        lane.loudness = matching ? FileSlot::noValue : slot.lufs.load();
        lane.peaks = &slot.peaks;
        lane.displayGain = audioProcessor.trackGains[(size_t) slotIndex].load() * masterGain;
        lane.hideWaveform = audioProcessor.hideWaveforms;
        lane.timelineLength = timelineLength;
        lane.trackLength = slot.buffer.getNumSamples();
        lane.selected = slotIndex == selected;
        lane.repaint();
    }
}

void QuillaneAudioProcessorEditor::updateButtonStates (int loadedCount)
{
    blindButton.setToggleState (audioProcessor.blindMode, juce::dontSendNotification);

    const auto canStep = loadedCount >= 2;
    if (prevButton.isVisible() != canStep)
        prevButton.setVisible (canStep);
    if (nextButton.isVisible() != canStep)
        nextButton.setVisible (canStep);

    const auto setToggle = [] (SimpleButton& button, bool on) {
        if (button.getToggleState() == on)
            return;
        button.setToggleState (on, juce::dontSendNotification);
        button.repaint();
    };
    setToggle (playButton, audioProcessor.playing.load());
    setToggle (matchButton, audioProcessor.matchActive.load());

    for (auto* button : { &matchButton, &blindButton, &shuffleButton })
    {
        if (button->dimmed == ! canStep)
            continue;
        button->dimmed = ! canStep;
        button->repaint();
    }

    const auto shuffleOff = qelIsDarkTheme() ? qelDark[13]
                                             : (canStep ? (*qelCurrentTheme)[19] : juce::Colours::transparentBlack);
    if (shuffleButton.offColour != shuffleOff)
    {
        shuffleButton.offColour = shuffleOff;
        shuffleButton.repaint();
    }
}

juce::String QuillaneAudioProcessorEditor::findHoverInfoText() const
{
    const auto& mouse = juce::Desktop::getInstance().getMainMouseSource();
    const auto screenPosition = mouse.getScreenPosition().roundToInt();
    auto* component = juce::Desktop::getInstance().findComponentAt (screenPosition);

    // Only this editor's controls: another window (another instance's editor)
    // may lie under the mouse, and its texts do not belong here.
    if (component == nullptr || component == this || ! isParentOf (component))
        return {};

    for (auto* c = component; c != nullptr && c != this; c = c->getParentComponent())
    {
        for (const auto& lane : lanes)
        {
            if (lane.get() != c)
                continue;
            const auto local = lane->getLocalPoint (nullptr, screenPosition);
            return local.x < lane->selectorWidth || lane->loaded ? laneSelectorInfo : emptyLaneInfo;
        }
        if (const auto* info = c->getProperties().getVarPointer (infoProperty))
            return info->toString();
    }
    return {};
}

void QuillaneAudioProcessorEditor::updateHoverInfo()
{
    if (audioProcessor.hideInfo)
    {
        if (infoOverlay.text.isNotEmpty())
        {
            infoOverlay.text.clear();
            infoOverlay.repaint();
        }
        hoverInfoText.clear();
        hoverTicks = 0;
        return;
    }

    const auto text = findHoverInfoText();
    if (text != hoverInfoText)
    {
        hoverInfoText = text;
        hoverTicks = 0;
        if (infoOverlay.text.isNotEmpty())
        {
            infoOverlay.text.clear();
            infoOverlay.repaint();
        }
        return;
    }

    if (text.isNotEmpty() && hoverTicks < hoverTicksToShow)
    {
        if (++hoverTicks == hoverTicksToShow)
        {
            infoOverlay.text = text;
            infoOverlay.repaint();
        }
    }
}

//==============================================================================
void QuillaneAudioProcessorEditor::addLaneComponent (int index)
{
    auto lane = std::make_unique<LaneComponent> (index);
    lane->onFileChosen = [this] (int row, const juce::File& file) { loadFileIntoRow (row, file); };
    lane->onFilesChosen = [this] (const juce::Array<juce::File>& files) { loadFilesIntoFreeRows (files); };
    lane->onClear = [this] (int row) { clearRow (row); };
    lane->onSelect = [this] (int row) { selectRow (row); };
    addAndMakeVisible (*lane);
    lanes.push_back (std::move (lane));
}

void QuillaneAudioProcessorEditor::loadFileIntoRow (int row, const juce::File& file)
{
    audioProcessor.loadFileIntoSlot (slotFor (row), file);
}

void QuillaneAudioProcessorEditor::loadFilesIntoFreeRows (const juce::Array<juce::File>& files)
{
    const auto spread = RowMapping::spreadFiles (audioProcessor.blindOrder, loadedFlags(), (int) lanes.size(),
                                                 files.size());
    while ((int) lanes.size() < spread.numLanes)
        addLaneComponent ((int) lanes.size());

    const auto height = EditorLayout::heightFor ((int) lanes.size(), audioProcessor.zoom);
    if (getHeight() < height)
        setSize (getWidth(), height);
    resized();

    // A file that fails to load uses up its row all the same.
    for (size_t i = 0; i < spread.targetSlots.size(); ++i)
        audioProcessor.loadFileIntoSlot (spread.targetSlots[i], files.getReference ((int) i));
}

void QuillaneAudioProcessorEditor::clearRow (int row)
{
    audioProcessor.clearSlot (slotFor (row));
}

void QuillaneAudioProcessorEditor::selectRow (int row)
{
    const auto slot = slotFor (row);
    if (slot >= 0 && slot < QuillaneAudioProcessor::numSlots && audioProcessor.slots[(size_t) slot].loaded)
        audioProcessor.selectSlot (slot);
}

//==============================================================================
void QuillaneAudioProcessorEditor::makeBlindPermutation()
{
    juce::Random random;
    const auto order = BlindOrder::makeBlindPermutation (loadedFlags(), random);
    audioProcessor.blindOrder.assign (order.begin(), order.end());
}

void QuillaneAudioProcessorEditor::shufflePreservingSelection()
{
    const auto row = RowMapping::rowOfSlot (audioProcessor.blindOrder, audioProcessor.selectedSlot.load());
    makeBlindPermutation();
    if (row < 0 || row >= RowMapping::numRows)
        return;
    const auto slot = audioProcessor.blindOrder[(size_t) row];
    if (audioProcessor.slots[(size_t) slot].loaded)
        audioProcessor.selectSlot (slot);
}

void QuillaneAudioProcessorEditor::cycleSelection (int delta)
{
    const auto slot = RowMapping::cycleTarget (audioProcessor.blindOrder, loadedFlags(),
                                               audioProcessor.selectedSlot.load(), delta);
    if (slot >= 0)
        audioProcessor.selectSlot (slot);
}

void QuillaneAudioProcessorEditor::clickBlind()
{
    // Fewer than two tracks make no blind test, but switching it off must
    // stay possible: clearing rows while blind leads here.
    if (! audioProcessor.blindMode && audioProcessor.countLoadedSlots() < 2)
        return;

    audioProcessor.blindMode = ! audioProcessor.blindMode;
    if (audioProcessor.blindMode)
        shufflePreservingSelection();
    resized();
    refreshAllColours();
}

void QuillaneAudioProcessorEditor::clickShuffle()
{
    if (audioProcessor.countLoadedSlots() < 2)
        return;

    shuffleButton.flashTicks = 4;
    shuffleButton.flashColour = qelCurrentTheme == &qelLight ? qelFlashOrange : (*qelCurrentTheme)[14];
    shuffleButton.repaint();
    shufflePreservingSelection();
}

bool QuillaneAudioProcessorEditor::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    if (key.getKeyCode() != juce::KeyPress::spaceKey || key.getModifiers().isAnyModifierKeyDown())
        return false;

    if (audioProcessor.playing.load())
        audioProcessor.stop();
    else
        audioProcessor.play();
    return true;
}
