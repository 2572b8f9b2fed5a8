#include "ExportTestSupport.h"

#include "AudioFixtures.h"
#include "PluginProcessor.h"
#include "export/StoredNameWav.h"

#include <gtest/gtest.h>

#include <string>

#if JUCE_LINUX || JUCE_MAC
 #include <csignal>
 #include <sys/resource.h>
#endif

using namespace exporttest;

namespace
{
juce::AudioBuffer<float> testSignal (int channels, int length)
{
    return fixtures::makeBuffer (channels, length, [] (int c, int i) {
        return 0.5f * std::sin (0.01f * (float) (i + 1) * (float) (c + 1));
    });
}

/** Where the name chunk starts: the file length before it was appended. */
juce::int64 chunkStart (const juce::MemoryBlock& bytes, const juce::String& name)
{
    const auto n = (juce::int64) name.getNumBytesAsUTF8();
    return (juce::int64) bytes.getSize() - 8 - n - (n & 1);
}

struct NameCase
{
    const char* label;
    juce::String name;
};

// Test names show the label rather than the bytes of the case.
void PrintTo (const NameCase& nameCase, std::ostream* out) { *out << nameCase.label; }

class StoredNameRoundTrip : public testing::TestWithParam<NameCase>
{
};
} // namespace

TEST_P (StoredNameRoundTrip, ChunkLayoutSizesAndNameReadBack)
{
    const auto name = GetParam().name;
    fixtures::TempFolder temp;
    const auto file = temp.file ("Out.wav");
    const auto audio = testSignal (2, 1001);

    QuillaneAudioProcessor processor;
    processor.prepareToPlay (44100.0, 512);
    ASSERT_TRUE (processor.writeWav (audio, file, name));

    const auto bytes = readBytes (file);
    const auto n = (size_t) name.getNumBytesAsUTF8();
    const auto start = (size_t) chunkStart (bytes, name);

    EXPECT_EQ (juce::String (static_cast<const char*> (bytes.getData()) + start, 4), "qeln");
    EXPECT_EQ (littleEndian32 (bytes, start + 4), n);
    EXPECT_EQ (juce::MemoryBlock (static_cast<const char*> (bytes.getData()) + start + 8, n), maskedUtf8 (name));
    if ((n & 1) != 0)
    {
        EXPECT_EQ (bytes[bytes.getSize() - 1], 0);
    }
    EXPECT_EQ (littleEndian32 (bytes, 4), bytes.getSize() - 8);

    // The name is not readable as plain text in the file.
    if (n > 0)
    {
        const std::string fileBytes (static_cast<const char*> (bytes.getData()), bytes.getSize());
        EXPECT_EQ (fileBytes.find (name.toStdString()), std::string::npos);
    }

    EXPECT_EQ (processor.readStoredName (file), name);
    const auto renamed = temp.file ("Renamed.wav");
    ASSERT_TRUE (file.moveFileTo (renamed));
    EXPECT_EQ (processor.readStoredName (renamed), name);

    const auto decoded = readWithJuce (renamed);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_EQ (decoded->bitsPerSample, 24);
    EXPECT_EQ (decoded->sampleRate, 44100.0);
    EXPECT_LE (maxDifference (decoded->audio, audio), quantum24);
}

INSTANTIATE_TEST_SUITE_P (Names, StoredNameRoundTrip,
                          testing::Values (NameCase { "AsciiOdd", "Mix 3.wav" },
                                           NameCase { "AsciiEven", "Mix 12.wav" },
                                           NameCase { "ThreeLetters", "abc" },
                                           NameCase { "Empty", "" },
                                           NameCase { "NonAscii", juce::String::fromUTF8 ("Ünïcødé – 音楽 🎵.flac") },
                                           NameCase { "NonAsciiOddBytes", juce::String::fromUTF8 ("é.wav") }),
                          [] (const auto& nameCase) { return std::string (nameCase.param.label); });

TEST (StoredNameWriter, NonAsciiNameCountsUtf8Bytes)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("x.wav");
    const auto name = juce::String::fromUTF8 ("é音");  // 2 characters, 5 bytes
    ASSERT_TRUE (StoredNameWav::writeWav (testSignal (1, 10), 48000.0, file, name));
    const auto bytes = readBytes (file);
    EXPECT_EQ (littleEndian32 (bytes, (size_t) chunkStart (bytes, name) + 4), 5u);
    EXPECT_EQ (bytes.getSize() % 2, 0u);
}

TEST (StoredNameWriter, EmptyBufferMakesValidFileWithEmptyDataAndTheName)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("empty.wav");
    ASSERT_TRUE (StoredNameWav::writeWav (juce::AudioBuffer<float> (2, 0), 48000.0, file, "Silence.aif"));

    const auto decoded = readWithJuce (file);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_EQ (decoded->length, 0);
    EXPECT_EQ (decoded->channels, 2);
    EXPECT_EQ (StoredNameWav::readStoredNameChunk (file), juce::String ("Silence.aif"));
    EXPECT_EQ (littleEndian32 (readBytes (file), 4), (juce::uint32) file.getSize() - 8);
}

