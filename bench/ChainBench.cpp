// Cost of the block loop and the per-sample measuring chain, per mode, against the pass-through
// of a processor whose editor has been closed for long (the baseline in the same run).

#include "BenchFixture.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{
constexpr int blockSize = 512;

juce::AudioBuffer<float> NoiseBlock()
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    std::mt19937 random (7);
    std::uniform_real_distribution<float> level (-0.5f, 0.5f);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < blockSize; ++i)
            buffer.setSample (ch, i, level (random));
    return buffer;
}

void ProcessBlocks (benchmark::State& state, PreparedProcessor& fixture)
{
    const auto source = NoiseBlock();
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.makeCopyOf (source, true);
        fixture.processor.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    state.SetItemsProcessed (state.iterations() * blockSize);
    state.counters["ns/sample"] = benchmark::Counter (
        (double) state.iterations() * blockSize, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void PassThroughOnly (benchmark::State& state)
{
    PreparedProcessor fixture (48000.0, false);
    ProcessBlocks (state, fixture);
}

void MeasuringChain (benchmark::State& state)
{
    PreparedProcessor fixture (48000.0, true);
    fixture.ClickMode ((int) state.range (0));
    ProcessBlocks (state, fixture);
    state.SetLabel (ZeltoMeter::modeNames[state.range (0)]);
}
} // namespace

BENCHMARK (PassThroughOnly);
BENCHMARK (MeasuringChain)->DenseRange (0, ZeltoMeter::numModes - 1);
