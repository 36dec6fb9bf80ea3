#include "MinimalProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
using juce::AudioChannelSet;

/** Records every hook call; ProcessPerSample returns its argument. */
class RecordingProcessor : public juce::AudioProcessorOrvanta
{
public:
    explicit RecordingProcessor (const AudioChannelSet& in = AudioChannelSet::stereo(),
                                 const AudioChannelSet& out = AudioChannelSet::stereo())
        : AudioProcessorOrvanta (
            BusesProperties().withInput ("Input", in, true).withOutput ("Output", out, true))
    {
    }

    const juce::String getName() const override { return "recorder"; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool isBusesLayoutSupported (const BusesLayout&) const override { return true; }

    void PreCalculate() override { preCalculateAt.push_back (samplesSeen); }

    StereoSample ProcessPerSample (StereoSample sample) override
    {
        if (recordInputs)
            inputs.push_back (sample);

        ++samplesSeen;
        return transform != nullptr ? transform (sample) : sample;
    }

    void ProcessPerBuffer (juce::AudioBuffer<float>&, int numSamples) override
    {
        bufferCalls.push_back (numSamples);
    }

    bool recordInputs = true;
    StereoSample (*transform) (StereoSample) = nullptr;
    long long samplesSeen = 0;
    std::vector<long long> preCalculateAt;
    std::vector<int> bufferCalls;
    std::vector<StereoSample> inputs;
};

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

void Process (RecordingProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

bool SameFloat (float a, float b) { return (std::isnan (a) && std::isnan (b)) || a == b; }

struct ClampCase
{
    float left, right, expectedLeft, expectedRight;
};

class StereoClamp : public ::testing::TestWithParam<ClampCase>
{
};

TEST_P (StereoClamp, LimitsEachChannelToItsOwnRange)
{
    const auto c = GetParam();
    RecordingProcessor processor;
    juce::AudioBuffer<float> buffer (2, 1);
    buffer.setSample (0, 0, c.left);
    buffer.setSample (1, 0, c.right);

    Process (processor, buffer);

    ASSERT_EQ (processor.inputs.size(), 1u);
    EXPECT_TRUE (SameFloat (processor.inputs[0].left, c.expectedLeft)) << processor.inputs[0].left;
    EXPECT_TRUE (SameFloat (processor.inputs[0].right, c.expectedRight)) << processor.inputs[0].right;
    EXPECT_TRUE (SameFloat (buffer.getSample (0, 0), c.expectedLeft));
    EXPECT_TRUE (SameFloat (buffer.getSample (1, 0), c.expectedRight));
}

INSTANTIATE_TEST_SUITE_P (
    BlockLoop, StereoClamp,
    ::testing::Values (ClampCase { 0.5f, -0.5f, 0.5f, -0.5f }, ClampCase { 25.0f, 25.0f, 20.0f, 20.0f },
                       ClampCase { -25.0f, -25.0f, -25.0f, -20.0f },
                       ClampCase { -35.0f, -35.0f, -30.0f, -20.0f },
                       ClampCase { 20.0f, -20.0f, 20.0f, -20.0f }, ClampCase { inf, -inf, 20.0f, -20.0f },
                       ClampCase { -inf, inf, -30.0f, 20.0f }, ClampCase { nan, nan, nan, nan }));

TEST (BlockLoop, MonoUsesTheLeftLimitsAndWritesOnlyChannelZero)
{
    RecordingProcessor processor (AudioChannelSet::mono(), AudioChannelSet::mono());
    processor.transform = [] (juce::AudioProcessorOrvanta::StereoSample s) {
        return juce::AudioProcessorOrvanta::StereoSample { s.left * 0.5f, 123.0f };
    };

    const float in[] = { -35.0f, -25.0f, 25.0f, 0.25f, -inf };
    const float expected[] = { -30.0f, -25.0f, 20.0f, 0.25f, -30.0f };
    juce::AudioBuffer<float> buffer (2, 5);
    buffer.copyFrom (0, 0, in, 5);
    buffer.clear (1, 0, 5);

    Process (processor, buffer);

    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (processor.inputs[(size_t) i].left, expected[i]);
        EXPECT_EQ (processor.inputs[(size_t) i].right, expected[i]);
        EXPECT_EQ (buffer.getSample (0, i), expected[i] * 0.5f);
        EXPECT_EQ (buffer.getSample (1, i), 0.0f) << "the second channel is never written in mono";
    }
}

TEST (BlockLoop, ZeroLengthBlockCallsOnlyTheBufferHook)
{
    RecordingProcessor processor;
    juce::AudioBuffer<float> buffer (2, 0);

    Process (processor, buffer);

    EXPECT_EQ (processor.bufferCalls, std::vector<int> { 0 });
    EXPECT_TRUE (processor.inputs.empty());
    EXPECT_TRUE (processor.preCalculateAt.empty());
}

TEST (BlockLoop, PreCalculateFallsOnFixedGlobalSamplesWhateverTheBlockSize)
{
    const long long total = 524287 + 5;

    for (const int blockSize : { 1, 7, 1000, 65536, 524288 })
    {
        RecordingProcessor processor;
        processor.recordInputs = false;
        juce::AudioBuffer<float> buffer (2, blockSize);

        for (long long done = 0; done < total; done += blockSize)
        {
            buffer.setSize (2, (int) std::min<long long> (blockSize, total - done), false, false, true);
            buffer.clear();
            Process (processor, buffer);
        }

        EXPECT_EQ (processor.preCalculateAt, (std::vector<long long> { 0, 262143, 524286 }))
            << "block size " << blockSize;
    }
}

TEST (BlockLoop, PrepareRequestsAnotherPreCalculateAtTheNextSample)
{
    RecordingProcessor processor;
    processor.recordInputs = false;
    juce::AudioBuffer<float> buffer (2, 10);

    Process (processor, buffer);
    processor.prepareToPlay (48000.0, 10);
    Process (processor, buffer);

    EXPECT_EQ (processor.preCalculateAt, (std::vector<long long> { 0, 10 }));
}

TEST (BlockLoop, MidiComesBackUntouched)
{
    RecordingProcessor processor;
    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 3);
    midi.addEvent (juce::MidiMessage::controllerEvent (2, 7, 90), 40);
    const juce::MidiBuffer before (midi);

