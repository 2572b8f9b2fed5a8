#include "ExportTestSupport.h"

#include "export/StoredNameWav.h"

#include <gtest/gtest.h>

namespace exporttest
{
juce::MemoryBlock readBytes (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

bool writeBytes (const juce::File& file, const juce::MemoryBlock& bytes)
{
    return file.replaceWithData (bytes.getData(), bytes.getSize());
}

juce::uint32 littleEndian32 (const juce::MemoryBlock& bytes, size_t offset)
{
    if (offset + 4 > bytes.getSize())
        return 0;
    return juce::ByteOrder::littleEndianInt (static_cast<const char*> (bytes.getData()) + offset);
}

juce::MemoryBlock maskedUtf8 (const juce::String& text)
{
    juce::MemoryBlock block (text.toRawUTF8(), text.getNumBytesAsUTF8());
    for (size_t i = 0; i < block.getSize(); ++i)
        block[i] = (char) (block[i] ^ (char) StoredNameWav::mask);
    return block;
}

juce::MemoryBlock maskBytes (std::initializer_list<int> plainBytes)
{
    juce::MemoryBlock block;
    for (auto b : plainBytes)
    {
        const auto masked = (char) ((juce::uint8) b ^ StoredNameWav::mask);
        block.append (&masked, 1);
    }
    return block;
}

juce::MemoryBlock chunk (const char* id, juce::uint32 declaredSize, const juce::MemoryBlock& payload)
{
    juce::MemoryOutputStream out;
    out.write (id, 4);
    out.writeInt ((int) declaredSize);
    out.write (payload.getData(), payload.getSize());
    return out.getMemoryBlock();
}

std::optional<DecodedWav> readWithJuce (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};

    DecodedWav result;
    result.sampleRate = reader->sampleRate;
    result.bitsPerSample = (int) reader->bitsPerSample;
    result.channels = (int) reader->numChannels;
    result.length = reader->lengthInSamples;
    result.audio.setSize (result.channels, (int) result.length);
    reader->read (&result.audio, 0, (int) result.length, 0, true, true);
    return result;
}

juce::File findProgram (const juce::String& name)
{
    juce::StringArray dirs;
    dirs.addTokens (juce::SystemStats::getEnvironmentVariable ("PATH", "/usr/bin:/bin"), ":", {});
    for (const auto& dir : dirs)
    {
        const auto candidate = juce::File (dir).getChildFile (name);
        if (dir.isNotEmpty() && candidate.existsAsFile())
            return candidate;
    }
    return {};
}

ProgramRun runProgram (const juce::StringArray& command, const juce::String& shellPrefix)
{
    const auto folder = juce::File::createTempFile ("quillane-run");
    folder.createDirectory();
    const auto outFile = folder.getChildFile ("out");
    const auto errFile = folder.getChildFile ("err");

    // The shell only redirects: every argument reaches the program unchanged.
    juce::StringArray shell { "/bin/sh", "-c",
                              shellPrefix + "\nout=$1; err=$2; shift 2; exec \"$@\" >\"$out\" 2>\"$err\"",
                              "sh", outFile.getFullPathName(), errFile.getFullPathName() };
    shell.addArray (command);

    ProgramRun run;
    juce::ChildProcess process;
    if (! process.start (shell, 0))
    {
        ADD_FAILURE() << "cannot start " << command[0];
        folder.deleteRecursively();
        return run;
    }
    if (! process.waitForProcessToFinish (120000))
    {
        process.kill();
        ADD_FAILURE() << command.joinIntoString (" ") << " did not finish";
    }
    run.exitCode = (int) process.getExitCode();
    run.out = outFile.loadFileAsString();
    run.err = errFile.loadFileAsString();
    folder.deleteRecursively();
    return run;
}

ProgramRun runCli (const juce::StringArray& args, const juce::String& shellPrefix)
{
    juce::StringArray command { QUILLANE_CLI_PATH };
    command.addArray (args);
    return runProgram (command, shellPrefix);
}

float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return 1.0e9f;
    float worst = 0.0f;
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            worst = std::max (worst, std::abs (a.getSample (c, i) - b.getSample (c, i)));
    return worst;
}
} // namespace exporttest
