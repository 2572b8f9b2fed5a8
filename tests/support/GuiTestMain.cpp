#include "AssertionsFailTests.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
/** Tests that open windows run inside a real JUCEApplication, so JUCE sets up
    its X11 error handling and message loop as it does for a real host. The
    tests run on the message thread from the first turn of the loop. */
class GuiTestApplication : public juce::JUCEApplicationBase
{
public:
    const juce::String getApplicationName() override { return "Quillane tests"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted (const juce::String&) override {}
    void suspended() override {}
    void resumed() override {}
    void systemRequestedQuit() override {}
    void unhandledException (const std::exception*, const juce::String&, int) override {}
    void shutdown() override {}

    void initialise (const juce::String&) override
    {
        juce::MessageManager::callAsync ([this] {
            const AssertionsFailTests logger;
            setApplicationReturnValue (RUN_ALL_TESTS() == 0 ? 0 : 1);
            quit();
        });
    }
};

juce::JUCEApplicationBase* createGuiTestApplication() { return new GuiTestApplication(); }
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    if (testing::GTEST_FLAG (list_tests))
        return RUN_ALL_TESTS();
    juce::JUCEApplicationBase::createInstance = &createGuiTestApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
