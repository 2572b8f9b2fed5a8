#pragma once

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <iostream>

/** Installed as JUCE's logger for the test run: every JUCE assertion (the build
    logs them through juce::Logger) fails the test that is running, whichever
    thread it fired on. Other messages go to stderr. */
class AssertionsFailTests : public juce::Logger
{
public:
    AssertionsFailTests() { juce::Logger::setCurrentLogger (this); }
    ~AssertionsFailTests() override { juce::Logger::setCurrentLogger (nullptr); }

private:
    void logMessage (const juce::String& message) override
    {
        if (message.startsWith ("JUCE Assertion failure"))
            ADD_FAILURE() << message;
        else
            std::cerr << message << std::endl;
    }
};