    processor.processBlock (buffer, midi);

    ASSERT_EQ (midi.getNumEvents(), before.getNumEvents());
    auto a = midi.cbegin();
    for (const auto event : before)
    {
        const auto other = *a++;
        EXPECT_EQ (other.samplePosition, event.samplePosition);
        EXPECT_EQ (other.getMessage().getDescription(), event.getMessage().getDescription());
    }
}

TEST (BlockLoop, SamplesBeyondTheCapStayAsTheyCame)
{
    const int cap = juce::AudioProcessorOrvanta::maxLoopLength;
    RecordingProcessor processor;
    processor.recordInputs = false;
    juce::AudioBuffer<float> buffer (2, cap + 100);
    for (int ch = 0; ch < 2; ++ch)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), 25.0f, buffer.getNumSamples());

    Process (processor, buffer);

    EXPECT_EQ (processor.bufferCalls, std::vector<int> { cap });
    EXPECT_EQ (processor.samplesSeen, cap);
    EXPECT_EQ (buffer.getSample (0, cap - 1), 20.0f);
    EXPECT_EQ (buffer.getSample (1, cap - 1), 20.0f);
    EXPECT_EQ (buffer.getSample (0, cap), 25.0f);
    EXPECT_EQ (buffer.getSample (1, cap + 99), 25.0f);
}

TEST (BlockLoop, OutputChannelsWithoutInputStartSilent)
{
    RecordingProcessor processor (AudioChannelSet::mono(), AudioChannelSet::stereo());
    juce::AudioBuffer<float> buffer (2, 4);
    buffer.clear();
    juce::FloatVectorOperations::fill (buffer.getWritePointer (0), 0.5f, 4);
    juce::FloatVectorOperations::fill (buffer.getWritePointer (1), 5.0f, 4);

    Process (processor, buffer);

    for (const auto& in : processor.inputs)
    {
        EXPECT_EQ (in.left, 0.5f);
        EXPECT_EQ (in.right, 0.0f);
    }
}

TEST (BlockLoop, LayoutWithoutOutputsReturnsWithoutTouchingAnything)
{
    RecordingProcessor processor;
    auto layout = processor.getBusesLayout();
    layout.inputBuses.getReference (0) = AudioChannelSet::disabled();
    layout.outputBuses.getReference (0) = AudioChannelSet::disabled();
    ASSERT_TRUE (processor.setBusesLayout (layout));

    juce::AudioBuffer<float> empty (0, 64);
    Process (processor, empty);

    juce::AudioBuffer<float> stray (2, 8);
    juce::FloatVectorOperations::fill (stray.getWritePointer (0), 25.0f, 8);
    Process (processor, stray);

    EXPECT_EQ (processor.samplesSeen, 0);
    EXPECT_EQ (stray.getSample (0, 7), 25.0f);
}
} // namespace
