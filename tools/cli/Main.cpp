// quillane-cli: the plug-in's measuring, name reading and blind export from a
// terminal. Every command goes through the plug-in's own code.
#include "CommandLine.h"

#include "PluginProcessor.h"
#include "TrackDecoder.h"
#include "analysis/LoudnessAnalyzer.h"
#include "export/BlindOrder.h"
#include "export/ExportWriter.h"

#include <cstdio>
#include <iostream>

namespace
{
constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

constexpr int exportBlockSize = 512;
constexpr int matchPollMs = 20;
// Generous for ten long tracks on a slow machine; the wait must end somewhere.
constexpr juce::int64 matchTimeoutMs = 30 * 60 * 1000;

void printLine (const juce::String& text) { std::cout << text.toRawUTF8() << '\n'; }

void reportFileError (const juce::String& path, const juce::String& reason)
{
    std::cerr << "quillane-cli: " << path.toRawUTF8() << ": " << reason.toRawUTF8() << std::endl;
}

int usageError (const juce::String& reason)
{
    std::cerr << "quillane-cli: " << reason.toRawUTF8() << "\nTry 'quillane-cli --help'." << std::endl;
    return exitUsage;
}

juce::File fileFromArgument (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

/** "-inf" for no value, else two decimals. */
juce::String formatLevel (double value)
{
    if (! (value > LoudnessAnalyzer::noValue))
        return "-inf";
    char text[64];
    std::snprintf (text, sizeof (text), "%.2f", value);
    return juce::String (text) == "-0.00" ? "0.00" : juce::String (text);
}

/** A stored name printed on one line of a tab-separated table. */
juce::String withoutControlCharacters (const juce::String& name)
{
    juce::String result;
    for (auto p = name.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();
        result += (c < 0x20 || c == 0x7F) ? (juce::juce_wchar) 0xFFFD : c;
    }
    return result;
}

bool checkReadable (const juce::String& path, const juce::File& file)
{
    if (! file.existsAsFile())
    {
        reportFileError (path, file.exists() ? "is not a file" : "no such file");
        return false;
    }
    if (! juce::FileInputStream (file).openedOk())
    {
        reportFileError (path, "cannot be opened");
        return false;
    }
    return true;
}

//==============================================================================
/** Runs action (path, file) on every readable file argument; the exit status
    is a failure when a file was unreadable or action returned false. */
template <typename Action>
int forEachReadableFile (const CommandLine& commandLine, Action&& action)
{
    int status = exitSuccess;
    for (const auto& path : commandLine.files)
    {
        const auto file = fileFromArgument (path);
        if (! checkReadable (path, file) || ! action (path, file))
            status = exitFailure;
    }
    return status;
}

int runMeasure (const CommandLine& commandLine)
{
    juce::AudioFormatManager formatManager;
    formatManager.registerBasicFormats();

    return forEachReadableFile (commandLine, [&] (const juce::String& path, const juce::File& file) {
        // The decoder and resampler a slot loads with, then the slot's measurements.
        auto decoded = TrackDecoder::decodeFile (formatManager, file);
        if (! decoded)
        {
            reportFileError (path, "cannot be decoded as audio");
            return false;
        }
        const auto rate = commandLine.rate.value_or (decoded->sampleRate);
        juce::AudioBuffer<float> buffer;
        if (! TrackDecoder::resample (decoded->buffer, decoded->sampleRate, rate, buffer))
        {
            reportFileError (path, "too long to resample to " + juce::String ((juce::int64) rate) + " Hz");
            return false;
        }
        printLine (path + "\t" + formatLevel (LoudnessAnalyzer::measureIntegratedLUFS (buffer, rate)) + "\t"
                   + formatLevel (LoudnessAnalyzer::measureTruePeakDBTP (buffer, rate)));
        return true;
    });
}

int runReveal (const CommandLine& commandLine)
{
    QuillaneAudioProcessor processor;
    return forEachReadableFile (commandLine, [&processor] (const juce::String& path, const juce::File& file) {
        printLine (path + "\t" + withoutControlCharacters (processor.readStoredName (file)));
        return true;
    });
}

//==============================================================================
bool loadTracks (QuillaneAudioProcessor& processor, const juce::StringArray& paths)
{
    bool allLoaded = true;
    for (int i = 0; i < paths.size(); ++i)
    {
        const auto file = fileFromArgument (paths[i]);
        if (! checkReadable (paths[i], file))
        {
            allLoaded = false;
            continue;
        }
        processor.loadFileIntoSlot (i, file);
        if (! processor.slots[(size_t) i].loaded)
        {
            reportFileError (paths[i], "cannot be decoded as audio");
            allLoaded = false;
        }
    }
    return allLoaded;
}

/** Runs the plug-in's match job and waits for it. */
bool runMatch (QuillaneAudioProcessor& processor)
{
    processor.startAnalysis (AnalysisTask::Match);
    const auto deadline = juce::Time::currentTimeMillis() + matchTimeoutMs;
    while (processor.analysisStatus.load() == QuillaneAudioProcessor::Running
           && juce::Time::currentTimeMillis() < deadline)
        juce::Thread::sleep (matchPollMs);

    if (processor.analysisStatus.load() == QuillaneAudioProcessor::Done)
        return true;
    processor.stopAnalysisJob();
    std::cerr << "quillane-cli: the loudness match did not finish" << std::endl;
    return false;
}

void shuffleBehindLetters (QuillaneAudioProcessor& processor)
{
    std::array<bool, BlindOrder::numRows> loaded {};
    for (size_t i = 0; i < loaded.size(); ++i)
        loaded[i] = processor.slots[i].loaded;
    juce::Random random; // seeded from the system, as blind mode's is
    const auto order = BlindOrder::makeBlindPermutation (loaded, random);
    processor.blindOrder.assign (order.begin(), order.end());
}

bool prepareOutFolder (const juce::String& path, const juce::File& folder)
{
    if (folder.existsAsFile())
    {
        reportFileError (path, "is a file, not a folder");
        return false;
    }
    if (! folder.isDirectory() && ! folder.createDirectory())
    {
        reportFileError (path, "cannot create the folder");
        return false;
    }
    return true;
}

int runExport (const CommandLine& commandLine)
{
    QuillaneAudioProcessor processor;
    processor.prepareToPlay (commandLine.rate.value_or (CommandLine::defaultExportRate), exportBlockSize);

    // A blind set missing a track is no blind set: every file loads or none is written.
    if (! loadTracks (processor, commandLine.files))
        return exitFailure;
    if (commandLine.match && ! runMatch (processor))
        return exitFailure;

    const auto folder = fileFromArgument (commandLine.outFolder);
    if (! prepareOutFolder (commandLine.outFolder, folder))
        return exitFailure;

    shuffleBehindLetters (processor);
    processor.exportName = commandLine.name;
    const auto result = ExportWriter::writeFiles (processor, folder);

    if (! result.failed.empty())
    {
        for (const auto& file : result.failed)
            reportFileError (file.getFullPathName(), "cannot be written");
        for (const auto& file : result.written)
            file.deleteFile();
        return exitFailure;
    }
    for (const auto& file : result.written)
        printLine (file.getFullPathName());
    return exitSuccess;
}

int run (const juce::StringArray& args)
{
    CommandLine commandLine;
    juce::String error;
    if (! CommandLine::parse (args, commandLine, error))
        return usageError (error);

    switch (commandLine.command)
    {
        case CommandLine::Command::help:
            std::cout << CommandLine::helpText().toRawUTF8();
            return exitSuccess;
        case CommandLine::Command::measure:
            return runMeasure (commandLine);
        case CommandLine::Command::reveal:
            return runReveal (commandLine);
        case CommandLine::Command::exportSet:
            return runExport (commandLine);
    }
    return exitUsage;
}
} // namespace

int main (int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    const juce::ScopedJuceInitialiser_GUI juce;
    const auto status = run (args);
    std::cout.flush();
    return status;
}
