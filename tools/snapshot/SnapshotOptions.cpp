#include "SnapshotOptions.h"

const char* SnapshotOptions::usage()
{
    return "usage: quillane-snapshot --out FILE.png [--zoom Z] [--dark] [--blind] [--show-waveforms]\n"
           "                         [--select ROW] [--rate HZ] [AUDIO FILE...]\n"
           "  Loads the audio files into rows A, B, C ... (at most ten), applies the options,\n"
           "  lets the window's timer run a few ticks and writes the window as a PNG file.\n"
           "  ROW is a letter A-J or a row number 0-9.\n";
}

namespace
{
bool parseRow (const juce::String& text, int& row)
{
    const auto upper = text.trim().toUpperCase();
    if (upper.length() == 1 && upper[0] >= 'A' && upper[0] <= 'J')
        row = upper[0] - 'A';
    else if (upper.containsOnly ("0123456789") && upper.isNotEmpty() && upper.getIntValue() <= 9)
        row = upper.getIntValue();
    else
        return false;
    return true;
}

bool isNumber (const juce::String& text)
{
    return text.isNotEmpty() && text.containsOnly ("0123456789.") && text.getDoubleValue() > 0.0;
}
} // namespace

std::optional<SnapshotOptions> SnapshotOptions::parse (const juce::StringArray& args, juce::String& error)
{
    SnapshotOptions options;
    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        const auto needsValue = arg == "--out" || arg == "--zoom" || arg == "--select" || arg == "--rate";
        if (needsValue && i + 1 >= args.size())
        {
            error = arg + " needs a value";
            return std::nullopt;
        }

        if (arg == "--out")
            options.out = juce::File::getCurrentWorkingDirectory().getChildFile (args[++i]);
        else if (arg == "--zoom")
        {
            const auto value = args[++i];
            if (! isNumber (value) || value.getFloatValue() < 0.25f || value.getFloatValue() > 4.0f)
            {
                error = "--zoom wants a number from 0.25 to 4";
                return std::nullopt;
            }
            options.zoom = value.getFloatValue();
        }
        else if (arg == "--dark")
            options.dark = true;
        else if (arg == "--blind")
            options.blind = true;
        else if (arg == "--show-waveforms")
            options.showWaveforms = true;
        else if (arg == "--select")
        {
            if (! parseRow (args[++i], options.selectRow))
            {
                error = "--select wants a row letter A-J or a number 0-9";
                return std::nullopt;
            }
        }
        else if (arg == "--rate")
        {
            const auto value = args[++i];
            if (! isNumber (value) || value.getDoubleValue() < 8000.0 || value.getDoubleValue() > 384000.0)
            {
                error = "--rate wants a sample rate from 8000 to 384000";
                return std::nullopt;
            }
            options.rate = value.getDoubleValue();
        }
        else if (arg.startsWith ("--"))
        {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        else
            options.audioFiles.add (juce::File::getCurrentWorkingDirectory().getChildFile (arg));
    }

    if (options.out == juce::File())
    {
        error = "--out is required";
        return std::nullopt;
    }
    if (options.audioFiles.size() > 10)
    {
        error = "at most ten audio files";
        return std::nullopt;
    }
    return options;
}
