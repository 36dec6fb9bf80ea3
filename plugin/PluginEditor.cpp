#include "PluginEditor.h"

OrvantaZeltoMeterAudioProcessorEditor::OrvantaZeltoMeterAudioProcessorEditor (
    OrvantaZeltoMeterAudioProcessor& owner)
    : AudioProcessorEditor (owner)
    , meterProcessor (owner)
{
    setSize (700, 450);
    meterProcessor.engine.setVisible (true);
    addChildComponent (meterProcessor.engine);
}

OrvantaZeltoMeterAudioProcessorEditor::~OrvantaZeltoMeterAudioProcessorEditor()
{
    meterProcessor.editorOpen.store (false);
}

void OrvantaZeltoMeterAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff606060));
}

void OrvantaZeltoMeterAudioProcessorEditor::resized() { meterProcessor.engine.setBounds (getLocalBounds()); }
