#include "Signals.h"
#include "meter/BpmCountView.h"
#include "meter/ZeltoMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
TEST (Tempo, RingSizesByRateClass)
{
    const std::pair<float, int> cases[] { { 30000.0f, 262144 },
                                          { 44100.0f, 524288 },
                                          { 48000.0f, 524288 },
                                          { 96000.0f, 1048576 },
                                          { 192000.0f, 2097152 } };

    for (const auto& [rate, size] : cases)
    {
        ZeltoMeter engine;
        engine.Init (rate);
        auto& view = engine.bpmCountView;
        EXPECT_EQ (view.fftSize, size) << rate;
        EXPECT_EQ (view.fifo->buffer.getNumSamples(), size);
        EXPECT_EQ (view.fftBuffer->buffer.getNumSamples(), 2 * size);
        EXPECT_EQ (view.minFrequency, 1.0f);
        EXPECT_EQ (view.maxFrequency, 20.0f);
        EXPECT_EQ (view.holdFrames, 200);
    }
}

TEST (Tempo, InertUntilConfigured)
{
    BpmCountView view;
    view.Capture (0.5f);
    EXPECT_EQ (view.fifoIndex, 0);

    view.frameReady = true;
    view.AnalyseFrame();
    EXPECT_FALSE (view.frameReady.load()) << "an analysis without buffers only releases the frame";

    view.setBounds (0, 0, 100, 100);
    juce::Image image (juce::Image::ARGB, 100, 100, true);
    juce::Graphics g (image);
    view.Draw (g);
    EXPECT_EQ (image.getPixelAt (50, 50).getAlpha(), 0);
}

int LoudestNear (const BpmCountView& view, double frequency)
{
    const double lnMin = std::log (view.minFrequency), lnRange = std::log (view.maxFrequency) - lnMin;
    auto pointOf = [&] (double f) { return (int) std::lround ((std::log (f) - lnMin) / lnRange * 1199.0); };
    int best = pointOf (frequency * 0.95);
    for (int i = best; i <= pointOf (frequency * 1.05); ++i)
        if (view.levels[i] > view.levels[best])
            best = i;
    return best;
}

double FrequencyOf (const BpmCountView& view, int point)
{
    return view.minFrequency * std::pow (view.maxFrequency / view.minFrequency, point / 1199.0);
}

TEST (Tempo, ClickTrackAt120BpmPeaksAtItsMultiples)
{
    ZeltoMeter engine;
    engine.analysisMode = 5;
    engine.Init (48000.0f);
    auto& view = engine.bpmCountView;

    const auto clicks = signals::ClickTrack (120.0, 48000.0, view.fftSize + 4800);
    for (const float x : clicks)
        engine.MeasureSample (x, x);

    ASSERT_TRUE (view.frameReady.load());
    view.frameReady = false;
    engine.MeasureSample (0.0f, 0.0f);
    view.AnalyseFrame();

    const double binWidth = 48000.0 / view.fftSize;

    for (const double harmonic : { 2.0, 4.0, 6.0 })
    {
        const int point = LoudestNear (view, harmonic);
        EXPECT_NEAR (FrequencyOf (view, point), harmonic, binWidth) << harmonic << " Hz";

        const int between = LoudestNear (view, harmonic + 1.0);
        EXPECT_GT (view.levels[point], 2.0f * view.levels[between])
            << "a line at " << harmonic << " Hz, not at " << harmonic + 1.0;
    }
}

TEST (Tempo, AxisLabelsInBeatsPerMinute)
{
    std::vector<juce::String> labels;
    BpmCountView::ForEachAxisLabel (
        500, 1.0f, 20.0f, [&] (float, float, const juce::String& bpm, bool) { labels.push_back (bpm); });
    const std::vector<juce::String> expected { "66",  "72",  "84",  "96",  "108", "126", "144",
                                               "168", "180", "240", "300", "360", "420", "480",
                                               "540", "660", "720", "840", "960", "1140" };
    EXPECT_EQ (labels, expected);

    int narrow = 0;
    BpmCountView::ForEachAxisLabel (17, 1.0f, 20.0f,
                                    [&] (float, float, const juce::String&, bool) { ++narrow; });
    EXPECT_EQ (narrow, 0);
}
} // namespace
