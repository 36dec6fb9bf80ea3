#pragma once

#include "maker/AudioProcessorOrvanta.h"
#include "meter/ZeltoMeter.h"

#include <atomic>

/** The plug-in's processor: passes audio through and owns the measurement engine.

    Threads: construction, prepareToPlay, createEditor and the program and state calls run on
    a host or message thread; ProcessPerSample runs on the audio thread.
*/
class OrvantaZeltoMeterAudioProcessor : public juce::AudioProcessorOrvanta
{
public:
    OrvantaZeltoMeterAudioProcessor();
    ~OrvantaZeltoMeterAudioProcessor() override;

    const juce::String getName() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessorOrvanta::processBlock;

    void PreCalculate() override;
    StereoSample ProcessPerSample (StereoSample sample) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Accepts the host's rate when it lies in (999, 10000000001), else keeps the last accepted. */
    double TakeHostSampleRate();

    /** Samples measured after the editor closes. */
    static constexpr int analysisAfterClose = 300000;

    ZeltoMeter engine;
    /** [message thread writes, audio thread reads] An editor exists. */
    std::atomic<bool> editorOpen { false };
    /** [audio thread] Samples of measuring left after the editor closed. */
    int analysisCountdown = 0;
    /** [audio thread] Host position in seconds seen on the previous sample. */
    double lastTransportPosition = -1000.0;
    /** [audio thread] An engine reconfiguration is due at the next sample taken while playing. */
    bool resetPending = true;

private:
    void ReadTransport();
    void WatchTransport();

    // Per block, on the audio thread: whether the configuration guard is held, and what the
    // play head reported for the block.
    bool measuringBlock = false;
    double blockPosition = 0.0;
    bool blockPlaying = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvantaZeltoMeterAudioProcessor)
};