TEST (StoredNameWriter, OddDataLengthIsPaddedBeforeTheChunk)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("odd.wav");
    const auto audio = testSignal (1, 7); // 21 data bytes
    ASSERT_TRUE (StoredNameWav::writeWav (audio, 22050.0, file, "ab"));

    const auto bytes = readBytes (file);
    const auto start = (size_t) chunkStart (bytes, "ab");
    EXPECT_EQ (start % 2, 0u);
    EXPECT_EQ (bytes[start - 1], 0);
    EXPECT_EQ (littleEndian32 (bytes, 4), bytes.getSize() - 8);
    const auto decoded = readWithJuce (file);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_EQ (decoded->length, 7);
    EXPECT_LE (maxDifference (decoded->audio, audio), quantum24);
}

TEST (StoredNameWriter, SamplesBeyondFullScaleAreClipped)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("loud.wav");
    const auto audio = fixtures::makeBuffer (1, 4, [] (int, int i) { return i % 2 == 0 ? 1.5f : -3.0f; });
    ASSERT_TRUE (StoredNameWav::writeWav (audio, 48000.0, file, "loud"));
    const auto decoded = readWithJuce (file);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_NEAR (decoded->audio.getSample (0, 0), 1.0f, 2 * quantum24);
    EXPECT_NEAR (decoded->audio.getSample (0, 1), -1.0f, 2 * quantum24);
}

TEST (StoredNameWriter, ReplacesAnExistingFile)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("again.wav");
    ASSERT_TRUE (file.replaceWithText (juce::String::repeatedString ("old contents ", 10000)));
    ASSERT_TRUE (StoredNameWav::writeWav (testSignal (2, 100), 48000.0, file, "new"));
    EXPECT_EQ (StoredNameWav::readStoredNameChunk (file), juce::String ("new"));
    EXPECT_EQ (littleEndian32 (readBytes (file), 4), (juce::uint32) file.getSize() - 8);
}

TEST (StoredNameWriter, RefusalsLeaveNoFile)
{
    fixtures::TempFolder temp;
    const auto tooLong = juce::String::repeatedString ("x", (int) StoredNameWav::maxNameBytes + 1);
    struct Case
    {
        const char* label;
        juce::AudioBuffer<float> audio;
        double rate;
        juce::File file;
        juce::String name;
    };
    const Case cases[] = {
        { "no sample rate", testSignal (2, 10), 0.0, temp.file ("a.wav"), "a" },
        { "no channels", juce::AudioBuffer<float> (0, 10), 48000.0, temp.file ("b.wav"), "b" },
        { "missing folder", testSignal (2, 10), 48000.0, temp.file ("nowhere").getChildFile ("c.wav"), "c" },
        { "name too long for a file name", testSignal (2, 10), 48000.0, temp.file ("d.wav"), tooLong },
    };
    for (const auto& c : cases)
    {
        EXPECT_FALSE (StoredNameWav::writeWav (c.audio, c.rate, c.file, c.name)) << c.label;
        EXPECT_FALSE (c.file.exists()) << c.label;
    }
}

//==============================================================================
TEST (StoredNameWriter, RiffSizeLimitTable)
{
    struct Case
    {
        juce::int64 fileLength, chunkBytes;
        bool fits;
    };
    const Case cases[] = {
        { 100, 18, true },
        { 0xFFFFFFFFLL - 18 + 8, 18, true },   // new RIFF size exactly 0xFFFFFFFF
        { 0xFFFFFFFFLL - 18 + 9, 18, false },  // one byte more
        { 0x100000000LL, 8, false },
        { 11, 8, false },                      // shorter than a RIFF header
        { 100, 7, false },                     // not a chunk
    };
    for (const auto& c : cases)
        EXPECT_EQ (StoredNameWav::fitsRiffSize (c.fileLength, c.chunkBytes), c.fits)
            << c.fileLength << " + " << c.chunkBytes;
}

namespace
{
/** A sparse RIFF/WAVE file of the given length whose one data chunk fills it. */
bool makeLargeRiffFile (const juce::File& file, juce::int64 length)
{
    juce::FileOutputStream out (file);
    if (out.failedToOpen())
        return false;
    out.write ("RIFF", 4);
    out.writeInt ((int) (juce::uint32) (length - 8));
    out.write ("WAVEdata", 8);
    out.writeInt ((int) (juce::uint32) (length - 20));
    // Seeking past the end leaves a hole: no disk space is used.
    return out.setPosition (length - 1) && out.writeByte (0) && (out.flush(), out.getStatus().wasOk());
}

juce::MemoryBlock readHead (const juce::File& file)
{
    juce::MemoryBlock head;
    juce::FileInputStream (file).readIntoMemoryBlock (head, 12);
    return head;
}
} // namespace

