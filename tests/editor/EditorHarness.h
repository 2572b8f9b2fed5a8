#pragma once

#include "AudioFixtures.h"
#include "GuiDriver.h"
#include "PluginProcessor.h"
#include "editor/PluginEditor.h"
#include "theme/ThemePalette.h"

#include <memory>

/** A real processor prepared at 48 kHz, real audio files, and its real editor
    in a window. */
struct EditorHarness
{
    static constexpr double rate = 48000.0;

    explicit EditorHarness (float zoom = 1.0f, bool light = true)
    {
        processor.zoom = zoom;
        processor.lightMode = light;
        processor.hideInfo = false;
        processor.hideWaveforms = true;
        processor.setPlayConfigDetails (0, 2, rate, 512);
        processor.prepareToPlay (rate, 512);
    }

    ~EditorHarness() { closeEditor(); }

    /** A sine track of the given length in seconds, written as a WAV file. */
    juce::File writeTrack (const juce::String& name, double seconds, double amplitude = 0.5, double fileRate = rate)
    {
        const auto file = temp.file (name);
        fixtures::writeAudioFile (file, fixtures::makeSine (2, (int) (seconds * fileRate), fileRate, 440.0, amplitude),
                                  fileRate);
        return file;
    }

    void loadTrack (int slot, double seconds = 1.0, double amplitude = 0.5)
    {
        processor.loadFileIntoSlot (slot, writeTrack ("slot" + juce::String (slot) + ".wav", seconds, amplitude));
    }

    QuillaneAudioProcessorEditor& openEditor (juce::Point<int> topLeft = { 20, 20 })
    {
        editor.reset (dynamic_cast<QuillaneAudioProcessorEditor*> (processor.createEditorIfNeeded()));
        gui::showWindow (*editor, topLeft);
        return *editor;
    }

    void closeEditor()
    {
        if (editor == nullptr)
            return;
        processor.editorBeingDeleted (editor.get());
        editor.reset();
    }

    void tick (int count = 1)
    {
        for (int i = 0; i < count; ++i)
            editor->timerCallback();
    }

    LaneComponent& lane (int row) { return *editor->lanes[(size_t) row]; }

    /** The slot's file name as the lane of a row shows it after a tick. */
    juce::String nameInRow (int row)
    {
        tick();
        return lane (row).fileName;
    }

    fixtures::TempFolder temp;
    QuillaneAudioProcessor processor;
    std::unique_ptr<QuillaneAudioProcessorEditor> editor;
};
