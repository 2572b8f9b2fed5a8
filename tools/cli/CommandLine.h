#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The arguments of quillane-cli, checked: what to do and with what. */
struct CommandLine
{
    enum class Command
    {
        help,
        measure,
        reveal,
        exportSet
    };

    static constexpr int maxExportFiles = 10;
    static constexpr double defaultExportRate = 48000.0;

    Command command = Command::help;
    std::optional<double> rate;
    bool match = false;
    juce::String name;
    juce::String outFolder;
    juce::StringArray files;

    /** Parses the arguments after the program name. False with a one-line
        reason in error for a usage error. */
    static bool parse (const juce::StringArray& args, CommandLine& result, juce::String& error);

    /** A whole number of hertz within the rates a track can be decoded at. */
    static std::optional<double> parseRate (const juce::String& text);

    static juce::String helpText();
};
