#include "Signals.h"
#include "maker/OrvantaButterworth.h"
#include "meter/ZeltoMeter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Steady-state gain in dB of a filter at one frequency, from the RMS of the last second.
template <typename T>
double GainDb (OrvantaButterworth<T>& filter, double frequency, double sampleRate, int seconds = 3)
{
    const int length = (int) sampleRate * seconds;
    const int tail = (int) sampleRate;
    double in2 = 0.0, out2 = 0.0;

    for (int i = 0; i < length; ++i)
    {
        const T x = (T) std::sin (signals::twoPi * frequency * i / sampleRate);
        T left = x, right = x;
        filter.Filter (left, right);

        if (i >= length - tail)
        {
            in2 += (double) x * (double) x;
            out2 += (double) left * (double) left;
        }
    }

    return 10.0 * std::log10 (out2 / in2);
}

TEST (Butterworth, EngineCoefficientsAt48kHz)
{
    ZeltoMeter engine;
    engine.Init (48000.0f);

    EXPECT_NEAR (engine.harshHighPass.firstOrderGain, 0.0397213f, 1e-7f);
    EXPECT_NEAR (engine.harshHighPass.firstOrderPole, 0.9205575f, 2e-7f);
    EXPECT_EQ (engine.harshHighPass.sectionCount, 0);
    EXPECT_TRUE (engine.harshHighPass.firstOrder && engine.harshHighPass.highPass);

    EXPECT_NEAR (engine.harshLowPass.firstOrderGain, 0.5669115f, 1e-7f);
    EXPECT_NEAR (engine.harshLowPass.firstOrderPole, -0.1338230f, 1e-7f);
    EXPECT_FALSE (engine.harshLowPass.highPass);

    EXPECT_EQ (engine.subLowPass.sectionCount, 1);
    EXPECT_FALSE (engine.subLowPass.firstOrder);
    EXPECT_NEAR (engine.subLowPass.sectionGain[0] / 4.2836e-11, 1.0, 1e-4);
    EXPECT_NEAR (engine.subLowPass.sectionFeedback1[0], 1.99998149, 1e-8);
    EXPECT_NEAR (engine.subLowPass.sectionFeedback2[0], -0.99998149, 1e-8);
    EXPECT_DOUBLE_EQ (engine.subLowPass.damping, 0.7071067811865475);
}

struct ResponseCase
{
    const char* what;
    bool highPass;
    int order;
    double cutoff, frequency, expectedDb, toleranceDb;
};

TEST (Butterworth, FrequencyResponse)
{
    const double rate = 48000.0;
    const ResponseCase cases[] {
        { "632 Hz high-pass at its corner", true, 1, 632.0, 632.0, -3.01, 0.1 },
        { "632 Hz high-pass in its pass band", true, 1, 632.0, 12000.0, 0.0, 0.05 },
        { "632 Hz high-pass in its stop band", true, 1, 632.0, 20.0, -30.0, 0.1 },
        { "20 kHz low-pass in its pass band", false, 1, 20000.0, 1000.0, -0.011, 0.002 },
        { "second-order low-pass at its corner", false, 2, 1000.0, 1000.0, -3.01, 0.02 },
        { "second-order low-pass an octave up", false, 2, 1000.0, 2000.0, -12.38, 0.1 },
        { "second-order high-pass at its corner", true, 2, 1000.0, 1000.0, -3.01, 0.02 },
        { "second-order high-pass an octave down", true, 2, 1000.0, 500.0, -12.31, 0.1 },
        { "fourth-order low-pass at its corner", false, 4, 1000.0, 1000.0, -3.01, 0.02 },
        { "fourth-order low-pass an octave up", false, 4, 1000.0, 2000.0, -24.25, 0.1 },
        { "third-order high-pass at its corner", true, 3, 1000.0, 1000.0, -3.01, 0.2 },
    };

    for (const auto& c : cases)
    {
        OrvantaButterworth<double> filter;
        filter.Design (c.highPass, c.order, c.cutoff, rate);
        EXPECT_NEAR (GainDb (filter, c.frequency, rate), c.expectedDb, c.toleranceDb) << c.what;
    }
}

TEST (Butterworth, SubLowPassPassesDirectCurrentAtUnity)
{
    OrvantaButterworth<double> filter;
    filter.Design (false, 2, 0.1, 48000.0);
    double left = 0.0, right = 0.0;

    for (int i = 0; i < 48000 * 30; ++i)
    {
        left = 0.25;
        right = -0.5;
        filter.Filter (left, right);
    }

    // The feedback coefficients differ from 2 and -1 by only 4e-11, so double precision leaves
    // a few parts per million of gain error at DC.
    EXPECT_NEAR (left, 0.25, 1e-5);
    EXPECT_NEAR (right, -0.5, 1e-5);
}

TEST (Butterworth, UndesignedFilterPassesThrough)
{
    OrvantaButterworth<float> filter;
    float left = 0.3f, right = -7.0f;
    filter.Filter (left, right);
    EXPECT_EQ (left, 0.3f);
    EXPECT_EQ (right, -7.0f);
}

TEST (Butterworth, RedesignAtTheSameRateKeepsTheOutputContinuous)
{
    ZeltoMeter reference;
    ZeltoMeter redesigned;
    reference.Init (48000.0f);
    redesigned.Init (48000.0f);
    const auto noise = signals::Noise (20000);

    for (size_t i = 0; i < noise.size(); ++i)
    {
        if (i == 10000)
            redesigned.Init (48000.0f);

        double a = noise[i], b = -noise[i], c = noise[i], d = -noise[i];
        reference.subLowPass.Filter (a, b);
        redesigned.subLowPass.Filter (c, d);
        float e = noise[i], f = noise[i], g = noise[i], h = noise[i];
        reference.harshHighPass.Filter (e, f);
        redesigned.harshHighPass.Filter (g, h);

        ASSERT_EQ (a, c) << "sample " << i;
        ASSERT_EQ (b, d) << "sample " << i;
        ASSERT_EQ (e, g) << "sample " << i;
    }
}
} // namespace
