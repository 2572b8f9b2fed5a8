#include "PluginProcessor.h"

#include "TrackDecoder.h"
#include "analysis/LoudnessAnalyzer.h"
#include "editor/PluginEditor.h"

#include <cmath>

namespace
{
constexpr double crossfadeSeconds = 0.008;
constexpr int analysisStopTimeoutMs = 4000;

int roundHalfAwayFromZero (double v) { return (int) std::round (v); }
} // namespace

//==============================================================================
QuillaneAudioProcessor::QuillaneAudioProcessor()
    : AudioProcessor (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    // Includes JUCE's own MP3 reader where there is no Core Audio (see the
    // build's JUCE_USE_MP3AUDIOFORMAT).
    formatManager.registerBasicFormats();

    for (auto& slot : slots)
        slot.clear();
    for (auto& gain : trackGains)
        gain = 0.0f;

    readGlobalPreferences();
    savedNullMode = false;
}

QuillaneAudioProcessor::~QuillaneAudioProcessor()
{
    stopAnalysisJob();
    masterReference.clear();
}

//==============================================================================
const juce::String QuillaneAudioProcessor::getName() const { return "Quillane"; }
void QuillaneAudioProcessor::releaseResources() {}
double QuillaneAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool QuillaneAudioProcessor::acceptsMidi() const { return true; }
bool QuillaneAudioProcessor::producesMidi() const { return false; }
bool QuillaneAudioProcessor::isMidiEffect() const { return false; }
bool QuillaneAudioProcessor::hasEditor() const { return true; }
juce::AudioProcessorEditor* QuillaneAudioProcessor::createEditor() { return new QuillaneAudioProcessorEditor (*this); }
int QuillaneAudioProcessor::getNumPrograms() { return 1; }
int QuillaneAudioProcessor::getCurrentProgram() { return 0; }
void QuillaneAudioProcessor::setCurrentProgram (int) {}
const juce::String QuillaneAudioProcessor::getProgramName (int) { return "Default"; }
void QuillaneAudioProcessor::changeProgramName (int, const juce::String&) {}
void QuillaneAudioProcessor::getStateInformation (juce::MemoryBlock&) {}
void QuillaneAudioProcessor::setStateInformation (const void*, int) {}

bool QuillaneAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    return layouts.getMainInputChannels() == 0 && layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo();
}

//==============================================================================
void QuillaneAudioProcessor::prepareToPlay (double sampleRate, int)
{
    if (! (sampleRate > 0.0))
        return;

    const auto oldRate = hostSampleRate;
    fadeLength = std::max (1, roundHalfAwayFromZero (sampleRate * crossfadeSeconds));
    fadePosition = -1;

    if (std::abs (sampleRate - oldRate) <= 1.0)
    {
        hostSampleRate = sampleRate;
        return;
    }

    stopAnalysisJob();
    playing = false;
    const juce::ScopedLock lock (audioLock);
    hostSampleRate = sampleRate;
    for (int i = 0; i < numSlots; ++i)
    {
        auto& slot = slots[(size_t) i];
        if (! slot.loaded)
            continue;
        resampleSlotToHostRate (slot);
        // A track too long for the new rate cannot be kept at the old one.
        if (slot.buffer.getNumSamples() == 0 && slot.sourceBuffer.getNumSamples() > 0)
            slot.clear();
    }
    dropMatchState();
}

//==============================================================================
float QuillaneAudioProcessor::slotSample (int slot, int channel, juce::int64 t, const SlotGains& gains) const noexcept
{
    if (slot < 0)
        return 0.0f;
    const auto& s = slots[(size_t) slot];
    if (! s.loaded || t < 0 || t >= s.buffer.getNumSamples() || s.buffer.getNumChannels() < 1)
        return 0.0f;
    const auto c = std::min (channel, s.buffer.getNumChannels() - 1);
    return s.buffer.getSample (c, (int) t) * gains[(size_t) slot];
}

