#pragma once

#include "FileSlot.h"
#include "analysis/LoudnessMatch.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

enum class AnalysisTask
{
    Match
};

/** The plug-in instance. Its state is public: the editor reads and writes it
    directly and polls it on a timer.

    Threads:
    - audio thread: processBlock only. It try-locks audioLock and reads atomics.
    - message thread: everything else (transport, selection, loading, clearing,
      preferences, analysis start, export). Loading and clearing stop a running
      analysis job before they touch any slot.
    - "QEL Analysis" thread: AnalysisWorker::run, which reads slot buffers and
      publishes its results through atomics, the status last.
*/
class QuillaneAudioProcessor : public juce::AudioProcessor
{
public:
    static constexpr int numSlots = 10;

    enum AnalysisStatus
    {
        Idle = 0,
        Running = 1,
        Done = 2,
        NeedTwoFiles = 3
    };

    /** Runs one analysis job on its own thread. */
    class AnalysisWorker : public juce::Thread
    {
    public:
        /** rate: the host rate the slot buffers are at, fixed for the job. */
        AnalysisWorker (QuillaneAudioProcessor& owner, AnalysisTask task, double rate);
        void run() override;

    private:
        void runMatch();

        QuillaneAudioProcessor& processor;
        const AnalysisTask task;
        const double sampleRate;
    };

    QuillaneAudioProcessor();
    ~QuillaneAudioProcessor() override;

    //==============================================================================
    // Host answers.
    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    // Transport and selection. Message thread.
    void play();
    void stop();
    void returnToStart();
    void seek (juce::int64 position);
    void selectSlot (int index);
    /** Longest loaded track at the host rate; 0 with none. Message thread. */
    juce::int64 getTimelineLengthSamples() const;

    //==============================================================================
    // Loading. Message thread.
    void loadFileIntoSlot (int slotIndex, const juce::File& file);
    void resampleSlotToHostRate (FileSlot& slot);
    void clearSlot (int slotIndex);
    int countLoadedSlots() const;

    //==============================================================================
    // Preferences. Message thread.
    juce::File globalPrefsFile() const;
    void saveGlobalPreferences();

    //==============================================================================
    // Analysis. Message thread, except computeMatch (analysis thread).
    void startAnalysis (AnalysisTask task);
    MatchResult computeMatch();
    /** Stops a running job and waits until its thread has ended. */
    void stopAnalysisJob();

    //==============================================================================
    // Stored-name WAV files. Message thread.
    bool writeWav (const juce::AudioBuffer<float>& buffer, const juce::File& file, const juce::String& originalName);
    juce::String readStoredName (const juce::File& file);

    //==============================================================================
    juce::String exportName;
    juce::String latestVersion;
    juce::String updateSeen;
    std::atomic<bool> updateAvailable { false };
    std::atomic<bool> updateCheckStarted { false };

    JUCE_DECLARE_WEAK_REFERENCEABLE (QuillaneAudioProcessor)

public:
    std::array<FileSlot, numSlots> slots;
    double hostSampleRate = 0.0;
    std::atomic<bool> matchValid { false };
    std::atomic<bool> matchActive { false };
    std::atomic<float> storedGainCeiling { 1.0f };
    std::atomic<AnalysisTask> analysisTask { AnalysisTask::Match };
    bool lightMode = true;
    bool hideInfo = false;
    bool hideWaveforms = true;
    float zoom = 1.0f;
    bool savedNullMode = false;
    bool blindMode = false;
    bool playFromStart = true;
    juce::AudioFormatManager formatManager;
    std::atomic<int> analysisStatus { Idle };
    std::array<std::atomic<float>, numSlots> trackGains {};
    std::atomic<float> gainCeiling { 1.0f };
    std::atomic<double> matchedLufs { FileSlot::noValue };
    juce::CriticalSection audioLock;
    std::atomic<bool> playing { false };
    std::atomic<juce::int64> playPosition { 0 };
    std::atomic<juce::int64> stopPosition { 0 };
    std::atomic<juce::int64> cuePosition { 0 };
    std::atomic<bool> cueSet { false };
    std::atomic<int> activeSlot { -1 };
    std::atomic<int> selectedSlot { -1 };
    std::atomic<float> masterGain { 1.0f };
    int fadePosition = -1;
    int fadeLength = 1;
    std::unique_ptr<AnalysisWorker> analysisWorker;

    /** Row-to-slot permutation of a blind test (row r shows slot blindOrder[r]
        while it holds ten entries). Kept here, in memory only, so that a new
        editor shows the same letters. Message thread. */
    std::vector<int> blindOrder;

private:
    void readGlobalPreferences();
    void dropMatchState();
    void renderSamples (juce::AudioBuffer<float>& out, juce::int64 start, int target, int& current, float outGain);
    using SlotGains = std::array<float, numSlots>;
    float slotSample (int slot, int channel, juce::int64 t, const SlotGains& gains) const noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillaneAudioProcessor)
};
