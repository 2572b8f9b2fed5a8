#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

/** One track row: a selector box and the row's letter on the left, and a
    track box with "+", the file name, loudness and clear mark, or in blind
    mode the waveform or a solid block. It knows no processor: the editor
    copies the state in on every tick and handles the four callbacks. */
class LaneComponent : public juce::Component, public juce::FileDragAndDropTarget
{
public:
    explicit LaneComponent (int rowIndex);
    ~LaneComponent() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    /** Title and pattern of the file dialog. */
    static const juce::String dialogTitle;
    static const juce::String dialogPatterns;

    /** Whether a path ends in one of the audio extensions, ignoring case. */
    static bool hasAudioExtension (const juce::String& path);

    /** What the dialog's results turn into: nothing, one existing file for
        onFileChosen, or two or more files as they are for onFilesChosen. */
    void handleDialogResults (const juce::Array<juce::File>& results);

    juce::Rectangle<int> getSelectorBox() const;
    juce::Rectangle<int> getLetterArea() const;
    juce::Rectangle<float> getTrackBox() const;

    const int row;
    std::function<void (int, const juce::File&)> onFileChosen;
    std::function<void (const juce::Array<juce::File>&)> onFilesChosen;
    std::function<void (int)> onClear;
    std::function<void (int)> onSelect;

    bool loaded = false;
    bool blind = false;
    bool selected = false;
    double loudness = -120.0;
    juce::String letter;
    juce::String fileName;
    const std::vector<float>* peaks = nullptr;
    float displayGain = 1.0f;
    bool hideWaveform = true;
    juce::int64 timelineLength = 0;
    juce::int64 trackLength = 0;
    int flashTicks = 0;
    int selectorWidth = 0;
    int boxSize = 0;
    int letterWidth = 0;
    juce::Rectangle<int> clearArea;
    std::unique_ptr<juce::FileChooser> chooser;

private:
    float designScale() const;
    void openFileDialog();
    void paintSelector (juce::Graphics&);
    void paintLetter (juce::Graphics&);
    bool paintWaveform (juce::Graphics&, juce::Rectangle<float> box);
    void paintName (juce::Graphics&, juce::Rectangle<float> box);
    void paintClearAndLoudness (juce::Graphics&, juce::Rectangle<float> box);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LaneComponent)
};