void QuillaneAudioProcessor::renderSamples (juce::AudioBuffer<float>& out, juce::int64 start, int target,
                                            int& current, float outGain)
{
    // One reading of the gains per block, not one per sample.
    SlotGains gains;
    for (size_t i = 0; i < gains.size(); ++i)
        gains[i] = trackGains[i].load (std::memory_order_relaxed);

    const auto numChannels = out.getNumChannels();
    for (int s = 0; s < out.getNumSamples(); ++s)
    {
        const auto t = start + s;

        // A rate change mid-fade can leave the counter past a shorter fade.
        if (fadePosition >= fadeLength)
        {
            activeSlot = target;
            current = target;
            fadePosition = -1;
        }

        if (fadePosition >= 0)
        {
            const auto a = (float) fadePosition / (float) fadeLength;
            for (int c = 0; c < numChannels; ++c)
                out.setSample (c, s,
                               (slotSample (target, c, t, gains) * a + slotSample (current, c, t, gains) * (1.0f - a))
                                   * outGain);

            if (++fadePosition >= fadeLength)
            {
                activeSlot = target;
                current = target;
                fadePosition = -1;
            }
        }
        else
        {
            for (int c = 0; c < numChannels; ++c)
                out.setSample (c, s, slotSample (current, c, t, gains) * outGain);
        }
    }
}

void QuillaneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    buffer.clear();

    // Only ever try the lock: loading holds it while it swaps slot buffers, and
    // the audio thread must never wait for the message thread.
    const juce::ScopedTryLock lock (audioLock);
    if (! lock.isLocked())
        return;

    const auto n = buffer.getNumSamples();
    if (buffer.getNumChannels() == 0 || n == 0 || ! playing.load())
        return;

    const auto outGain = masterGain.load();
    auto p = playPosition.load();
    const auto target = selectedSlot.load();
    auto current = activeSlot.load();

    if (target >= 0 && target != current && fadePosition < 0)
        fadePosition = 0;

    renderSamples (buffer, p, target, current, outGain);

    const auto endSlot = fadePosition < 0 ? activeSlot.load() : target;
    const auto atEnd = endSlot >= 0 && slots[(size_t) endSlot].loaded
                       && p + n >= (juce::int64) slots[(size_t) endSlot].buffer.getNumSamples();

    // A seek or return to start made while this block rendered wins over the
    // position computed here.
    if (atEnd)
    {
        const auto back = cueSet.load() ? cuePosition.load() : (juce::int64) 0;
        if (playPosition.compare_exchange_strong (p, back))
        {
            // Also the stop position: otherwise, with "Play from Start" off,
            // every later play would resume past the end and stop at once.
            stopPosition = back;
            playing = false;
        }
    }
    else
    {
        playPosition.compare_exchange_strong (p, p + n);
    }
}

//==============================================================================
void QuillaneAudioProcessor::play()
{
    if (countLoadedSlots() == 0)
        return;

    if (cueSet.load())
        playPosition = cuePosition.load();
    else if (playFromStart)
        playPosition = 0;
    else
        playPosition = stopPosition.load();

    if (activeSlot.load() < 0)
    {
        for (int i = 0; i < numSlots; ++i)
        {
            if (slots[(size_t) i].loaded)
            {
                activeSlot = i;
                selectedSlot = i;
                break;
            }
        }
    }
    playing = true;
}

void QuillaneAudioProcessor::stop()
{
    const auto position = playPosition.load();
    stopPosition = position;
    if (! playFromStart)
    {
        cuePosition = position;
        cueSet = true;
    }
    playing = false;
}

void QuillaneAudioProcessor::returnToStart()
{
    playing = false;
    cuePosition = 0;
    cueSet = false;
    stopPosition = 0;
    playPosition = 0;
}

void QuillaneAudioProcessor::seek (juce::int64 position)
{
    const auto length = getTimelineLengthSamples();
    if (length <= 0)
        return;
    cuePosition = juce::jlimit ((juce::int64) 0, length, position);
    cueSet = true;
    if (playing.load())
        playPosition = cuePosition.load();
}

void QuillaneAudioProcessor::selectSlot (int index)
{
    if (index >= 0 && index < numSlots && slots[(size_t) index].loaded)
        selectedSlot = index;
}

juce::int64 QuillaneAudioProcessor::getTimelineLengthSamples() const
{
    juce::int64 length = 0;
    for (const auto& slot : slots)
        if (slot.loaded)
            length = std::max (length, (juce::int64) slot.buffer.getNumSamples());
    return length;
}

