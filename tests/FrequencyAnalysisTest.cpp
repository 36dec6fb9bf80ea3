#include "Signals.h"
#include "TestPlayHead.h"
#include "meter/PeakMemory.h"
#include "meter/SpectrumView.h"
#include "meter/ZeltoMeter.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

extern "C" void fftwf_set_planner_hooks (void (*before)(), void (*after)());

namespace
{
std::atomic<int> fftwPlans { 0 };

TEST (Spectrum, TransformsRunOnFftw)
{
    fftwf_set_planner_hooks ([] { ++fftwPlans; }, [] {});
    const int before = fftwPlans.load();
    juce::dsp::FFT fft (12);
    fftwf_set_planner_hooks (nullptr, nullptr);
    EXPECT_GT (fftwPlans.load(), before) << "juce::dsp::FFT fell back to its slow engine";
}

struct SizeCase
{
    float rate;
    int mode;
    int midSize, sideSize;
    float midMin, midMax;
};

TEST (Spectrum, SizesAndRangesByRateAndMode)
{
    const SizeCase cases[] {
        { 30000.0f, 0, 2048, 2048, 20.0f, 15000.0f },     { 30001.0f, 0, 4096, 4096, 20.0f, 15000.5f },
        { 44100.0f, 0, 4096, 4096, 20.0f, 20000.0f },     { 48000.0f, 0, 4096, 4096, 20.0f, 20000.0f },
        { 96000.0f, 0, 8192, 8192, 20.0f, 20000.0f },     { 192000.0f, 0, 16384, 16384, 20.0f, 20000.0f },
        { 48000.0f, 1, 16384, 4096, 5.0f, 200.0f },       { 48000.0f, 2, 2048, 4096, 950.0f, 24000.0f },
        { 44100.0f, 2, 2048, 4096, 872.8125f, 22050.0f }, { 96000.0f, 2, 4096, 8192, 1900.0f, 48000.0f },
        { 48000.0f, 3, 4096, 4096, 20.0f, 20000.0f },     { 48000.0f, 5, 4096, 4096, 20.0f, 20000.0f },
    };

    for (const auto& c : cases)
    {
        ZeltoMeter engine;
        engine.analysisMode = c.mode;
        engine.Init (c.rate);

        EXPECT_EQ (engine.midSpectrum.fftSize, c.midSize) << c.rate << " mode " << c.mode;
        EXPECT_EQ (engine.midSpectrum.fifo->buffer.getNumSamples(), c.midSize);
        EXPECT_EQ (engine.midSpectrum.fftBuffer->buffer.getNumSamples(), 2 * c.midSize);
        EXPECT_EQ (engine.midSpectrum.fifo->name, "Fifo");
        EXPECT_EQ (engine.midSpectrum.fftBuffer->name, "FFT");
        EXPECT_EQ (engine.sideSpectrum.fftSize, c.sideSize);
        EXPECT_FLOAT_EQ (engine.midSpectrum.minFrequency, c.midMin) << c.rate << " mode " << c.mode;
        EXPECT_FLOAT_EQ (engine.midSpectrum.maxFrequency, c.midMax) << c.rate << " mode " << c.mode;
        EXPECT_EQ (engine.midSpectrum.holdFrames, 200);
        EXPECT_TRUE (engine.midSpectrum.ready && engine.sideSpectrum.ready);
    }
}

TEST (Spectrum, ViewsKeepTheirRateBelow100Hz)
{
    ZeltoMeter engine;
    engine.Init (44100.0f);
    engine.Init (80.0f);
    EXPECT_EQ (engine.midSpectrum.sampleRate, 44100.0f);

    ZeltoMeter fresh;
    fresh.Init (80.0f);
    EXPECT_EQ (fresh.midSpectrum.sampleRate, 48000.0f);
    EXPECT_EQ (fresh.engineRate.load(), 96000);
}

/** Feeds a view straight from the engine and hands over frames as the refresh does. */
void Analyse (ZeltoMeter& engine, const std::vector<float>& left, const std::vector<float>& right, int frames)
{
    size_t i = 0;

    for (int frame = 0; frame < frames; ++frame)
    {
        for (int n = 0; n < 800 && i < left.size(); ++n, ++i)
            engine.MeasureSample (left[i], right[i]);

        engine.refreshParity = 1;
        engine.Refresh();
    }
}

int Loudest (const SpectrumView& view)
{
    int best = 1;
    for (int i = 1; i < SpectrumView::numPoints; ++i)
        if (view.levels[i] > view.levels[best])
            best = i;
    return best;
}

int NearestPoint (const SpectrumView& view, double frequency)
{
    const double position =
        std::log (frequency / view.minFrequency) / std::log (view.maxFrequency / view.minFrequency);
    return (int) std::lround (position * (SpectrumView::numPoints - 1));
}

TEST (Spectrum, ABinCentredSinePeaksAtItsDisplayPoint)
{
    struct Case
    {
        int mode;
        int bin;
    };

    for (const auto c : { Case { 0, 85 }, Case { 1, 34 }, Case { 2, 300 } })
    {
        ZeltoMeter engine;
        engine.analysisMode = c.mode;
        engine.Init (48000.0f);
        auto& view = engine.midSpectrum;
        const double frequency = c.bin * 48000.0 / view.fftSize;

        // Quiet enough that the level stays below the display's limit of 1.
        const auto sine = signals::BinCentredSine (c.bin, view.fftSize, view.fftSize * 3, 0.01f);
        Analyse (engine, sine, sine, (int) sine.size() / 800);

        // Where points lie more than a bin apart (the high mode) each sums the bins below it, so
        // the sine shows one or two points higher.
        EXPECT_NEAR (Loudest (view), NearestPoint (view, frequency), c.mode == 2 ? 2 : 1)
            << "mode " << c.mode << ", " << frequency << " Hz";
        EXPECT_GT (view.levels[Loudest (view)], 0.1f);
        EXPECT_LT (view.levels[Loudest (view)], 1.0f);
    }
}

TEST (Spectrum, IdenticalChannelsReachTheSideViewAsZeros)
{
    ZeltoMeter engine;
    engine.analysisMode = 3;
    engine.Init (48000.0f);
    const auto noise = signals::Noise (10000);
    Analyse (engine, noise, noise, 12);

    const auto* ring = engine.sideSpectrum.fifo->buffer.getReadPointer (0);
    for (int i = 0; i < engine.sideSpectrum.fftSize; ++i)
        ASSERT_EQ (ring[i], 0.0f) << i;
    EXPECT_EQ (engine.midSpectrum.fifoIndex, 0) << "the mid view is not fed in stereo mode";
}

TEST (Spectrum, LevelsAndPeaksNeverExceedOne)
{
    for (const int mode : { 0, 1, 2 })
    {
        ZeltoMeter engine;
        engine.analysisMode = mode;
        engine.Init (48000.0f);
        auto loud = signals::Noise (48000);
        for (auto& x : loud)
            x *= 20.0f;
        Analyse (engine, loud, loud, 60);

        for (int i = 0; i < SpectrumView::numPoints; ++i)
        {
            ASSERT_LE (engine.midSpectrum.levels[i], 1.0f);
            ASSERT_LE (engine.midSpectrum.peakMemory[i].peak, 1.0f);
        }
        EXPECT_EQ (engine.midSpectrum.levels[700], 1.0f) << "loud noise saturates the display";
    }
}

TEST (Spectrum, AnOldRingIndexWrapsAfterSwitchingToAShorterRing)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    engine.buttonClicked (&engine.modeButtons[1]);
    const auto sine = signals::Sine (100.0, 48000.0, 12000, 0.5f);
    for (const float x : sine)
        engine.MeasureSample (x, x);
    ASSERT_GT (engine.midSpectrum.fifoIndex, 4096);

