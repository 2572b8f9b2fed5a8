#include "StoredNameWav.h"

#include <cstring>
#include <vector>

namespace
{
constexpr char chunkId[] = "qeln";
constexpr juce::int64 riffHeaderBytes = 12;
constexpr juce::int64 chunkHeaderBytes = 8;
constexpr juce::int64 maxRiffSize = 0xFFFFFFFFLL;
constexpr size_t writeBufferBytes = 32768;
constexpr size_t appendBufferBytes = 16384;

// Real WAV files have a handful of chunks; a walk this long is a hostile file
// made of empty chunks, which must not keep the message thread busy.
constexpr int maxChunksWalked = 100000;

constexpr juce::juce_wchar replacementCharacter = 0xFFFD;

bool hasId (const char* bytes, const char* id) { return std::memcmp (bytes, id, 4) == 0; }

/** The RIFF size field of a RIFF/WAVE file, or nothing for any other file. */
std::optional<juce::uint32> readRiffSize (juce::InputStream& in)
{
    char header[riffHeaderBytes];
    if (! in.setPosition (0) || in.read (header, (int) riffHeaderBytes) != (int) riffHeaderBytes)
        return {};
    if (! hasId (header, "RIFF") || ! hasId (header + 8, "WAVE"))
        return {};
    return juce::ByteOrder::littleEndianInt (header + 4);
}

bool writeAudio (const juce::AudioBuffer<float>& buffer, double sampleRate, const juce::File& file)
{
    juce::WavAudioFormat wav;
    auto stream = std::make_unique<juce::FileOutputStream> (file, writeBufferBytes);
    if (stream->failedToOpen())
        return false;

    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (
        stream.get(), sampleRate, (unsigned int) buffer.getNumChannels(), StoredNameWav::bitsPerSample, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release(); // owned by the writer now

    const auto wrote = buffer.getNumSamples() == 0
                       || writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
    // Destroying the writer pads the data, rewrites the header and closes the
    // stream. Lost bytes there show up as a RIFF size that disagrees with the
    // file's length, which appendStoredName checks before touching the file.
    writer.reset();
    return wrote;
}

/** The first byte of an n-byte sequence and the range its second byte must be
    in to be neither overlong, nor a surrogate, nor beyond U+10FFFF. */
struct SequenceStart
{
    int length = 0;
    juce::uint8 secondMin = 0x80, secondMax = 0xBF;
    juce::juce_wchar initialBits = 0;
};

SequenceStart classifyLeadByte (juce::uint8 b)
{
    if (b >= 0xC2 && b <= 0xDF) return { 2, 0x80, 0xBF, (juce::juce_wchar) (b & 0x1F) };
    if (b == 0xE0)              return { 3, 0xA0, 0xBF, (juce::juce_wchar) (b & 0x0F) };
    if (b == 0xED)              return { 3, 0x80, 0x9F, (juce::juce_wchar) (b & 0x0F) };
    if (b >= 0xE1 && b <= 0xEF) return { 3, 0x80, 0xBF, (juce::juce_wchar) (b & 0x0F) };
    if (b == 0xF0)              return { 4, 0x90, 0xBF, (juce::juce_wchar) (b & 0x07) };
    if (b >= 0xF1 && b <= 0xF3) return { 4, 0x80, 0xBF, (juce::juce_wchar) (b & 0x07) };
    if (b == 0xF4)              return { 4, 0x80, 0x8F, (juce::juce_wchar) (b & 0x07) };
    return {};
}

/** Decodes one character at bytes[i], never looking at or past bytes[size].
    Returns the character and how many bytes it took (a broken sequence takes
    its valid prefix and yields U+FFFD). */
std::pair<juce::juce_wchar, size_t> decodeCharacter (const juce::uint8* bytes, size_t size, size_t i)
{
    const auto lead = bytes[i];
    if (lead < 0x80)
        return { lead == 0 ? replacementCharacter : (juce::juce_wchar) lead, 1 };

    const auto start = classifyLeadByte (lead);
    if (start.length == 0)
        return { replacementCharacter, 1 };

    auto value = start.initialBits;
    size_t taken = 1;
    for (int k = 1; k < start.length; ++k)
    {
        if (i + taken >= size)
            return { replacementCharacter, taken };
        const auto b = bytes[i + taken];
        const auto lo = k == 1 ? start.secondMin : (juce::uint8) 0x80;
        const auto hi = k == 1 ? start.secondMax : (juce::uint8) 0xBF;
        if (b < lo || b > hi)
            return { replacementCharacter, taken };
        value = (value << 6) | (juce::juce_wchar) (b & 0x3F);
        ++taken;
    }
    return { value, taken };
}
} // namespace

//==============================================================================
bool StoredNameWav::writeWav (const juce::AudioBuffer<float>& buffer, double sampleRate, const juce::File& file,
                              const juce::String& originalName)
{
    // JUCE makes a writer even for no channels, then fails writing to it.
    if (! (sampleRate > 0.0) || buffer.getNumChannels() < 1 || ! file.deleteFile())
        return false;

    if (writeAudio (buffer, sampleRate, file) && appendStoredName (file, originalName))
        return true;

    // A file without its name, or with sizes that lie, must not look like an export.
    file.deleteFile();
    return false;
}

bool StoredNameWav::appendStoredName (const juce::File& file, const juce::String& originalName)
{
    const auto chunk = makeChunk (originalName);
    if (chunk.isEmpty())
        return false;

    juce::int64 length = 0;
    {
        juce::FileInputStream in (file);
        if (! in.openedOk())
            return false;
        length = in.getTotalLength();
        const auto riffSize = readRiffSize (in);
        // Anything else (RF64, a truncated or half-written file) would be
        // damaged by a 32-bit size rewrite.
        if (! riffSize || (juce::int64) *riffSize != length - 8)
            return false;
    }

    const auto chunkBytes = (juce::int64) chunk.getSize();
    if (! fitsRiffSize (length, chunkBytes))
        return false;

    const auto newLength = length + chunkBytes;
    {
        juce::FileOutputStream out (file, appendBufferBytes);
        if (out.failedToOpen())
            return false;

        auto ok = out.setPosition (length) && out.write (chunk.getData(), chunk.getSize())
                  && out.setPosition (4) && out.writeInt ((int) (juce::uint32) (newLength - 8));
        out.flush();
        if (! ok || out.getStatus().failed())
            return false;
    }

    // A short write is not always reported by the stream: the file itself
    // must show the new length and give the name back.
    if (file.getSize() != newLength)
        return false;
    {
        juce::FileInputStream in (file);
        const auto riffSize = readRiffSize (in);
        if (! riffSize || (juce::int64) *riffSize != newLength - 8)
            return false;
    }
    const auto stored = readStoredNameChunk (file);
    return stored.has_value() && *stored == originalName;
}

//==============================================================================
juce::String StoredNameWav::readStoredName (const juce::File& file, juce::AudioFormatManager& formatManager)
{
    if (auto name = readStoredNameChunk (file))
        return *name;
    return readNameFromMetadata (file, formatManager);
}

std::optional<juce::String> StoredNameWav::readStoredNameChunk (const juce::File& file)
{
    juce::FileInputStream fileStream (file);
    if (! fileStream.openedOk())
        return {};

    const auto length = fileStream.getTotalLength();
    juce::BufferedInputStream in (fileStream, 4096);
    if (! readRiffSize (in))
        return {};

    // Sizes are unsigned 32-bit and positions 64-bit, so every step moves
    // forward and the walk ends.
    juce::int64 position = riffHeaderBytes;
    for (int walked = 0; walked < maxChunksWalked && length - position >= chunkHeaderBytes; ++walked)
    {
        char header[chunkHeaderBytes];
        if (! in.setPosition (position) || in.read (header, 4) != 4)
            return {};
        const auto size = in.read (header + 4, 4) == 4 ? juce::ByteOrder::littleEndianInt (header + 4) : 0u;
        position += chunkHeaderBytes;
        const auto remaining = length - position;

        if (hasId (header, chunkId))
        {
            if ((juce::int64) size > remaining || size > maxNameBytes)
                return juce::String();
            std::vector<juce::uint8> payload (size);
            if (size > 0 && in.read (payload.data(), (int) size) != (int) size)
                return juce::String();
            return decodePayload (payload.data(), payload.size());
        }

        const auto skip = (juce::int64) size + (juce::int64) (size & 1u);
        if (skip > remaining)
            return {};
        position += skip;
    }
    return {};
}

juce::String StoredNameWav::readNameFromMetadata (const juce::File& file, juce::AudioFormatManager& formatManager)
{
    std::unique_ptr<juce::AudioFormatReader> reader (formatManager.createReaderFor (file));
    if (reader == nullptr)
        return {};

    const auto& metadata = reader->metadataValues;
    for (const auto* key : { "QEL_OriginalName", "INAM" })
        if (metadata.containsKey (key))
            return metadata.getValue (key, {});
    return {};
}

//==============================================================================
juce::MemoryBlock StoredNameWav::makeChunk (const juce::String& originalName)
{
    const auto numBytes = originalName.getNumBytesAsUTF8();
    if (numBytes > maxNameBytes)
        return {};

    juce::MemoryOutputStream out;
    out.write (chunkId, 4);
    out.writeInt ((int) (juce::uint32) numBytes);
    const auto* utf8 = reinterpret_cast<const juce::uint8*> (originalName.toRawUTF8());
    for (size_t i = 0; i < numBytes; ++i)
        out.writeByte ((char) (utf8[i] ^ mask));
    if ((numBytes & 1) != 0)
        out.writeByte (0);
    return out.getMemoryBlock();
}

juce::String StoredNameWav::decodePayload (const void* data, size_t size)
{
    std::vector<juce::uint8> bytes (size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<const juce::uint8*> (data)[i] ^ mask;

    std::vector<juce::juce_wchar> characters;
    characters.reserve (size + 1);
    for (size_t i = 0; i < size;)
    {
        const auto [character, taken] = decodeCharacter (bytes.data(), size, i);
        characters.push_back (character);
        i += taken;
    }
    characters.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (characters.data()));
}

bool StoredNameWav::fitsRiffSize (juce::int64 fileLength, juce::int64 chunkBytes)
{
    return fileLength >= riffHeaderBytes && chunkBytes >= chunkHeaderBytes
           && fileLength + chunkBytes - 8 <= maxRiffSize;
}
