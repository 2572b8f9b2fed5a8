#include "ExportTestSupport.h"

#include "AudioFixtures.h"
#include "PluginProcessor.h"
#include "export/StoredNameWav.h"

#include <gtest/gtest.h>

using namespace exporttest;

namespace
{
const juce::String infoTitle ("Title From Info");

juce::AudioBuffer<float> shortSignal()
{
    return fixtures::makeSine (2, 300, 44100.0, 440.0, 0.25);
}

/** A WAV file written by JUCE, with a RIFF INFO title when asked. */
juce::MemoryBlock plainWav (const fixtures::TempFolder& temp, bool withTitle)
{
    juce::StringPairArray metadata;
    if (withTitle)
        metadata.set (juce::WavAudioFormat::riffInfoTitle, infoTitle);
    const auto file = temp.file ("plain.wav");
    EXPECT_TRUE (fixtures::writeAudioFile (file, shortSignal(), 44100.0, "WAV", 16, metadata));
    auto bytes = readBytes (file);
    file.deleteFile();
    return bytes;
}

juce::MemoryBlock operator+ (juce::MemoryBlock a, const juce::MemoryBlock& b)
{
    a.append (b.getData(), b.getSize());
    return a;
}

/** The bytes of a literal, embedded zeros included. */
template <size_t N>
juce::MemoryBlock text (const char (&s)[N])
{
    return juce::MemoryBlock (s, N - 1);
}

/** The JUNK chunk JUCE reserves after "WAVE" turned into the ds64 chunk of a
    64-bit RIFF file: what a file of 4 GiB or more looks like, at small size. */
juce::MemoryBlock asRf64 (juce::MemoryBlock wav)
{
    auto* bytes = static_cast<char*> (wav.getData());
    EXPECT_EQ (juce::String (bytes + 12, 4), "JUNK");
    const auto riffSize = (juce::int64) wav.getSize() - 8;
    std::memcpy (bytes, "RF64\xff\xff\xff\xff", 8);
    std::memcpy (bytes + 12, "ds64", 4);
    juce::MemoryOutputStream ds64 (bytes + 20, 24);
    ds64.writeInt64 (riffSize);

    // The data size lives in ds64 too: find the data chunk for it.
    for (size_t pos = 12; pos + 8 <= wav.getSize();)
    {
        const auto size = littleEndian32 (wav, pos + 4);
        if (juce::String (bytes + pos, 4) == "data")
        {
            ds64.writeInt64 ((juce::int64) size);
            break;
        }
        pos += 8 + size + (size & 1);
    }
    return wav;
}

struct ReaderCase
{
    const char* label;
    std::function<juce::MemoryBlock (const fixtures::TempFolder&)> makeFile;
    juce::String expected;
};
} // namespace

TEST (StoredNameReader, HostileAndForeignFiles)
{
    const auto named = [] (const juce::String& name) {
        const auto payload = maskedUtf8 (name);
        auto c = chunk ("qeln", (juce::uint32) payload.getSize(), payload);
        if ((payload.getSize() & 1) != 0)
            c.append ("", 1);
        return c;
    };

    const ReaderCase cases[] = {
        { "INFO title and no chunk", [] (auto& t) { return plainWav (t, true); }, infoTitle },
        { "no title and no chunk", [] (auto& t) { return plainWav (t, false); }, "" },
        { "chunk after a title wins", [&] (auto& t) { return plainWav (t, true) + named ("Real.wav"); }, "Real.wav" },
        { "chunk size larger than the file: empty, no fallback",
          [] (auto& t) { return plainWav (t, true) + chunk ("qeln", 100, text ("abc")); }, "" },
        { "chunk size of 4 GiB - 1: nothing allocated, empty",
          [] (auto& t) { return plainWav (t, true) + chunk ("qeln", 0xFFFFFFFFu, text ("abcd")); }, "" },
        { "empty chunk: empty, no fallback", [] (auto& t) { return plainWav (t, true) + chunk ("qeln", 0); }, "" },
        { "walk ends mid-header: fallback",
          [] (auto& t) { return plainWav (t, true) + text ("qeln\x05"); }, infoTitle },
        { "huge skip ends the walk: fallback",
          [&] (auto& t) { return plainWav (t, true) + chunk ("JUNK", 0xFFFFFFFEu) + named ("Hidden"); }, infoTitle },
        { "odd chunk is skipped with its pad",
          [&] (auto& t) { return plainWav (t, false) + chunk ("abcd", 3, text ("xyz\0")) + named ("X"); }, "X" },
        { "many chunks before the name",
          [&] (auto& t) {
              auto bytes = plainWav (t, false);
              for (int i = 0; i < 1000; ++i)
                  bytes = bytes + chunk ("JUNK", 0);
              return bytes + named ("Deep.wav");
          },
          "Deep.wav" },
        { "id compares case-sensitively",
          [] (auto& t) { return plainWav (t, true) + chunk ("QELN", 4, maskedUtf8 ("Nope")); }, infoTitle },
        { "truncated UTF-8 at the end of the file",
          [] (auto&) { return text ("RIFF\0\0\0\0WAVE") + chunk ("qeln", 2, maskBytes ({ 'A', 0xC3 })); },
          juce::String ("A") + juce::String::charToString (0xFFFD) },
        { "RIFF header only", [] (auto&) { return text ("RIFF\x04\0\0\0WAVE"); }, "" },
        { "shorter than a RIFF header", [] (auto&) { return text ("RIFF\0\0\0\0WA"); }, "" },
        { "empty file", [] (auto&) { return juce::MemoryBlock(); }, "" },
        { "text file", [] (auto&) { return text ("qeln is not here, this is text\n"); }, "" },
        { "64-bit RIFF file with an INFO title", [] (auto& t) { return asRf64 (plainWav (t, true)); }, infoTitle },
        { "64-bit RIFF file: no chunk walk", [&] (auto& t) { return asRf64 (plainWav (t, false)) + named ("Walked"); }, "" },
    };

    fixtures::TempFolder temp;
    QuillaneAudioProcessor processor;
    for (const auto& c : cases)
    {
        const auto file = temp.file ("case.wav");
        ASSERT_TRUE (writeBytes (file, c.makeFile (temp))) << c.label;
        EXPECT_EQ (processor.readStoredName (file), c.expected) << c.label;
        file.deleteFile();
    }
}

