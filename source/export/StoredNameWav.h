#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <optional>

/** 24-bit WAV files that carry a track's original file name in a masked
    "qeln" chunk after the audio, and the reader that finds the name again.
    Message thread (or any single thread: nothing here is shared).
*/
struct StoredNameWav
{
    static constexpr juce::uint8 mask = 0xA6;
    static constexpr int bitsPerSample = 24;

    /** Names are file names; a chunk claiming more than this is not one of
        ours, and is refused rather than read into memory. */
    static constexpr juce::uint32 maxNameBytes = 65536;

    /** Writes the buffer as 24-bit PCM at sampleRate and appends the name.
        True only when the audio, the chunk, the size field and the final flush
        all reached the file; on false no file is left at the target. */
    static bool writeWav (const juce::AudioBuffer<float>& buffer, double sampleRate, const juce::File& file,
                          const juce::String& originalName);

    /** Appends the chunk to a complete RIFF/WAVE file and rewrites its RIFF
        size. Refuses (false, file untouched) an RF64 file, a file whose RIFF
        size disagrees with its length, or a result that would not fit the
        32-bit size field. A failed write leaves the file damaged: callers
        delete it. */
    static bool appendStoredName (const juce::File& file, const juce::String& originalName);

    /** The stored name: the chunk if the file is RIFF/WAVE and has one (even
        an empty or unreadable one), else the "QEL_OriginalName" or "INAM"
        metadata of any format the manager can read, else empty. */
    static juce::String readStoredName (const juce::File& file, juce::AudioFormatManager& formatManager);

    /** Only the chunk walk: nothing when the file is no RIFF/WAVE file or has
        no chunk, an empty string for a chunk that cannot be read whole. */
    static std::optional<juce::String> readStoredNameChunk (const juce::File& file);

    /** The metadata fallback alone. */
    static juce::String readNameFromMetadata (const juce::File& file, juce::AudioFormatManager& formatManager);

    /** The chunk's payload (id, size, masked bytes, pad) for a name. */
    static juce::MemoryBlock makeChunk (const juce::String& originalName);

    /** Unmasks a payload and decodes it as UTF-8, never reading past size
        bytes; invalid, overlong, surrogate and truncated sequences and NUL
        bytes each become U+FFFD. */
    static juce::String decodePayload (const void* data, size_t size);

    /** True when a RIFF file of fileLength bytes (before the chunk) can take a
        chunk of chunkBytes (header, payload and pad) in its 32-bit size. */
    static bool fitsRiffSize (juce::int64 fileLength, juce::int64 chunkBytes);
};
