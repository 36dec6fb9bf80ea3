#include "meter/AmplitudeHistogram.h"
#include "meter/ZeltoMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
int FilledBin (const AmplitudeHistogram& histogram)
{
    for (int i = 0; i < AmplitudeHistogram::numBins; ++i)
        if (histogram.bins[i].load() != 0.0f)
            return i;
    return -1;
}

TEST (Histogram, BinsAndWeights)
{
    const float inf = std::numeric_limits<float>::infinity();

    struct Case
    {
        float mid;
        int bin;
        float weight;
    };

    const Case cases[] {
        { 0.5f, 253, std::pow (320.0f / 253.0f * 0.003f, 2.0f) },
        { -0.5f, 253, std::pow (320.0f / 253.0f * 0.003f, 2.0f) },
        { 2.0f, 319, std::pow (320.0f / 402.0f * 0.003f, 2.0f) },
        { 0.0f, 0, 0.9216f },
        { 1.0e-9f, 0, 0.9216f },
        { 1.0f, 319, 9.0566e-6f },
        { 0.001f, 32, std::pow (320.0f / 32.0f * 0.003f, 2.0f) },
        { -inf, 319, 0.0f },
    };

    for (const auto& c : cases)
    {
        AmplitudeHistogram histogram;
        histogram.Accumulate (c.mid);
        EXPECT_EQ (FilledBin (histogram), c.bin) << c.mid;
        EXPECT_NEAR (histogram.bins[(size_t) c.bin].load(), c.weight, c.weight * 1e-4f + 1e-12f) << c.mid;
    }

    AmplitudeHistogram untouched;
    untouched.Accumulate (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (FilledBin (untouched), -1) << "a NaN has no bin";
}

TEST (Histogram, FullScaleTakesAbout110418SamplesToSaturate)
{
    AmplitudeHistogram histogram;
    int samples = 0;
    while (histogram.bins[319].load() < 1.0f && samples < 200000)
    {
        histogram.Accumulate (1.0f);
        ++samples;
    }

    EXPECT_NEAR (samples, 110418, 60);
    histogram.Accumulate (1.0f);
    EXPECT_EQ (histogram.bins[319].load(), 1.0f) << "bins are capped at 1";
}

TEST (Histogram, RefreshDecaysAndHoldsMaxima)
{
    AmplitudeHistogram histogram;
    histogram.Configure (1200);
    histogram.Accumulate (0.0f);
    histogram.Refresh();
    EXPECT_FLOAT_EQ (histogram.bins[0].load(), 0.9216f * 0.99f);
    EXPECT_FLOAT_EQ (histogram.peakMemory[0].peak, 0.9216f);

    for (int i = 0; i < 68; ++i)
        histogram.Refresh();
    EXPECT_NEAR (histogram.bins[0].load(), 0.9216f * 0.5f, 0.01f) << "halves in about 69 refreshes";
    EXPECT_FLOAT_EQ (histogram.peakMemory[0].peak, 0.9216f) << "the maximum is held";

    histogram.Configure (1200);
    EXPECT_EQ (histogram.bins[0].load(), 0.0f) << "a configuration empties the histogram";
    histogram.Refresh();
    EXPECT_EQ (histogram.peakMemory[0].peak, 0.0f) << "and its held maxima";
}

TEST (Histogram, AxisLabels)
{
    std::vector<std::string> labels;
    std::vector<bool> rows;
    float step = 0.0f;
    AmplitudeHistogram::ForEachAxisLabel (300,
                                          [&] (float, float s, const char* text, bool upper)
                                          {
                                              labels.push_back (text);
                                              rows.push_back (upper);
                                              step = s;
                                          });

    ASSERT_EQ (labels.size(), 13u);
    EXPECT_NEAR (step, 23.08f, 0.01f);
    EXPECT_EQ (labels.front(), "-85 dB");
    EXPECT_EQ (labels.back(), "-1.0 dB");
    EXPECT_EQ (rows[0], false);
    EXPECT_EQ (rows[1], true);

    int narrow = 0;
    AmplitudeHistogram::ForEachAxisLabel (17, [&] (float, float, const char*, bool) { ++narrow; });
    EXPECT_EQ (narrow, 0);
}

TEST (Histogram, DrawsMaximaCurrentAndAxis)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);
    auto& histogram = engine.amplitudeHistogram;
    histogram.setBounds (5, 5, 588, 415);

    for (int i = 0; i < AmplitudeHistogram::numBins; ++i)
        histogram.bins[i].store (i < 160 ? 0.125f : 0.0f);
    histogram.Refresh();
    for (int i = 0; i < AmplitudeHistogram::numBins; ++i)
        histogram.bins[i].store (i < 80 ? 0.125f : 0.0f);

    juce::Image image (juce::Image::ARGB, 600, 430, true);
    juce::Graphics g (image);
    histogram.Draw (g);

    // 0.125 is drawn at half the height: the vertical scale is a cube root too.
    const int halfRow = 6 + 413 / 2;
    EXPECT_EQ (image.getPixelAt (100, halfRow + 5).getARGB(), 0xff609000u);
    EXPECT_EQ (image.getPixelAt (100, halfRow - 5).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (250, halfRow + 5).getARGB(), 0xff003020u)
        << "held maxima beyond the current bins";
    EXPECT_EQ (image.getPixelAt (450, halfRow + 5).getARGB(), 0xff000000u);
}
} // namespace
