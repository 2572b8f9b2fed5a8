#pragma once

#include "PluginProcessor.h"
#include "editor/UpdatePanel.h"
#include "export/DecodePanel.h"
#include "export/ExportPanel.h"
#include "theme/QelLook.h"
#include "theme/QelTextButton.h"
#include "theme/SimpleButton.h"
#include "views/InfoOverlay.h"
#include "views/LaneComponent.h"
#include "views/PlayheadOverlay.h"
#include "views/StatusOverlay.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

/** The plug-in's window. It never hears from the processor: a 33 ms timer
    polls the processor and brings the children up to date, and every user
    action calls the processor directly. Message thread only. Children are
    public so that the window can be inspected as a whole. */
class QuillaneAudioProcessorEditor : public juce::AudioProcessorEditor,
                                     private juce::Timer,
                                     public juce::KeyListener
{
public:
    explicit QuillaneAudioProcessorEditor (QuillaneAudioProcessor& p);
    ~QuillaneAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress& key, juce::Component* originatingComponent) override;
    using juce::Component::keyPressed;
    /** One poll of the processor; the timer calls it every 33 ms. */
    void timerCallback() override;

    void addLaneComponent (int index);
    void refreshAllColours();

    void makeBlindPermutation();
    void shufflePreservingSelection();
    void cycleSelection (int delta);

    /** The slot behind a row, through the blind permutation while one is in use. */
    int slotFor (int row) const;
    /** The info text of the control under the mouse, if it is part of this editor. */
    juce::String findHoverInfoText() const;

    static constexpr int timerPeriodMs = 33;
    static constexpr int hoverTicksToShow = 30;
    static const juce::String laneSelectorInfo;
    static const juce::String emptyLaneInfo;

    QuillaneAudioProcessor& audioProcessor;
    QelLook look;
    QelTextButton titleButton { "QUILLANE" };
    SimpleButton addTrackButton { "" };
    SimpleButton matchButton { "Analyze" };
    SimpleButton playButton { "Play" };
    SimpleButton stopButton { "" };
    SimpleButton prevButton { "" };
    SimpleButton nextButton { "" };
    SimpleButton blindButton { "Blind" };
    SimpleButton shuffleButton { "Shuffle" };
    juce::TextEditor lufsEditor;
    juce::TextEditor countEditor;
    StatusOverlay statusOverlay;
    ExportPanel exportPanel;
    DecodePanel decodePanel;
    UpdatePanel updatePanel;
    bool updateNoticeShown = false;
    PlayheadOverlay playheadOverlay;
    InfoOverlay infoOverlay;
    std::vector<std::unique_ptr<LaneComponent>> lanes;
    juce::Rectangle<int> countFieldBounds;
    int waveAreaX = 0;
    int waveAreaWidth = 0;
    juce::Rectangle<int> lufsFieldBounds;
    bool lufsDragging = false;
    int lufsDragStartY = 0;
    double lufsDragStartValue = 0.0;
    bool lufsDragMoved = false;
    int statusHoldTicks = 0;
    int heightBeforePanel = 0;
    juce::String hoverInfoText;
    int hoverTicks = 0;

private:
    void addButtons();
    void addHiddenChildren();
    void setUpTextField (juce::TextEditor& field, int maxLength, const juce::String& allowedCharacters);
    void setInfoTexts();
    void clickBlind();
    void clickShuffle();

    std::array<bool, QuillaneAudioProcessor::numSlots> loadedFlags() const;
    void selectDefaultSlot();
    void copySlotsIntoLanes();
    void updateButtonStates (int loadedCount);
    void updateHoverInfo();

    void loadFileIntoRow (int row, const juce::File& file);
    void loadFilesIntoFreeRows (const juce::Array<juce::File>& files);
    void clearRow (int row);
    void selectRow (int row);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillaneAudioProcessorEditor)
};
