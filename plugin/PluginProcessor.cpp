#include "PluginProcessor.h"

#include "PluginEditor.h"

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

void OrvantaZeltoMeterAudioProcessor::PreCalculate() {}

OrvantaZeltoMeterAudioProcessor::StereoSample
    OrvantaZeltoMeterAudioProcessor::ProcessPerSample (StereoSample sample)
{
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
