#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <map>
#include <vector>

namespace juce
{

/** The maker's base class for processors: turns every block into a run of per-sample calls.

    A derived processor writes its signal processing as a function of one StereoSample.
    Threads: processBlock and the three hooks run on the audio thread; prepareToPlay, the
    program calls and the state calls run on a host or message thread.
*/
class AudioProcessorOrvanta : public AudioProcessor
{
public:
    struct StereoSample
    {
        float left;
        float right;
    };

    /** A factory preset: the name shown to the host and the attribute text of a settings
        document, as in name="value" pairs separated by spaces. */
    struct Preset
    {
        String name;
        String settings;
    };

    /** The loop never visits more samples than this in one block. */
    static constexpr int maxLoopLength = 524288;
    /** PreCalculate's counter runs modulo this; the calls after the first are one less apart. */
    static constexpr int preCalculateModulus = 262144;

    explicit AudioProcessorOrvanta (const BusesProperties& buses);
    ~AudioProcessorOrvanta() override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (AudioBuffer<float>& buffer, MidiBuffer& midi) override;
    using AudioProcessor::processBlock;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const String getProgramName (int index) override;
    void changeProgramName (int index, const String& newName) override;
    void getStateInformation (MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** [audio thread] Before the first sample after a request, then every 262143 samples. */
    virtual void PreCalculate() = 0;
    /** [audio thread] Once per sample with the limited input pair; the result is the output. */
    virtual StereoSample ProcessPerSample (StereoSample sample) = 0;
    /** [audio thread] Once per block, before the first per-sample call. */
    virtual void ProcessPerBuffer (AudioBuffer<float>& buffer, int numSamples);

    /** [host or message thread] Registers a factory preset at the end of the program list. */
    void AddPreset (const char* name, const char* settingsText);

protected:
    /** Last host rate a derived class accepted; written by the host thread and the audio thread. */
    std::atomic<double> acceptedSampleRate { 96000.0 };
    int preCalculateCounter = 0;
    /** Set by any thread to ask for a PreCalculate before the next sample. */
    std::atomic<bool> preCalculatePending { true };
    /** Ratio between the hooks' rate and the host rate; no oversampler exists, so it stays 1. */
    const int oversamplingFactor = 1;

    /** The non-parameter settings of the last document read, plus the descriptive ones each
        save refreshes, in key order. [host or message thread] */
    std::map<String, String> settingsMap;
    std::vector<Preset> presets;
    int currentProgram = 0;
    int lastAppliedProgram = -1;
    /** Holds the wrapped document while a preset is applied. */
    MemoryBlock presetScratch { 65536 };

private:
    void RefreshDescriptiveSettings();
    void AddDefaultPresetIfNone();

    static StereoSample LimitStereo (float left, float right) noexcept;
    static float LimitMono (float sample) noexcept;
    bool TakePreCalculateDue() noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AudioProcessorOrvanta)
};

} // namespace juce
