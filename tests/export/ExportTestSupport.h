#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <optional>

/** Reading back what the export code wrote, byte by byte and through other
    programs. */
namespace exporttest
{
juce::MemoryBlock readBytes (const juce::File& file);
bool writeBytes (const juce::File& file, const juce::MemoryBlock& bytes);
juce::uint32 littleEndian32 (const juce::MemoryBlock& bytes, size_t offset);

/** The masked form of a name's UTF-8 bytes, as stored in the chunk. */
juce::MemoryBlock maskedUtf8 (const juce::String& text);
juce::MemoryBlock maskBytes (std::initializer_list<int> plainBytes);

/** A "qeln" chunk header with any declared size, followed by payload. */
juce::MemoryBlock chunk (const char* id, juce::uint32 declaredSize, const juce::MemoryBlock& payload = {});

struct DecodedWav
{
    double sampleRate = 0.0;
    int bitsPerSample = 0;
    int channels = 0;
    juce::int64 length = 0;
    juce::AudioBuffer<float> audio;
};

/** The file through JUCE's own WAV reader, or nothing when it refuses it. */
std::optional<DecodedWav> readWithJuce (const juce::File& file);

/** The full path of a program on PATH, or an empty File. */
juce::File findProgram (const juce::String& name);

struct ProgramRun
{
    int exitCode = -1;
    juce::String out;
    juce::String err;
};

/** Runs a program with separate stdout and stderr; fails the test on a hang. */
ProgramRun runProgram (const juce::StringArray& command, const juce::String& shellPrefix = {});

/** quillane-cli with the arguments (shellPrefix: shell commands run first in
    the same process, such as a file size limit). */
ProgramRun runCli (const juce::StringArray& args, const juce::String& shellPrefix = {});

/** Largest absolute difference between two buffers' overlapping samples, or
    a large number when their shapes differ. */
float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

/** 24-bit quantisation step, the tolerance of a round trip through a file. */
constexpr float quantum24 = 1.0f / 8388608.0f;
} // namespace exporttest
