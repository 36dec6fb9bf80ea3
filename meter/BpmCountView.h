#pragma once

#include "meter/FrameAnalyser.h"

/** The rhythm of the music: the spectrum of the energy envelope (the squared mid signal) over
    about eleven seconds, 1200 log-spaced points from 1 Hz to 20 Hz with an 8-slot peak hold,
    drawn on an axis in beats per minute.

    Threads: Capture [audio thread]; AnalyseFrame [message thread, takes frameLock for the whole
    analysis and clears frameReady at its end, so the audio thread never waits for it]; Draw
    [message thread]. See FrameAnalyser.
*/
class BpmCountView : public FrameAnalyser<1200, 8>
{
public:
    BpmCountView();
    ~BpmCountView() override;

    /** [audio thread] Stores the energy of one mid sample. */
    void Capture (float mid) noexcept { Push (mid * mid); }

    /** [message thread] Analyses the handed-over frame and releases it. */
    void AnalyseFrame();

    /** [message thread] Draws the view at its bounds into the editor's graphics context. */
    void Draw (juce::Graphics& g);

    /** Calls fn (xr, step, beatsPerMinute, upperRow) for every label the tempo axis draws. */
    template <typename Fn>
    static void ForEachAxisLabel (int width, float lowest, float highest, Fn&& fn);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BpmCountView)
};

template <typename Fn>
void BpmCountView::ForEachAxisLabel (int width, float lowest, float highest, Fn&& fn)
{
    const float w = (float) width;

    if (w - 5.75f < 11.5f)
        return;

    const float n = std::round (w / 23.0f);
    const float step = w / n;
    const float lnMin = std::log (lowest);
    const float lnRange = std::log (highest) - lnMin;
    float lastX = -100.0f;
    bool upper = false;

    for (float position = 11.5f; position <= w - 5.75f; position += step)
    {
        // Ticks fall on frequencies of one or two significant digits.
        const float f = std::exp (lnRange * position / w + lnMin);
        const double rounded = std::round ((double) f * 1000.0) * 0.001;
        const double unit = std::pow (10.0, std::round (std::log10 (rounded))) / 10.0;
        const double tick = std::round (rounded / unit) * unit;
        const float xr = (std::log ((float) tick) - lnMin) / lnRange * w;

        if (xr > lastX + 10.0f)
        {
            fn (xr, step, (int) std::lround (tick * 60.0), upper);
            lastX = xr;
            upper = ! upper;
        }
    }
}
