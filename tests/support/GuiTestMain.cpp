#include "AssertionsFailTests.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace
{
/** Windows need JUCE to run as a standalone application: only then does it
    install its X11 error handlers and its keyboard-break handler. The
    application object is made before the GUI starts, as JUCE's own main does. */
class GuiTestApplication : public juce::JUCEApplicationBase
{
public:
    const juce::String getApplicationName() override { return "Quillane tests"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
    void anotherInstanceStarted (const juce::String&) override {}
    void systemRequestedQuit() override {}
    void suspended() override {}
    void resumed() override {}
    void unhandledException (const std::exception*, const juce::String&, int) override {}
};

juce::JUCEApplicationBase* createGuiTestApplication() { return new GuiTestApplication(); }
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    if (testing::GTEST_FLAG (list_tests))
        return RUN_ALL_TESTS();

    juce::JUCEApplicationBase::createInstance = &createGuiTestApplication;
    const juce::ScopedJuceInitialiser_GUI gui;
    const std::unique_ptr<juce::JUCEApplicationBase> application (juce::JUCEApplicationBase::createInstance());

    // The tests run on this thread, the message thread, outside any message
    // callback: they let queued messages through by dispatching them
    // themselves, which JUCE's Linux run loop does not allow from inside a
    // callback.
    const AssertionsFailTests logger;
    return RUN_ALL_TESTS();
}