int QuillaneAudioProcessor::countLoadedSlots() const
{
    int count = 0;
    for (const auto& slot : slots)
        if (slot.loaded)
            ++count;
    return count;
}

//==============================================================================
void QuillaneAudioProcessor::loadFileIntoSlot (int slotIndex, const juce::File& file)
{
    if (slotIndex < 0 || slotIndex >= numSlots || ! (hostSampleRate > 0.0))
        return;

    auto decoded = TrackDecoder::decodeFile (formatManager, file);
    if (! decoded)
        return;

    // Everything that can fail happens before the slot is touched, so a file
    // that cannot be used leaves the slot as it was.
    juce::AudioBuffer<float> resampled;
    if (! TrackDecoder::resample (decoded->buffer, decoded->sampleRate, hostSampleRate, resampled))
        return;

    // Measured before the lock: the audio thread stays silent while it is held.
    const auto lufs = LoudnessAnalyzer::measureIntegratedLUFS (resampled, hostSampleRate);
    const auto truePeakDb = LoudnessAnalyzer::measureTruePeakDBTP (resampled, hostSampleRate);

    // A running match reads the slot buffers and would publish gains for a set
    // of tracks that no longer exists.
    stopAnalysisJob();
    playing = false;

    const juce::ScopedLock lock (audioLock);
    auto& slot = slots[(size_t) slotIndex];
    slot.clear();
    slot.sourceBuffer = std::move (decoded->buffer);
    slot.sourceSampleRate = decoded->sampleRate;
    slot.fileName = file.getFileName();
    slot.loaded = true;
    slot.buffer = std::move (resampled);
    slot.buildPeaks();
    slot.lufs = lufs;
    slot.truePeakDb = truePeakDb;
    dropMatchState();
}

void QuillaneAudioProcessor::resampleSlotToHostRate (FileSlot& slot)
{
    if (! slot.loaded || ! (slot.sourceSampleRate > 0.0) || ! (hostSampleRate > 0.0))
        return;

    if (! TrackDecoder::resample (slot.sourceBuffer, slot.sourceSampleRate, hostSampleRate, slot.buffer))
        slot.buffer.setSize (0, 0);
}

void QuillaneAudioProcessor::clearSlot (int slotIndex)
{
    if (slotIndex < 0 || slotIndex >= numSlots)
        return;

    stopAnalysisJob();
    playing = false;

    const juce::ScopedLock lock (audioLock);
    slots[(size_t) slotIndex].clear();
    dropMatchState();
}

void QuillaneAudioProcessor::dropMatchState()
{
    // Whatever switches the match off also makes the listener hear unity gain,
    // so what is heard always agrees with what is shown.
    matchValid = false;
    for (int i = 0; i < numSlots; ++i)
        trackGains[(size_t) i] = slots[(size_t) i].loaded ? 1.0f : 0.0f;
    gainCeiling = 1.0f;
    masterGain = 1.0f;
    matchActive = false;
    analysisStatus = Idle;
}

//==============================================================================
juce::File QuillaneAudioProcessor::globalPrefsFile() const
{
    return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
        .getChildFile ("Audio Music Apps")
        .getChildFile ("Quillane")
        .getChildFile ("Preferences.xml");
}

void QuillaneAudioProcessor::readGlobalPreferences()
{
    const auto file = globalPrefsFile();
    if (! file.existsAsFile())
        return;

    // Preferences are a few attributes; anything far larger is not ours.
    constexpr juce::int64 maxPrefsFileSize = 1 << 20;
    if (file.getSize() > maxPrefsFileSize)
        return;

    const auto xml = juce::parseXML (file);
    // Compared ignoring case, like hasTagName, which would assert on a match in another case.
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase ("PREFERENCES"))
        return;

    lightMode = xml->getBoolAttribute ("uiLightMode", lightMode);
    hideInfo = xml->getBoolAttribute ("uiHideInfo", hideInfo);
    hideWaveforms = ! xml->getBoolAttribute ("uiShowWaveforms", ! hideWaveforms);
    if (xml->hasAttribute ("uiZoom"))
    {
        // A zoom outside the menu's range would make the window unusable, and
        // it would be written back on every save.
        const auto z = xml->getDoubleAttribute ("uiZoom");
        zoom = (std::isfinite (z) && z >= 0.75 && z <= 2.0) ? (float) z : 1.0f;
    }
    savedNullMode = xml->getBoolAttribute ("uiNullMode", savedNullMode);
    updateSeen = xml->getStringAttribute ("updateSeen", updateSeen);
}

