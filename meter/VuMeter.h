#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** One stereo level meter: a smoothed RMS level, a peak level that falls back slowly and a held
    peak per channel, drawn as two bars with a dB scale and a held-peak readout.

    Threads: Accumulate [audio thread]; Configure [the thread that configures the engine, under
    its configuration guard]; Refresh, Paint and DrawLabelDb [message thread]. The accumulators
    are exchanged between the audio and message threads without a lock; a lost update only
    costs one sample's contribution.
*/
class VuMeter : public juce::Component
{
public:
    /** The display constants of one meter and the rate constant k of its mean square. */
    struct Parameters
    {
        float k;
        int holdLength;
        float falloff;
        float power;
        float topDb;
        float topScale;
    };

    VuMeter();
    ~VuMeter() override;

    /** Writes the parameters for a sample rate; levels and held peaks carry on. */
    void Configure (const Parameters& parameters, float sampleRate);

    /** Adds one stereo sample to the peak and mean-square accumulators. */
    void Accumulate (float left, float right) noexcept
    {
        const float in = inputWeight.load (std::memory_order_relaxed);
        const float memory = memoryWeight.load (std::memory_order_relaxed);
        AccumulateChannel (0, left, in, memory);
        AccumulateChannel (1, right, in, memory);
    }

    /** Turns the accumulators into display values with falloff and hold. */
    void Refresh();

    /** Draws the meter at its bounds into the editor's graphics context. */
    void Paint (juce::Graphics& g);

    /** Draws one scale label right-justified with its top edge at the level of dB. */
    void DrawLabelDb (juce::Graphics& g, float dB, int x, int baseline, float scaleHeight, float width);

    /** Calls fn with the dB value of every scale label, in drawing order. */
    template <typename Fn>
    void ForEachScaleLabel (float inner, float scaleHeight, Fn&& fn) const;

    /** Top edge of the label for dB above the baseline. */
    int LabelTop (float dB, int baseline, float scaleHeight) const;

    std::atomic<float> falloff { 0.02f };
    std::atomic<float> power { 0.33333334f };
    std::atomic<float> topDb { 8.5f };
    std::atomic<float> topScale { 1.0f };
    std::atomic<int> holdLength { 200 };
    std::atomic<float> inputWeight { 0.00001f };
    std::atomic<float> memoryWeight { 0.99999f };
    std::atomic<float> meanSquare[2] {};
    std::atomic<float> peakSinceRefresh[2] {};
    float rmsDisplay[2] {};
    float peakDisplay[2] {};
    float heldPeak[2] {};
    float heldPeakDb = 0.0f;
    int holdCount[2] {};
    std::atomic<bool> configured { false };

private:
    void AccumulateChannel (int channel, float x, float in, float memory) noexcept
    {
        // Only a larger peak is stored, so a reset by the refresh is never overwritten with a
        // value it has already taken.
        const float magnitude = std::abs (x);

        if (magnitude > peakSinceRefresh[channel].load (std::memory_order_relaxed))
            peakSinceRefresh[channel].store (magnitude, std::memory_order_relaxed);

        const float previous = meanSquare[channel].load (std::memory_order_relaxed);
        meanSquare[channel].store (memory * previous + in * (x * x), std::memory_order_relaxed);
    }

    void PaintBars (juce::Graphics& g, float inner, float bottom, float scale);
    void PaintReadout (juce::Graphics& g, float heldValue, float labelBase, float scaleHeight, float scale);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VuMeter)
};

template <typename Fn>
void VuMeter::ForEachScaleLabel (float inner, float scaleHeight, Fn&& fn) const
{
    const float displayPower = power.load (std::memory_order_relaxed);

    // The tall main meter has its own fixed set of labels, thinned as it gets shorter.
    if (displayPower > 0.28f && displayPower < 0.36f)
    {
        if (scaleHeight > 350.0f)
        {
            fn (6.0f);
            fn (-3.0f);
        }

        if (scaleHeight > 120.0f)
        {
            fn (3.0f);
            fn (-6.0f);
            fn (-20.0f);
            fn (-50.0f);
        }

        if (scaleHeight > 90.0f)
        {
            fn (-12.0f);
            fn (-30.0f);
        }

        fn (8.0f);
        fn (0.0f);
        fn (-std::numeric_limits<float>::infinity());
        return;
    }

    // The others sample their scale every 26.5 pixels of bar height.
    const float limit = inner / topScale.load (std::memory_order_relaxed);

    for (float p = 0.0f; p <= limit; p += 26.5f)
    {
        const auto ratio = (double) p / (double) inner;
        const auto dB = (float) (20.0 * std::log10 (std::pow (ratio, 1.0 / (double) displayPower)));
        fn (std::round (dB));
    }
}