    engine.midSpectrum.frameReady = false;
    engine.buttonClicked (&engine.modeButtons[0]);
    ASSERT_EQ (engine.midSpectrum.fftSize, 4096);
    engine.MeasureSample (0.25f, 0.25f);

    EXPECT_EQ (engine.midSpectrum.fifoIndex, 1) << "the capture restarts at slot 0 and stores at slot 1";
    EXPECT_EQ (engine.midSpectrum.fifo->buffer.getSample (0, 1), 0.25f);
    EXPECT_TRUE (engine.midSpectrum.frameReady.load());
}

TEST (Spectrum, TheAudioThreadNeverWaitsForABusyView)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    std::atomic<bool> locked { false }, release { false };

    std::thread transform (
        [&]
        {
            const juce::ScopedLock lock (engine.midSpectrum.frameLock);
            locked = true;
            while (! release)
                std::this_thread::yield();
        });

    while (! locked)
        std::this_thread::yield();

    for (int i = 0; i < 100; ++i)
        engine.MeasureSample (0.5f, 0.5f);

    EXPECT_FALSE (engine.midSpectrum.frameReady.load()) << "no frame while the lock is busy";
    EXPECT_EQ (engine.midSpectrum.fifoIndex, 100) << "the ring keeps filling";
    EXPECT_FALSE (engine.InitFromAudioThread (48000.0f)) << "a reconfiguration waits for a later sample";

    release = true;
    transform.join();
    engine.MeasureSample (0.5f, 0.5f);
    EXPECT_TRUE (engine.midSpectrum.frameReady.load());
    EXPECT_TRUE (engine.InitFromAudioThread (48000.0f));
}

