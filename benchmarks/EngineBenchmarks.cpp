// Speed of the work a user waits for (loading and matching a track) and of the
// audio callback. Run: build/benchmarks/quillane_benchmarks
#include "PluginProcessor.h"
#include "TrackDecoder.h"
#include "analysis/LoudnessAnalyzer.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
constexpr double rate = 48000.0;

juce::AudioBuffer<float> noise (int channels, int length)
{
    juce::Random random (42);
    juce::AudioBuffer<float> b (channels, length);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
            b.setSample (c, i, random.nextFloat() * 0.5f - 0.25f);
    return b;
}

const juce::AudioBuffer<float>& threeMinutesStereo()
{
    static const auto b = noise (2, (int) (180 * rate));
    return b;
}

void integratedLoudnessOfThreeMinutes (benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize (LoudnessAnalyzer::measureIntegratedLUFS (threeMinutesStereo(), rate));
    state.SetItemsProcessed (state.iterations() * threeMinutesStereo().getNumSamples());
}
BENCHMARK (integratedLoudnessOfThreeMinutes)->Unit (benchmark::kMillisecond);

void truePeakOfThreeMinutes (benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize (LoudnessAnalyzer::measureTruePeakDBTP (threeMinutesStereo(), rate));
    state.SetItemsProcessed (state.iterations() * threeMinutesStereo().getNumSamples());
}
BENCHMARK (truePeakOfThreeMinutes)->Unit (benchmark::kMillisecond);

void resampleThreeMinutesTo44k1 (benchmark::State& state)
{
    juce::AudioBuffer<float> out;
    for (auto _ : state)
    {
        TrackDecoder::resample (threeMinutesStereo(), rate, 44100.0, out);
        benchmark::DoNotOptimize (out.getReadPointer (0));
    }
}
BENCHMARK (resampleThreeMinutesTo44k1)->Unit (benchmark::kMillisecond);

/** One 512-sample block, half of them inside a crossfade between two tracks. */
void processBlockWhileCrossfading (benchmark::State& state)
{
    QuillaneAudioProcessor processor;
    processor.prepareToPlay (rate, 512);
    for (int s = 0; s < 2; ++s)
    {
        auto& slot = processor.slots[(size_t) s];
        slot.buffer = noise (2, (int) (60 * rate));
        slot.loaded = true;
        processor.trackGains[(size_t) s] = 1.0f;
    }
    processor.play();

    juce::AudioBuffer<float> block (2, 512);
    juce::MidiBuffer midi;
    int next = 0;
    for (auto _ : state)
    {
        if (! processor.playing.load())
            processor.play(); // the tracks ended: start over, as a listener would
        processor.selectSlot (next);
        next = 1 - next;
        processor.processBlock (block, midi);
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    state.SetItemsProcessed (state.iterations() * 512);
}
BENCHMARK (processBlockWhileCrossfading);
} // namespace
