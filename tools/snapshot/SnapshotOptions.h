#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The command line of quillane-snapshot. */
struct SnapshotOptions
{
    juce::File out;
    float zoom = 1.0f;
    bool dark = false;
    bool blind = false;
    bool showWaveforms = false;
    int selectRow = -1;
    double rate = 48000.0;
    juce::Array<juce::File> audioFiles;

    static const char* usage();

    /** Nothing (and a message in error) when the arguments make no sense. */
    static std::optional<SnapshotOptions> parse (const juce::StringArray& args, juce::String& error);
};
