#pragma once

#include "maker/AudioProcessorOrvanta.h"

/** The smallest processor on the maker's base: stereo buses, no editor, pass-through. Tests derive
    from it to reach the base class's behaviour. */
class MinimalProcessor : public juce::AudioProcessorOrvanta
{
public:
    explicit MinimalProcessor (const juce::AudioChannelSet& in = juce::AudioChannelSet::stereo(),
                               const juce::AudioChannelSet& out = juce::AudioChannelSet::stereo())
        : AudioProcessorOrvanta (
            BusesProperties().withInput ("Input", in, true).withOutput ("Output", out, true))
    {
    }

    const juce::String getName() const override { return "Orvanta Zelto Meter"; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool isBusesLayoutSupported (const BusesLayout&) const override { return true; }
    void PreCalculate() override {}
    StereoSample ProcessPerSample (StereoSample sample) override { return sample; }
};