void QuillaneAudioProcessor::saveGlobalPreferences()
{
    const auto file = globalPrefsFile();
    file.getParentDirectory().createDirectory();

    juce::XmlElement xml ("PREFERENCES");
    xml.setAttribute ("uiLightMode", lightMode ? "1" : "0");
    xml.setAttribute ("uiHideInfo", hideInfo ? "1" : "0");
    xml.setAttribute ("uiShowWaveforms", hideWaveforms ? "0" : "1");
    xml.setAttribute ("uiZoom", (double) zoom); // written in the shortest form that reads back exactly
    xml.setAttribute ("uiNullMode", savedNullMode ? "1" : "0");
    xml.setAttribute ("updateSeen", updateSeen);
    xml.writeTo (file);
}

//==============================================================================
void QuillaneAudioProcessor::startAnalysis (AnalysisTask task)
{
    if (countLoadedSlots() < 2)
    {
        analysisStatus = NeedTwoFiles;
        return;
    }

    analysisTask = task;
    stopAnalysisJob();
    playing = false;
    analysisStatus = Running;
    analysisWorker = std::make_unique<AnalysisWorker> (*this, task, hostSampleRate);
    analysisWorker->startThread (juce::Thread::Priority::normal);
}

void QuillaneAudioProcessor::stopAnalysisJob()
{
    if (analysisWorker == nullptr)
        return;

    // The measurements poll for exit often, so this takes milliseconds; still,
    // the worker is never deleted while its thread could touch this processor.
    if (! analysisWorker->stopThread (analysisStopTimeoutMs))
        analysisWorker->waitForThreadToExit (-1);
    analysisWorker.reset();

    if (analysisStatus.load() == Running)
        analysisStatus = Idle;
}

MatchResult QuillaneAudioProcessor::computeMatch()
{
    std::array<MatchTrack, numSlots> tracks;
    for (size_t i = 0; i < tracks.size(); ++i)
        tracks[i] = { slots[i].loaded, slots[i].lufs.load(), slots[i].truePeakDb.load() };

    const auto result = computeLoudnessMatch (tracks);
    for (size_t i = 0; i < tracks.size(); ++i)
        slots[i].matchGainDb = result.gainDb[i];
    return result;
}

//==============================================================================
QuillaneAudioProcessor::AnalysisWorker::AnalysisWorker (QuillaneAudioProcessor& owner, AnalysisTask taskToRun,
                                                        double rate)
    : juce::Thread ("QEL Analysis"), processor (owner), task (taskToRun), sampleRate (rate)
{
}

void QuillaneAudioProcessor::AnalysisWorker::run()
{
    switch (task)
    {
        case AnalysisTask::Match:
            runMatch();
            break;
    }
}

void QuillaneAudioProcessor::AnalysisWorker::runMatch()
{
    const auto shouldStop = [this] { return threadShouldExit(); };
    const auto rate = sampleRate;

    for (auto& slot : processor.slots)
    {
        if (threadShouldExit())
            return;
        if (! slot.loaded)
            continue;

        const auto lufs = LoudnessAnalyzer::measureIntegratedLUFS (slot.buffer, rate, shouldStop);
        const auto peak = LoudnessAnalyzer::measureTruePeakDBTP (slot.buffer, rate, shouldStop);
        // A measurement cut short is not a measurement.
        if (threadShouldExit())
            return;
        slot.lufs = lufs;
        slot.truePeakDb = peak;
    }

    const auto result = processor.computeMatch();
    if (threadShouldExit())
        return;

    for (size_t i = 0; i < result.gains.size(); ++i)
        processor.trackGains[i] = result.gains[i];
    processor.gainCeiling = result.ceiling;
    processor.storedGainCeiling = result.ceiling;
    processor.matchedLufs = result.matchedLufs;
    processor.masterGain = result.ceiling;
    processor.matchValid = true;
    processor.matchActive = true;
    processor.analysisStatus = Done;
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QuillaneAudioProcessor();
}
