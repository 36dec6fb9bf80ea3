#pragma once

#include "meter/PeakMemory.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <cmath>
#include <cstdio>

/** How often each instantaneous amplitude of the mid signal occurs: 320 bins on a cube-root
    scale from silence to full scale, each decaying at every refresh, with a held maximum.

    Threads: Accumulate [audio thread]; Configure [the thread configuring the engine];
    Refresh and Draw [message thread]. The bins are single floats shared without a lock; an
    addition that falls between the refresh's read and write of a bin is lost, which the display
    tolerates. The peak slots belong to the message thread: a configuration only asks for their
    reset, which the next refresh carries out first.
*/
class AmplitudeHistogram : public juce::Component
{
public:
    static constexpr int numBins = 320;

    AmplitudeHistogram();
    ~AmplitudeHistogram() override;

    /** Adds one sample's weight to its bin. */
    void Accumulate (float mid) noexcept
    {
        const float v = std::pow (std::abs (mid), 0.33333334f) * 319.0f;

        // A NaN has no bin; amplitudes beyond the top bin all count there.
        if (std::isnan (v))
            return;

        const float k = std::round (std::min (v, 1.0e6f));
        const float scaled = 320.0f / std::max (k, 1.0f) * 0.003f;
        const float weight = scaled * scaled;
        auto& bin = bins[(size_t) std::min (k, 319.0f)];
        bin.store (std::min (bin.load (std::memory_order_relaxed) + weight, 1.0f), std::memory_order_relaxed);
    }

    /** Empties the bins, sets the hold length and asks for the peak slots to be reset. */
    void Configure (int hold);

    /** Feeds every bin to its peak hold, then lets it decay by 1 %. */
    void Refresh();

    /** Draws the held maxima, the current bins and the dB axis at the component's bounds. */
    void Draw (juce::Graphics& g);

    /** Calls fn (position, step, text, upperRow) for every label of the axis at a width. */
    template <typename Fn>
    static void ForEachAxisLabel (int width, Fn&& fn);

    std::atomic<int> holdFrames { 100 };
    std::atomic<float> bins[numBins] {};
    PeakMemory<4> peakMemory[numBins];

private:
    std::atomic<bool> peakResetPending { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AmplitudeHistogram)
};

template <typename Fn>
void AmplitudeHistogram::ForEachAxisLabel (int width, Fn&& fn)
{
    const float w = (float) width;

    if (w - 5.75f < 11.5f)
        return;

    const float n = std::round (w / 23.0f);
    const float step = w / n;
    bool upper = false;

    for (float position = 11.5f; position <= w - 5.75f; position += step)
    {
        // The position's amplitude is (S / W)^3: the axis is a cube-root scale too.
        const double dB = 20.0 * std::log10 ((double) std::pow (position / w, 3.0f));
        char text[32];
        std::snprintf (text, sizeof (text), std::abs (dB) < 8.0 ? "%+.1f dB" : "%+.0f dB", dB);
        fn (position, step, text, upper);
        upper = ! upper;
    }
}