TEST (StoredNameReader, AiffAndFlacFilesAreReadThroughTheirMetadataOnly)
{
    fixtures::TempFolder temp;
    QuillaneAudioProcessor processor;

    // An AIFF file carrying what would be a name chunk in a WAV file.
    const auto aiff = temp.file ("track.aiff");
    ASSERT_TRUE (fixtures::writeAudioFile (aiff, shortSignal(), 44100.0, "AIFF", 16));
    auto bytes = readBytes (aiff);
    const auto payload = maskedUtf8 ("Hidden.wav");
    bytes.append (chunk ("qeln", (juce::uint32) payload.getSize(), payload).getData(), 8 + payload.getSize());
    ASSERT_TRUE (writeBytes (aiff, bytes));
    EXPECT_EQ (processor.readStoredName (aiff), "");

    const auto flac = temp.file ("track.flac");
    ASSERT_TRUE (fixtures::writeAudioFile (flac, shortSignal(), 44100.0, "FLAC", 16));
    EXPECT_EQ (processor.readStoredName (flac), "");

    // Both really are readable audio: the empty name is the answer of their readers.
    EXPECT_NE (std::unique_ptr<juce::AudioFormatReader> (processor.formatManager.createReaderFor (aiff)), nullptr);
    EXPECT_NE (std::unique_ptr<juce::AudioFormatReader> (processor.formatManager.createReaderFor (flac)), nullptr);
}

TEST (StoredNameReader, MissingFileAndFolderGiveEmptyNames)
{
    fixtures::TempFolder temp;
    QuillaneAudioProcessor processor;
    EXPECT_EQ (processor.readStoredName (temp.file ("absent.wav")), "");
    EXPECT_EQ (processor.readStoredName (temp.folder), "");
}

TEST (StoredNameReader, PayloadDecodingNeverTrustsTheBytes)
{
    const juce::String bad = juce::String::charToString (0xFFFD);
    struct Case
    {
        const char* label;
        juce::MemoryBlock payload;
        juce::String expected;
    };
    const Case cases[] = {
        { "ASCII", maskedUtf8 ("Mix.wav"), "Mix.wav" },
        { "two, three and four bytes", maskedUtf8 (juce::String::fromUTF8 ("é音🎵")), juce::String::fromUTF8 ("é音🎵") },
        { "truncated two-byte", maskBytes ({ 'a', 0xC3 }), "a" + bad },
        { "truncated three-byte", maskBytes ({ 0xE2, 0x82 }), bad },
        { "truncated four-byte then ASCII", maskBytes ({ 0xF0, 0x9F, 0x8E, 'z' }), bad + "z" },
        { "stray continuation bytes", maskBytes ({ 0x80, 0xBF }), bad + bad },
        { "overlong slash", maskBytes ({ 0xC0, 0xAF }), bad + bad },
        { "overlong three-byte", maskBytes ({ 0xE0, 0x80, 0xAF }), bad + bad + bad },
        { "surrogate", maskBytes ({ 0xED, 0xA0, 0x80 }), bad + bad + bad },
        { "beyond U+10FFFF", maskBytes ({ 0xF4, 0x90, 0x80, 0x80 }), bad + bad + bad + bad },
        { "never a lead byte", maskBytes ({ 0xFF, 'b' }), bad + "b" },
        { "NUL inside", maskBytes ({ 'a', 0, 'b' }), "a" + bad + "b" },
        { "nothing", juce::MemoryBlock(), "" },
    };
    for (const auto& c : cases)
    {
        // A copy of exactly the payload's size: a read past it would be
        // caught by the sanitisers and would show as extra characters.
        std::vector<char> exact (c.payload.getSize());
        if (! exact.empty())
            std::memcpy (exact.data(), c.payload.getData(), exact.size());
        EXPECT_EQ (StoredNameWav::decodePayload (exact.data(), exact.size()), c.expected) << c.label;
    }
}
