#include "AudioFixtures.h"

#include <cmath>

namespace fixtures
{
TempFolder::TempFolder()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getNonexistentChildFile ("quillane-test", "", false))
{
    folder.createDirectory();
}

TempFolder::~TempFolder() { folder.deleteRecursively(); }

juce::AudioBuffer<float> makeBuffer (int channels, int length, const std::function<float (int, int)>& f)
{
    juce::AudioBuffer<float> buffer (channels, length);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
            buffer.setSample (c, i, f (c, i));
    return buffer;
}

juce::AudioBuffer<float> makeSine (int channels, int length, double rate, double frequency, double amplitude,
                                   double phase)
{
    return makeBuffer (channels, length, [=] (int, int i) {
        return (float) (amplitude * std::sin (2.0 * juce::MathConstants<double>::pi * frequency * i / rate + phase));
    });
}

bool writeAudioFile (const juce::File& file, const juce::AudioBuffer<float>& buffer, double rate,
                     const juce::String& format, int bitsPerSample, const juce::StringPairArray& metadata)
{
    std::unique_ptr<juce::AudioFormat> audioFormat;
    if (format == "WAV")
        audioFormat = std::make_unique<juce::WavAudioFormat>();
    else if (format == "AIFF")
        audioFormat = std::make_unique<juce::AiffAudioFormat>();
    else if (format == "FLAC")
        audioFormat = std::make_unique<juce::FlacAudioFormat>();
    else if (format == "Ogg")
        audioFormat = std::make_unique<juce::OggVorbisAudioFormat>();
    else
        return false;

    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    if (stream->failedToOpen())
        return false;

    // 32-bit WAV is written as float samples by JUCE's WAV writer.
    std::unique_ptr<juce::AudioFormatWriter> writer (
        audioFormat->createWriterFor (stream.get(), rate, (unsigned int) buffer.getNumChannels(), bitsPerSample,
                                      metadata, format == "Ogg" ? 5 : 0));
    if (writer == nullptr)
        return false;
    stream.release(); // now owned by the writer
    return writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
}
} // namespace fixtures
