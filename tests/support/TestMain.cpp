#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

namespace
{
/** Every JUCE assertion (the build logs them through juce::Logger) fails the
    test that is running, whichever thread it fired on. */
class AssertionsFailTests : public juce::Logger
{
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            ADD_FAILURE() << message;
        else
            std::cerr << message << std::endl;
    }
};
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    AssertionsFailTests logger;
    juce::Logger::setCurrentLogger (&logger);
    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }
    juce::Logger::setCurrentLogger (nullptr);
    return result;
}
