#include "meter/VuMeter.h"
#include "Signals.h"
#include "meter/ZeltoMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace
{
struct NamedMeter
{
    const char* name;
    VuMeter::Parameters parameters;
};

const NamedMeter meters[] { { "main", ZeltoMeter::mainParameters },
                            { "harsh", ZeltoMeter::harshParameters },
                            { "sub", ZeltoMeter::subParameters } };

/** Feeds a signal to both channels, refreshing every 800 samples as a 60 Hz display would. */
void Feed (VuMeter& meter, const std::vector<float>& signal)
{
    for (size_t i = 0; i < signal.size(); ++i)
    {
        meter.Accumulate (signal[i], signal[i]);
        if (i % 800 == 799)
            meter.Refresh();
    }
}

TEST (VuMeter, SteadySineMakesRmsAndPeakMeet)
{
    for (const auto& m : meters)
    {
        VuMeter meter;
        meter.Configure (m.parameters, 48000.0f);
        Feed (meter, signals::Sine (997.0, 48000.0, 48000 * 20, 0.5f));
        const float expected = std::pow (0.5f, m.parameters.power);
        EXPECT_NEAR (meter.rmsDisplay[0], expected, 0.002f) << m.name;
        EXPECT_NEAR (meter.peakDisplay[1], expected, 0.002f) << m.name;
    }
}

TEST (VuMeter, SquareWaveShowsTheDarkerBandAboveThePeak)
{
    VuMeter meter;
    meter.Configure (ZeltoMeter::mainParameters, 48000.0f);
    meter.setBounds (0, 0, 46, 415);
    Feed (meter, signals::Square (100.0, 48000.0, 48000 * 20, 0.25f));

    // The RMS reading of a square stands 3 dB above its peak reading.
    EXPECT_NEAR (meter.rmsDisplay[0] / meter.peakDisplay[0], std::pow (std::sqrt (2.0f), 0.3f), 0.002f);

    juce::Image image (juce::Image::ARGB, 46, 415, true);
    juce::Graphics g (image);
    meter.Paint (g);

    const float inner = 413.0f, bottom = 414.0f;
    const float scale = ZeltoMeter::mainParameters.topScale;
    const int rmsRow = (int) (bottom - meter.rmsDisplay[0] * inner * scale);
    const int peakRow = (int) (bottom - meter.peakDisplay[0] * inner * scale);
    ASSERT_GT (peakRow - rmsRow, 4);
    EXPECT_EQ (image.getPixelAt (3, (rmsRow + peakRow) / 2).getARGB(), 0xff183000u);
    EXPECT_EQ (image.getPixelAt (3, peakRow + 3).getARGB(), 0xff709800u);
    EXPECT_EQ (image.getPixelAt (3, rmsRow - 3).getARGB(), 0xff000000u);
}

TEST (VuMeter, PeakFallsOffByItsFalloffPerRefresh)
{
    for (const auto& m : meters)
    {
        VuMeter meter;
        meter.Configure (m.parameters, 48000.0f);
        meter.Accumulate (1.0f, 1.0f);
        meter.Refresh();
        ASSERT_EQ (meter.peakDisplay[0], 1.0f);

        int fallen = 0;
        while (meter.peakDisplay[0] > 0.0f && fallen < 1000)
        {
            meter.Refresh();
            ++fallen;
        }

        const int expected = (int) std::ceil (1.0f / m.parameters.falloff);
        EXPECT_GE (fallen, expected) << m.name;
        EXPECT_LE (fallen, expected + 1) << m.name;
    }
}

TEST (VuMeter, HeldPeakStaysForItsHoldLengthThenDrops)
{
    for (const auto& m : meters)
    {
        VuMeter meter;
        meter.Configure (m.parameters, 48000.0f);
        meter.Accumulate (0.0f, 1.0f);
        meter.Refresh();

        for (int i = 1; i < m.parameters.holdLength; ++i)
            meter.Refresh();

        EXPECT_EQ (meter.heldPeak[1], 1.0f) << m.name;
        EXPECT_EQ (meter.heldPeakDb, 0.0f) << m.name;
        meter.Refresh();
        EXPECT_EQ (meter.heldPeak[1], 0.0f) << m.name;
        EXPECT_EQ (meter.heldPeakDb, -1000.0f) << m.name;
    }
}

TEST (VuMeter, ReadoutColourTurnsRedAtZeroDecibels)
{
    struct Case
    {
        float peak;
        const char* text;
        juce::uint32 colour;
    };

    for (const auto c : { Case { 1.0f, "+0.00 dB", 0xffff3010 }, Case { 0.5f, "-6.02 dB", 0xffbbff00 } })
    {
        VuMeter meter;
        meter.Configure (ZeltoMeter::mainParameters, 48000.0f);
        meter.setBounds (0, 0, 46, 415);
        meter.Accumulate (c.peak, c.peak);
        meter.Refresh();

        char text[32];
        std::snprintf (text, sizeof (text), "%+.2f dB", (double) meter.heldPeakDb);
        EXPECT_STREQ (text, c.text);

        juce::Image image (juce::Image::ARGB, 46, 415, true);
        juce::Graphics g (image);
        meter.Paint (g);

        // Glyph pixels of the readout's hue, in the rows just above the held line.
        const auto expected = juce::Colour (c.colour);
        auto isReadout = [&] (juce::Colour p)
        {
            const float r = p.getFloatRed(), green = p.getFloatGreen(), b = p.getFloatBlue();
            return expected.getRed() > expected.getGreen()
                       ? r >= 0.66f && green <= 0.35f * r && b <= 0.3f * r
                       : green >= 0.66f && r >= 0.6f * green && r <= 0.85f * green && b <= 0.2f * green;
        };

        const int lineTop =
            (int) (414.0f - (411.0f * meter.heldPeak[0] * ZeltoMeter::mainParameters.topScale + 2.0f));
        int coloured = 0;
        for (int y = lineTop - 14; y < lineTop; ++y)
            for (int x = 2; x < 44; ++x)
                coloured += isReadout (image.getPixelAt (x, y)) ? 1 : 0;

        EXPECT_GT (coloured, 10) << c.text;
    }
}

std::map<int, float> LabelTops (const VuMeter& meter, int height)
{
    const float inner = (float) (height - 2);
    const int baseline = (int) ((float) ((meter.getY() + height) - 1) - 9.0f);
    const float scaleHeight = inner - 5.5f;
    std::map<int, float> tops;
    meter.ForEachScaleLabel (inner, scaleHeight,
                             [&] (float dB) { tops[meter.LabelTop (dB, baseline, scaleHeight)] = dB; });
    return tops;
}

TEST (VuMeter, MainMeterLabelsAtItsDefaultBounds)
{
    VuMeter meter;
    meter.Configure (ZeltoMeter::mainParameters, 48000.0f);
    meter.setBounds (598, 5, 46, 415);

    const float inf = std::numeric_limits<float>::infinity();
    const std::map<int, float> expected { { 9, 8.0f },     { 36, 6.0f },    { 73, 3.0f },    { 106, 0.0f },
                                          { 136, -3.0f },  { 163, -6.0f },  { 209, -12.0f }, { 257, -20.0f },
                                          { 302, -30.0f }, { 355, -50.0f }, { 410, -inf } };
    EXPECT_EQ (LabelTops (meter, 415), expected);
}

TEST (VuMeter, MainMeterThinsItsLabelsWithHeight)
{
    VuMeter meter;
    meter.Configure (ZeltoMeter::mainParameters, 48000.0f);
    const std::pair<float, size_t> cases[] { { 351.0f, 11 }, { 350.0f, 9 }, { 121.0f, 9 },
                                             { 120.0f, 5 },  { 91.0f, 5 },  { 90.0f, 3 } };

    for (const auto& [scaleHeight, count] : cases)
    {
        size_t labels = 0;
        meter.ForEachScaleLabel (scaleHeight + 5.5f, scaleHeight, [&] (float) { ++labels; });
        EXPECT_EQ (labels, count) << scaleHeight;
    }
}

TEST (VuMeter, LadderLabels)
{
    const float inf = std::numeric_limits<float>::infinity();

    struct Case
    {
        const char* what;
        VuMeter::Parameters parameters;
        juce::Rectangle<int> bounds;
        std::vector<float> dB;
        std::vector<int> tops;
    };

    const Case cases[] {
        { "harsh at 700x450",
          ZeltoMeter::harshParameters,
          { 649, 15, 46, 187 },
          { -inf, -34, -22, -15, -10, -6, -3, 0 },
          { 192, 168, 145, 122, 99, 75, 53, 27 } },
        { "sub at 700x450",
          ZeltoMeter::subParameters,
          { 649, 222, 46, 197 },
          { -inf, -87, -57, -39, -26, -17, -9, -2 },
          {} },
        { "harsh at 300x200", ZeltoMeter::harshParameters, { 265, 15, 30, 62 }, { -inf, -14, -2 }, {} },
        { "sub at 300x200", ZeltoMeter::subParameters, { 265, 97, 30, 72 }, { -inf, -42, -12 }, {} },
    };

    for (const auto& c : cases)
    {
        VuMeter meter;
        meter.Configure (c.parameters, 48000.0f);
        meter.setBounds (c.bounds);

        const float inner = (float) (c.bounds.getHeight() - 2);
        const int baseline = (int) ((float) (c.bounds.getBottom() - 1) - 9.0f);
        std::vector<float> dB;
        std::vector<int> tops;
        meter.ForEachScaleLabel (inner, inner - 5.5f,
                                 [&] (float value)
                                 {
                                     dB.push_back (value);
                                     tops.push_back (meter.LabelTop (value, baseline, inner - 5.5f));
                                 });

        EXPECT_EQ (dB, c.dB) << c.what;
        if (! c.tops.empty())
        {
            EXPECT_EQ (tops, c.tops) << c.what;
        }
    }
}

TEST (VuMeter, DrawsNothingBeforeItIsConfigured)
{
    VuMeter meter;
    meter.setBounds (0, 0, 46, 100);
    juce::Image image (juce::Image::ARGB, 46, 100, true);
    juce::Graphics g (image);
    meter.Paint (g);
    EXPECT_EQ (image.getPixelAt (10, 50).getAlpha(), 0);
}
} // namespace