TEST (StoredNameWriter, FileNearFourGigabytesTakesTheChunkOnlyWhileItsSizeFits)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("large.wav");
    const juce::String name ("abcdefghi"); // a chunk of 18 bytes with its pad
    // RIFF files have even lengths: the largest that still takes the chunk
    // ends up with the RIFF size 0xFFFFFFFE.
    const juce::int64 largestFitting = 0xFFFFFFF4LL;

    ASSERT_TRUE (makeLargeRiffFile (file, largestFitting + 2));
    EXPECT_FALSE (StoredNameWav::appendStoredName (file, name));
    EXPECT_EQ (file.getSize(), largestFitting + 2);
    EXPECT_EQ (littleEndian32 (readHead (file), 4), (juce::uint32) (largestFitting + 2 - 8));

    ASSERT_TRUE (file.deleteFile());
    ASSERT_TRUE (makeLargeRiffFile (file, largestFitting));
    EXPECT_TRUE (StoredNameWav::appendStoredName (file, name));
    EXPECT_EQ (file.getSize(), largestFitting + 18);
    EXPECT_EQ (littleEndian32 (readHead (file), 4), 0xFFFFFFFEu);
    EXPECT_EQ (StoredNameWav::readStoredNameChunk (file), name);
    file.deleteFile();
}

TEST (StoredNameWriter, SixtyFourBitRiffFileIsRefusedAndLeftIntact)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("rf64.wav");
    ASSERT_TRUE (StoredNameWav::writeWav (testSignal (2, 50), 48000.0, file, "x"));
    auto bytes = readBytes (file);
    bytes.copyFrom ("RF64\xff\xff\xff\xff", 0, 8);
    ASSERT_TRUE (writeBytes (file, bytes));

    EXPECT_FALSE (StoredNameWav::appendStoredName (file, "name"));
    EXPECT_EQ (readBytes (file), bytes);
}

TEST (StoredNameWriter, FileWhoseRiffSizeDisagreesWithItsLengthIsRefused)
{
    fixtures::TempFolder temp;
    const auto file = temp.file ("short.wav");
    ASSERT_TRUE (fixtures::writeAudioFile (file, testSignal (2, 100), 48000.0));
    auto bytes = readBytes (file);
    bytes.setSize (bytes.getSize() - 6); // as if the last write never reached the disk
    ASSERT_TRUE (writeBytes (file, bytes));

    EXPECT_FALSE (StoredNameWav::appendStoredName (file, "name"));
    EXPECT_EQ (readBytes (file), bytes);
}

#if JUCE_LINUX || JUCE_MAC
namespace
{
/** Makes every write past limit bytes fail, as a full disk does, for the
    lifetime of the object. */
class FileSizeLimit
{
public:
    explicit FileSizeLimit (rlim_t limit)
    {
        getrlimit (RLIMIT_FSIZE, &saved);
        previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = limit;
        active = setrlimit (RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &saved);
        std::signal (SIGXFSZ, previousHandler);
    }
    bool active = false;

private:
    rlimit saved {};
    void (*previousHandler) (int) = nullptr;
};
} // namespace

TEST (StoredNameWriter, AFullDiskAtAnyPointGivesFalseAndNoFile)
{
    fixtures::TempFolder temp;
    const auto audio = testSignal (2, 20000);
    const juce::String name ("abc.wav"); // 7 bytes and a pad byte: a 16-byte chunk

    const auto reference = temp.file ("reference.wav");
    ASSERT_TRUE (StoredNameWav::writeWav (audio, 48000.0, reference, name));
    const auto complete = reference.getSize();
    const auto audioEnd = complete - 16;

    struct Case
    {
        const char* label;
        juce::int64 limit;
    };
    const Case cases[] = {
        { "in the header", 20 },
        { "inside the audio", audioEnd / 2 },
        { "one byte before the audio ends", audioEnd - 1 },
        { "before the chunk", audioEnd },
        { "inside the chunk header", audioEnd + 5 },
        { "inside the name", audioEnd + 10 },
        { "before the pad byte", complete - 1 },
    };
    for (const auto& c : cases)
    {
        const auto file = temp.file (juce::String ("cut ") + c.label + ".wav");
        bool wrote = true;
        {
            FileSizeLimit limit ((rlim_t) c.limit);
            ASSERT_TRUE (limit.active);
            wrote = StoredNameWav::writeWav (audio, 48000.0, file, name);
        }
        EXPECT_FALSE (wrote) << c.label;
        EXPECT_FALSE (file.exists()) << c.label;
    }

    const auto exact = temp.file ("exact.wav");
    {
        FileSizeLimit limit ((rlim_t) complete);
        EXPECT_TRUE (StoredNameWav::writeWav (audio, 48000.0, exact, name));
    }
    EXPECT_EQ (readBytes (exact), readBytes (reference));
}
#endif
