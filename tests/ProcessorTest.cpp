#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
using juce::AudioChannelSet;

struct LayoutCase
{
    AudioChannelSet in, out;
    bool accepted;
};

TEST (MeterProcessor, AcceptsOnlyMatchingMonoOrStereoLayouts)
{
    const std::vector<LayoutCase> cases {
        { AudioChannelSet::mono(), AudioChannelSet::mono(), true },
        { AudioChannelSet::stereo(), AudioChannelSet::stereo(), true },
        { AudioChannelSet::stereo(), AudioChannelSet::mono(), false },
        { AudioChannelSet::mono(), AudioChannelSet::stereo(), false },
        { AudioChannelSet::create5point1(), AudioChannelSet::create5point1(), false },
        { AudioChannelSet::stereo(), AudioChannelSet::disabled(), false },
        { AudioChannelSet::disabled(), AudioChannelSet::disabled(), false },
    };

    OrvantaZeltoMeterAudioProcessor processor;

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (processor.checkBusesLayoutSupported (layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }

    EXPECT_FALSE (processor.checkBusesLayoutSupported ({})) << "no buses at all";
}

int PrepareAt (OrvantaZeltoMeterAudioProcessor& processor, double rate)
{
    processor.setRateAndBufferSizeDetails (rate, 512);
    processor.prepareToPlay (rate, 512);
    return processor.engine.engineRate.load();
}

TEST (MeterProcessor, ConfiguresTheEngineOnlyWithAcceptableHostRates)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();

    struct Sequence
    {
        std::vector<double> rates;
        int expected;
    };

    const std::vector<Sequence> sequences {
        { { 44100.0 }, 44100 },
        { { 44100.0, 0.0 }, 44100 },
        { { 44100.0, 500.0 }, 44100 },
        { { 999.0 }, 96000 },
        { { 999.0001 }, 999 },
        { { nan }, 96000 },
        { { 48000.0, nan }, 48000 },
        { { 48000.0, 10000000001.0 }, 48000 },
        { { 48000.0, 192000.0 }, 192000 },
    };

    for (const auto& sequence : sequences)
    {
        OrvantaZeltoMeterAudioProcessor processor;
        int configured = 0;

        for (const double rate : sequence.rates)
            configured = PrepareAt (processor, rate);

        EXPECT_EQ (configured, sequence.expected) << "last rate " << sequence.rates.back();
    }
}

TEST (MeterProcessor, EditorOpenFollowsTheEditorsLife)
{
    OrvantaZeltoMeterAudioProcessor processor;
    EXPECT_FALSE (processor.editorOpen.load());

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_TRUE (processor.editorOpen.load());
    EXPECT_EQ (processor.engine.getParentComponent(), editor.get());
    EXPECT_TRUE (processor.engine.isVisible());

    processor.editorBeingDeleted (editor.get());
    editor.reset();
    EXPECT_FALSE (processor.editorOpen.load());
    EXPECT_EQ (processor.engine.getParentComponent(), nullptr) << "the engine outlives the editor";
}

TEST (MeterProcessor, KeepsNoStateAndOneNamedProgram)
{
    OrvantaZeltoMeterAudioProcessor processor;

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");

    processor.changeProgramName (0, "Renamed");
    processor.setCurrentProgram (0);
    EXPECT_EQ (processor.getProgramName (0), "Default");

    juce::MemoryBlock state ("abc", 3);
    processor.getStateInformation (state);
    EXPECT_EQ (state, juce::MemoryBlock ("abc", 3)) << "the block is left as it came";

    EXPECT_EQ (processor.getName(), "Orvanta Zelto Meter");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
}
} // namespace
