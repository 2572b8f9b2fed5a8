#include "SnapshotOptions.h"

#include "PluginProcessor.h"
#include "editor/PluginEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
/** Enough 33 ms timer ticks for the window to copy the processor's state. */
constexpr int settleMs = 8 * QuillaneAudioProcessorEditor::timerPeriodMs;

class SnapshotApplication : public juce::JUCEApplicationBase
{
public:
    const juce::String getApplicationName() override { return "quillane-snapshot"; }
    const juce::String getApplicationVersion() override { return "1.0.6"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted (const juce::String&) override {}
    void suspended() override {}
    void resumed() override {}
    void systemRequestedQuit() override { quit(); }
    void unhandledException (const std::exception*, const juce::String&, int) override {}

    void initialise (const juce::String&) override
    {
        if (getCommandLineParameterArray().contains ("--help"))
        {
            std::cout << SnapshotOptions::usage();
            finish (0);
            return;
        }

        juce::String error;
        const auto parsed = SnapshotOptions::parse (getCommandLineParameterArray(), error);
        if (! parsed)
        {
            std::cerr << "quillane-snapshot: " << error << "\n" << SnapshotOptions::usage();
            finish (2);
            return;
        }
        options = *parsed;

        if (! prepareProcessor())
        {
            finish (1);
            return;
        }
        editor.reset (dynamic_cast<QuillaneAudioProcessorEditor*> (processor.createEditorIfNeeded()));
        editor->setVisible (true);
        applyEditorOptions();
        juce::Timer::callAfterDelay (settleMs, [this] { finish (writeSnapshot() ? 0 : 1); });
    }

    void shutdown() override
    {
        // As a host does: the processor lets go of its editor before it goes.
        if (editor != nullptr)
            processor.editorBeingDeleted (editor.get());
        editor.reset();
    }

private:
    bool prepareProcessor()
    {
        processor.lightMode = ! options.dark;
        processor.zoom = options.zoom;
        processor.hideWaveforms = ! options.showWaveforms;
        processor.setPlayConfigDetails (0, 2, options.rate, 512);
        processor.prepareToPlay (options.rate, 512);

        bool allLoaded = true;
        for (int i = 0; i < options.audioFiles.size(); ++i)
        {
            const auto& file = options.audioFiles.getReference (i);
            processor.loadFileIntoSlot (i, file);
            if (! processor.slots[(size_t) i].loaded)
            {
                std::cerr << "quillane-snapshot: cannot load " << file.getFullPathName() << "\n";
                allLoaded = false;
            }
        }
        return allLoaded;
    }

    void applyEditorOptions()
    {
        if (options.blind && ! processor.blindMode)
            editor->blindButton.onClick();
        if (options.selectRow >= 0)
            processor.selectSlot (editor->slotFor (options.selectRow));
    }

    bool writeSnapshot()
    {
        const auto image = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
        options.out.deleteFile();
        juce::FileOutputStream stream (options.out);
        juce::PNGImageFormat png;
        if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
        {
            std::cerr << "quillane-snapshot: cannot write " << options.out.getFullPathName() << "\n";
            return false;
        }
        std::cout << options.out.getFullPathName() << " " << image.getWidth() << "x" << image.getHeight() << "\n";
        return true;
    }

    void finish (int result)
    {
        setApplicationReturnValue (result);
        quit();
    }

    SnapshotOptions options;
    QuillaneAudioProcessor processor;
    std::unique_ptr<QuillaneAudioProcessorEditor> editor;
};

juce::JUCEApplicationBase* createSnapshotApplication() { return new SnapshotApplication(); }
} // namespace

int main (int argc, char** argv)
{
    juce::JUCEApplicationBase::createInstance = &createSnapshotApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
