#include "CommandLine.h"

#include "TrackDecoder.h"

namespace
{
std::optional<CommandLine::Command> commandNamed (const juce::String& word)
{
    if (word == "measure") return CommandLine::Command::measure;
    if (word == "reveal") return CommandLine::Command::reveal;
    if (word == "export") return CommandLine::Command::exportSet;
    if (word == "help" || word == "--help" || word == "-h") return CommandLine::Command::help;
    return {};
}

bool takesOption (CommandLine::Command command, const juce::String& option)
{
    using Command = CommandLine::Command;
    if (option == "--rate")
        return command == Command::measure || command == Command::exportSet;
    if (option == "--match" || option == "--name" || option == "--out")
        return command == Command::exportSet;
    return false;
}

/** Applies one option; value is the next argument for those that take one. */
bool applyOption (const juce::String& option, const juce::String& value, CommandLine& result, juce::String& error)
{
    if (option == "--rate")
    {
        result.rate = CommandLine::parseRate (value);
        if (! result.rate)
            error = "--rate needs a whole number of hertz from 1000 to 1536000, not '" + value + "'";
    }
    else if (option == "--name")
        result.name = value;
    else if (option == "--out")
    {
        result.outFolder = value;
        if (value.isEmpty())
            error = "--out needs a folder";
    }
    return error.isEmpty();
}

bool checkExport (const CommandLine& result, juce::String& error)
{
    if (result.outFolder.isEmpty())
        error = "export needs --out DIR";
    else if (result.files.size() > CommandLine::maxExportFiles)
        error = "export takes at most " + juce::String (CommandLine::maxExportFiles) + " files";
    else if (result.match && result.files.size() < 2)
        error = "--match needs at least two files";
    return error.isEmpty();
}
} // namespace

bool CommandLine::parse (const juce::StringArray& args, CommandLine& result, juce::String& error)
{
    result = {};
    error = {};
    if (args.isEmpty())
    {
        error = "no command given";
        return false;
    }

    const auto command = commandNamed (args[0]);
    if (! command)
    {
        error = "unknown command '" + args[0] + "'";
        return false;
    }
    result.command = *command;
    if (result.command == Command::help)
        return true;

    bool optionsEnded = false;
    for (int i = 1; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        if (optionsEnded || ! arg.startsWith ("-") || arg == "-")
        {
            result.files.add (arg);
            continue;
        }
        if (arg == "--")
        {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h")
        {
            result.command = Command::help;
            return true;
        }
        if (! takesOption (result.command, arg))
        {
            error = "'" + arg + "' is not an option of " + args[0];
            return false;
        }
        if (arg == "--match")
        {
            result.match = true;
            continue;
        }
        if (i + 1 >= args.size())
        {
            error = arg + " needs a value";
            return false;
        }
        if (! applyOption (arg, args[++i], result, error))
            return false;
    }

    if (result.files.isEmpty())
    {
        error = args[0] + " needs at least one FILE";
        return false;
    }
    return result.command != Command::exportSet || checkExport (result, error);
}

std::optional<double> CommandLine::parseRate (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || trimmed.length() > 7 || ! trimmed.containsOnly ("0123456789"))
        return {};
    const auto rate = (double) trimmed.getLargeIntValue();
    if (rate < TrackDecoder::minSampleRate || rate > TrackDecoder::maxSampleRate)
        return {};
    return rate;
}

juce::String CommandLine::helpText()
{
    return R"(Usage: quillane-cli COMMAND [OPTIONS] FILE...

Commands:
  measure [--rate HZ] FILE...
      Prints one line per file: the path, the integrated loudness in LUFS and
      the true peak in dBTP, tab-separated, with two decimals ("-inf" when a
      file has no measurable value). Without --rate each file is measured at
      its own sample rate; with it, after resampling to HZ exactly as the
      plug-in loads a track in a host running at HZ.

  reveal FILE...
      Prints one line per file: the path and the original file name stored in
      it by an export, tab-separated (empty when the file stores none).
      Control characters in a stored name are printed as U+FFFD.

  export [--match] [--name PREFIX] [--rate HZ] --out DIR FILE...
      Makes a blind set from up to 10 files: loads them as the plug-in does at
      HZ (default 48000), shuffles them behind the letters A, B, C... as blind
      mode does, and writes one 24-bit WAV file per letter into DIR (created
      when missing), named PREFIX_A.wav, PREFIX_B.wav... or A.wav, B.wav...
      without --name. Existing files are never overwritten: a number is added
      to the name instead. With --match the tracks are first matched to one
      loudness, with the loudest true peak at -0.1 dBTP, and written with
      their match gains. Prints the files written, in letter order, and
      nothing that tells which file became which letter: each file stores its
      original name, which 'reveal' shows. If any file cannot be read or
      written, nothing is left in DIR by this export.

  help, --help, -h
      Prints this text.

Options take their value as the next argument; '--' ends the options.

Exit status: 0 on success; 1 when a file could not be read or written (one
line on stderr names the file and the reason); 2 for a usage error.
)";
}
