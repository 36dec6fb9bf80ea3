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

    /** Calls fn (xr, step, text, upperRow) for every label the tempo axis draws: the tick's
        tempo in whole beats per minute. */
    template <typename Fn>
    static void ForEachAxisLabel (int width, float lowest, float highest, Fn&& fn);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BpmCountView)
};

template <typename Fn>
void BpmCountView::ForEachAxisLabel (int width, float lowest, float highest, Fn&& fn)
{
    // Thousandths of a hertz, snapped to one or two significant digits.
    auto snap = [] (float frequency)
    {
        const double rounded = std::round ((double) frequency * 1000.0) * 0.001;
        const double unit = std::pow (10.0, std::round (std::log10 (rounded))) / 10.0;
        return std::round (rounded / unit) * unit;
    };

    ForEachTick (width, lowest, highest, snap,
                 [&fn] (float xr, float step, double tick, bool upper)
                 { fn (xr, step, juce::String ((juce::int64) std::llround (tick * 60.0)), upper); });
}
