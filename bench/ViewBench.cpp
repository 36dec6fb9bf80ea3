// Costs of the analysis views: the spectrum transform per mode, the capture per sample, the tempo
// analysis, and the engine's reconfiguration from the audio thread against a full configuration.

#include "BenchFixture.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
template <typename View>
void FillFrame (View& view)
{
    std::mt19937 random (3);
    std::uniform_real_distribution<float> level (-0.5f, 0.5f);
    float* frame = view.fftBuffer->buffer.getWritePointer (0);
    for (int i = 0; i < view.fftSize; ++i)
        frame[i] = level (random);
    std::fill (frame + view.fftSize, frame + 2 * view.fftSize, 0.0f);
}

void SpectrumFrame (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.analysisMode = (int) state.range (0);
    engine.Init (48000.0f);
    auto& view = engine.midSpectrum;

    for (auto _ : state)
    {
        state.PauseTiming();
        FillFrame (view);
        state.ResumeTiming();
        const juce::ScopedLock lock (view.frameLock);
        view.drawNextFrameOfSpectrum();
    }

    state.SetLabel (
        (juce::String (ZeltoMeter::modeNames[state.range (0)]) + ", N = " + juce::String (view.fftSize))
            .toStdString());
}

void SpectrumCapture (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    auto& view = engine.midSpectrum;
    constexpr int samples = 4096;
    float x = 0.0f;

    for (auto _ : state)
    {
        // A waiting frame, as between two refreshes: the capture only stores.
        view.frameReady = true;
        for (int i = 0; i < samples; ++i)
            view.Process (x += 1.0e-4f);
    }

    state.counters["ns/sample"] = benchmark::Counter (
        (double) state.iterations() * samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SpectrumFrameHandOver (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    auto& view = engine.midSpectrum;

    for (auto _ : state)
    {
        view.frameReady = false;
        view.Process (0.25f);
    }
}

void TempoAnalysis (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.analysisMode = 5;
    engine.Init ((float) state.range (0));
    auto& view = engine.bpmCountView;

    for (auto _ : state)
    {
        state.PauseTiming();
        FillFrame (view);
        state.ResumeTiming();
        view.AnalyseFrame();
    }

    state.SetLabel (
        (juce::String (state.range (0)) + " Hz, N = " + juce::String (view.fftSize)).toStdString());
}

void ReconfigureFromAudioThread (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.analysisMode = (int) state.range (0);
    engine.Init (48000.0f);

    for (auto _ : state)
        benchmark::DoNotOptimize (engine.InitFromAudioThread (48000.0f));

    state.SetLabel (ZeltoMeter::modeNames[state.range (0)]);
}

// The same with the caches flushed first, as after a stretch of other work on the audio thread.
void ReconfigureFromAudioThreadCold (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.analysisMode = 5;
    engine.Init (48000.0f);
    std::vector<char> evict (64 << 20);

    for (auto _ : state)
    {
        state.PauseTiming();
        std::fill (evict.begin(), evict.end(), (char) state.iterations());
        benchmark::ClobberMemory();
        state.ResumeTiming();
        benchmark::DoNotOptimize (engine.InitFromAudioThread (48000.0f));
    }
}

void FullConfiguration (benchmark::State& state)
{
    ZeltoMeter engine;
    engine.analysisMode = 5;
    bool toggle = false;

    // Alternating rates forces new buffers, transforms and windows every time.
    for (auto _ : state)
        engine.Init ((toggle = ! toggle) ? 48000.0f : 96000.0f);
}
} // namespace

BENCHMARK (SpectrumFrame)->DenseRange (0, 2)->Unit (benchmark::kMillisecond);
BENCHMARK (SpectrumCapture);
BENCHMARK (SpectrumFrameHandOver)->Unit (benchmark::kMicrosecond);
BENCHMARK (TempoAnalysis)->Arg (48000)->Arg (192000)->Unit (benchmark::kMillisecond);
BENCHMARK (ReconfigureFromAudioThread)->Arg (0)->Arg (5)->Unit (benchmark::kMillisecond);
BENCHMARK (ReconfigureFromAudioThreadCold)->Unit (benchmark::kMillisecond);
BENCHMARK (FullConfiguration)->Unit (benchmark::kMillisecond);
