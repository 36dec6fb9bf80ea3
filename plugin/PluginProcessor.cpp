#include "PluginProcessor.h"

#include "PluginEditor.h"

#include <cmath>

OrvantaZeltoMeterAudioProcessor::OrvantaZeltoMeterAudioProcessor()
    : AudioProcessorOrvanta (BusesProperties()
                                 .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                 .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
}

OrvantaZeltoMeterAudioProcessor::~OrvantaZeltoMeterAudioProcessor() = default;

const juce::String OrvantaZeltoMeterAudioProcessor::getName() const { return JucePlugin_Name; }

double OrvantaZeltoMeterAudioProcessor::getTailLengthSeconds() const { return 0.0; }

bool OrvantaZeltoMeterAudioProcessor::acceptsMidi() const { return false; }

bool OrvantaZeltoMeterAudioProcessor::producesMidi() const { return false; }

bool OrvantaZeltoMeterAudioProcessor::isMidiEffect() const { return false; }

bool OrvantaZeltoMeterAudioProcessor::hasEditor() const { return true; }

juce::AudioProcessorEditor* OrvantaZeltoMeterAudioProcessor::createEditor()
{
    auto* editor = new OrvantaZeltoMeterAudioProcessorEditor (*this);
    editorOpen.store (true);
    return editor;
}

bool OrvantaZeltoMeterAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

double OrvantaZeltoMeterAudioProcessor::TakeHostSampleRate()
{
    const double rate = getSampleRate();

    // The comparisons are false for NaN, which therefore falls back too.
    if (rate > 999.0 && rate < 10000000001.0)
    {
        acceptedSampleRate.store (rate);
        return rate;
    }

    return acceptedSampleRate.load();
}

void OrvantaZeltoMeterAudioProcessor::prepareToPlay (double, int)
{
    const double rate = TakeHostSampleRate();
    engine.Init ((float) (oversamplingFactor * rate));
}

void OrvantaZeltoMeterAudioProcessor::releaseResources() {}

void OrvantaZeltoMeterAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    // The audio thread never waits for a configuration running elsewhere: without the guard the
    // block only passes through.
    const juce::ScopedTryLock guard (engine.configurationLock);
    measuringBlock = guard.isLocked();
    ReadTransport();
    AudioProcessorOrvanta::processBlock (buffer, midi);
}

// Hosts report the position at the start of the block, so one query serves all its samples.
void OrvantaZeltoMeterAudioProcessor::ReadTransport()
{
    blockPosition = 0.0;
    blockPlaying = false;

    // Without a play head, or without a position, the host counts as stopped at 0.0.
    auto* head = getPlayHead();

    if (head == nullptr)
        return;

    const auto position = head->getPosition();

    if (! position.hasValue())
        return;

    if (const auto seconds = position->getTimeInSeconds(); seconds.hasValue() && std::isfinite (*seconds))
        blockPosition = *seconds;

    blockPlaying = position->getIsPlaying() || position->getIsRecording();
}

void OrvantaZeltoMeterAudioProcessor::WatchTransport()
{
    bool reconfigure = false;

    if (std::abs (blockPosition - lastTransportPosition) > 1.0)
    {
        resetPending = true;
        reconfigure = blockPlaying;
    }
    else
    {
        reconfigure = blockPlaying && resetPending;
    }

    lastTransportPosition = blockPosition;

    // A view busy on the message thread defers the reconfiguration to a later sample.
    if (reconfigure && engine.InitFromAudioThread ((float) (oversamplingFactor * TakeHostSampleRate())))
        resetPending = false;
}

void OrvantaZeltoMeterAudioProcessor::PreCalculate() {}

OrvantaZeltoMeterAudioProcessor::StereoSample
    OrvantaZeltoMeterAudioProcessor::ProcessPerSample (StereoSample sample)
{
    if (editorOpen.load (std::memory_order_relaxed))
        analysisCountdown = analysisAfterClose;
    else if (analysisCountdown <= 0)
        return sample;
    else
        --analysisCountdown;

    if (! measuringBlock)
        return sample;

    WatchTransport();

    // A NaN is measured as silence so that it never reaches a filter state or an accumulator;
    // the output still carries it unchanged.
    engine.MeasureSample (std::isnan (sample.left) ? 0.0f : sample.left,
                          std::isnan (sample.right) ? 0.0f : sample.right);
    return sample;
}

// The meter keeps no programs and no state. Its single program carries a name because
// hosts and validators reject a program without one.
int OrvantaZeltoMeterAudioProcessor::getNumPrograms() { return 1; }

int OrvantaZeltoMeterAudioProcessor::getCurrentProgram() { return 0; }

void OrvantaZeltoMeterAudioProcessor::setCurrentProgram (int) {}

const juce::String OrvantaZeltoMeterAudioProcessor::getProgramName (int) { return "Default"; }

void OrvantaZeltoMeterAudioProcessor::changeProgramName (int, const juce::String&) {}

void OrvantaZeltoMeterAudioProcessor::getStateInformation (juce::MemoryBlock&) {}

void OrvantaZeltoMeterAudioProcessor::setStateInformation (const void*, int) {}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter() { return new OrvantaZeltoMeterAudioProcessor(); }