struct PeakCase
{
    const char* what;
    std::vector<float> values;
    std::vector<int> countdowns;
    float level;
    std::vector<float> expectedValues;
    float expectedPeak;
};

TEST (PeakMemoryRule, TableOfCases)
{
    const PeakCase cases[] {
        { "a slot at countdown 1 still counts, then holds 0",
          { 0.9f, 0.2f, 0.3f, 0.4f },
          { 1, 5, 5, 5 },
          0.1f,
          { 0.1f, 0.2f, 0.3f, 0.4f },
          0.9f },
        { "not stored when every slot is larger",
          { 0.5f, 0.6f, 0.7f, 0.8f },
          { 5, 5, 5, 5 },
          0.4f,
          { 0.5f, 0.6f, 0.7f, 0.8f },
          0.8f },
        { "the smallest slot is displaced",
          { 0.5f, 0.3f, 0.7f, 0.3f },
          { 5, 5, 5, 5 },
          0.6f,
          { 0.5f, 0.6f, 0.7f, 0.3f },
          0.7f },
        { "a level of exactly 0 is never stored",
          { 0.0f, 0.0f, 0.0f, 0.0f },
          { 10, 10, 10, 10 },
          0.0f,
          { 0.0f, 0.0f, 0.0f, 0.0f },
          0.0f },
        { "a new maximum bounds the peak",
          { 0.5f, 0.6f, 0.7f, 0.8f },
          { 5, 5, 5, 5 },
          0.95f,
          { 0.95f, 0.6f, 0.7f, 0.8f },
          0.95f },
    };

    for (const auto& c : cases)
    {
        PeakMemory<4> memory;
        for (int j = 0; j < 4; ++j)
        {
            memory.slotValues[j] = c.values[(size_t) j];
            memory.slotCountdowns[j] = c.countdowns[(size_t) j];
        }

        memory.Update (c.level, 7);
        EXPECT_EQ (std::vector<float> (memory.slotValues, memory.slotValues + 4), c.expectedValues) << c.what;
        EXPECT_EQ (memory.peak, c.expectedPeak) << c.what;
    }
}

TEST (PeakMemoryRule, SlotsFillInOrderAfterAReset)
{
    PeakMemory<20> memory;
    memory.Reset();

    for (int frame = 0; frame < 5; ++frame)
        memory.Update (0.1f + 0.01f * (float) frame, 200);

    for (int j = 0; j < 5; ++j)
    {
        EXPECT_FLOAT_EQ (memory.slotValues[j], 0.1f + 0.01f * (float) j);
        EXPECT_EQ (memory.slotCountdowns[j], 200 - (4 - j));
    }
    EXPECT_EQ (memory.slotValues[5], 0.0f);
    EXPECT_FLOAT_EQ (memory.peak, 0.14f);
}

std::vector<juce::String> Labels (int width, float lowest, float highest,
                                  std::vector<float>* positions = nullptr)
{
    std::vector<juce::String> texts;
    bool expectUpper = false;
    SpectrumView::ForEachScaleLabel (width, lowest, highest,
                                     [&] (float xr, float, const juce::String& text, bool upper)
                                     {
                                         texts.push_back (text);
                                         EXPECT_EQ (upper, expectUpper) << "rows alternate";
                                         expectUpper = ! expectUpper;
                                         if (positions != nullptr)
                                             positions->push_back (xr);
                                     });
    return texts;
}

