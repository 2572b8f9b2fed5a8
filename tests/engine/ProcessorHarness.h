#pragma once

#include "AudioFixtures.h"
#include "PluginProcessor.h"

#include <memory>

/** A processor prepared at a host rate, with helpers to load generated tracks
    from real files and render blocks through processBlock. */
struct ProcessorHarness
{
    explicit ProcessorHarness (double rate = 48000.0)
    {
        processor.setPlayConfigDetails (0, 2, rate, 512);
        processor.prepareToPlay (rate, 512);
    }

    /** Writes buffer as a 32-bit float WAV at rate and loads it into slot. */
    juce::File loadTrack (int slot, const juce::AudioBuffer<float>& buffer, double rate,
                          const juce::String& name = {})
    {
        const auto file = temp.file (name.isEmpty() ? "track" + juce::String (slot) + ".wav" : name);
        fixtures::writeAudioFile (file, buffer, rate, "WAV", 32);
        processor.loadFileIntoSlot (slot, file);
        return file;
    }

    juce::File loadConstant (int slot, float value, int length, int channels = 1)
    {
        return loadTrack (slot, fixtures::makeBuffer (channels, length, [=] (int, int) { return value; }),
                          processor.hostSampleRate);
    }

    juce::AudioBuffer<float> render (int numSamples, int channels = 2)
    {
        juce::AudioBuffer<float> out (channels, numSamples);
        // Garbage in the host's buffer must never leak into the output.
        for (int c = 0; c < channels; ++c)
            juce::FloatVectorOperations::fill (out.getWritePointer (c), 9.0f, numSamples);
        juce::MidiBuffer midi;
        processor.processBlock (out, midi);
        return out;
    }

    fixtures::TempFolder temp;
    QuillaneAudioProcessor processor;
};
