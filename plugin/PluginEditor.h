#pragma once

#include "PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in's window: shows the processor's engine component.

    Threads: everything here runs on the message thread.
*/
class OrvantaZeltoMeterAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit OrvantaZeltoMeterAudioProcessorEditor (OrvantaZeltoMeterAudioProcessor& owner);
    ~OrvantaZeltoMeterAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    OrvantaZeltoMeterAudioProcessor& meterProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvantaZeltoMeterAudioProcessorEditor)
};