TEST (Spectrum, FrequencyScaleLabels)
{
    std::vector<float> positions;
    const std::vector<juce::String> full { "23.0 Hz", "30 Hz",  "40 Hz",  "50 Hz",  "65 Hz",  "85 Hz",
                                           "115 Hz",  "145 Hz", "190 Hz", "250 Hz", "325 Hz", "425 Hz",
                                           "550 Hz",  "725 Hz", "950 Hz", "1.2k",   "1.6k",   "2.1k",
                                           "2.7k",    "3.6k",   "4.6k",   "6.1k",   "7.9k",   "10.4k",
                                           "13.5k",   "17.5k" };
    EXPECT_EQ (Labels (588, 20.0f, 20000.0f, &positions), full);
    EXPECT_EQ (std::round (positions[0] + 5.0f) + 0.5f, 17.5f) << "the first tick";

    positions.clear();
    const auto low = Labels (588, 5.0f, 200.0f, &positions);
    ASSERT_GE (low.size(), 4u);
    EXPECT_EQ (low[0], "5.0 Hz");
    EXPECT_EQ (positions[0], 0.0f);
    EXPECT_EQ (low[1], "6.0 Hz");
    EXPECT_EQ (low[2], "7.0 Hz");
    const auto firstWhole =
        std::find_if (low.begin(), low.end(), [] (const juce::String& t) { return ! t.contains ("."); });
    ASSERT_NE (firstWhole, low.end());
    EXPECT_EQ (*firstWhole, "35 Hz");

    const auto high = Labels (588, 950.0f, 24000.0f);
    ASSERT_GE (high.size(), 3u);
    EXPECT_EQ (high.front(), "1000 Hz");
    EXPECT_EQ (high[high.size() - 2], "20k");
    EXPECT_EQ (high.back(), "23k");

    EXPECT_TRUE (Labels (17, 20.0f, 20000.0f).empty()) << "no scale below 17.25 pixels";
    EXPECT_FALSE (Labels (18, 20.0f, 20000.0f).empty());
}

TEST (Spectrum, PaintsAreasLinesAndScale)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    auto& view = engine.midSpectrum;
    view.setBounds (5, 5, 588, 415);

    juce::Image blank (juce::Image::ARGB, 600, 430, true);
    {
        juce::Graphics g (blank);
        SpectrumView unconfigured;
        unconfigured.setBounds (5, 5, 588, 415);
        unconfigured.Paint (g);
    }
    EXPECT_EQ (blank.getPixelAt (100, 100).getAlpha(), 0) << "nothing before the first configuration";

    for (int i = 0; i < SpectrumView::numPoints; ++i)
    {
        view.levels[i] = i < 400 ? 1.0f : 0.0f;
        view.peakMemory[i].peak = i < 600 ? 1.0f : 0.0f;
    }

    juce::Image image (juce::Image::ARGB, 600, 430, true);
    juce::Graphics g (image);
    view.Paint (g);

    const int quarterRow = (int) (0.25f * 413.0f) + 6;
    const int halfRow = (int) (0.5f * 413.0f) + 6;
    EXPECT_EQ (image.getPixelAt (100, 6).getARGB(), 0xff609000u) << "a level of 1 reaches the inner top";
    EXPECT_EQ (image.getPixelAt (400, 6).getARGB(), 0xff003020u) << "held peaks behind the levels";
    EXPECT_EQ (image.getPixelAt (520, 60).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (100, quarterRow).getARGB(), 0xff609000u) << "levels cover the lines";
    EXPECT_NE (image.getPixelAt (520, quarterRow).getARGB(), 0xff000000u) << "the 0.75 line";
    EXPECT_NE (image.getPixelAt (520, halfRow).getARGB(), 0xff000000u) << "the 0.5 line";
    EXPECT_EQ (image.getPixelAt (520, halfRow + 3).getARGB(), 0xff000000u);

    int labelInk = 0;
    for (int y = 400; y < 419; ++y)
        for (int x = 450; x < 590; ++x)
            labelInk += image.getPixelAt (x, y).getBrightness() > 0.3f ? 1 : 0;
    EXPECT_GT (labelInk, 30) << "scale labels along the bottom";
}

TEST (Spectrum, EditorShowsTheViewOfTheCurrentMode)
{
    OrvantaZeltoMeterAudioProcessor processor;
    processor.setRateAndBufferSizeDetails (48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto& engine = processor.engine;

    for (int i = 0; i < SpectrumView::numPoints; ++i)
        engine.sideSpectrum.levels[i] = 1.0f;

    auto pixel = [&]
    {
        return editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f)
            .getPixelAt (300, 100)
            .getARGB();
    };

    EXPECT_EQ (pixel(), 0xff000000u) << "mode 0 shows the (empty) mid view";
    engine.buttonClicked (&engine.modeButtons[3]);
    EXPECT_EQ (pixel(), 0xff609000u) << "mode 3 shows the side view";
    engine.buttonClicked (&engine.modeButtons[4]);
    EXPECT_NE (pixel(), 0xff609000u);

    processor.editorBeingDeleted (editor.get());
}
} // namespace
