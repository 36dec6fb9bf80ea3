#pragma once

#include "meter/FrameAnalyser.h"

/** A spectrum analyser: 800 log-spaced display levels of the captured signal between its
    minimum and maximum frequency, with a 20-slot peak hold, drawn over a frequency scale.

    Threads: Process [audio thread]; drawNextFrameOfSpectrum [message thread, inside the
    refresh's hand-over, frameLock held]; Paint [message thread]. See FrameAnalyser.
*/
class SpectrumView : public FrameAnalyser<800, 20>
{
public:
    SpectrumView();
    ~SpectrumView() override;

    /** [audio thread] One sample of the analysed signal. */
    void Process (float sample) noexcept { Push (sample); }

    /** [message thread, frameLock held] Transforms the handed-over frame into display levels. */
    void drawNextFrameOfSpectrum();

    /** [message thread] Draws the view at its bounds into the editor's graphics context. */
    void Paint (juce::Graphics& g);

    /** Calls fn (xr, text, upperRow) for every label the frequency scale draws in a view of the
        given width, xr measured from the view's left edge. */
    template <typename Fn>
    static void ForEachScaleLabel (int width, float lowest, float highest, Fn&& fn);

    /** The label of a snapped scale frequency in hertz. */
    static juce::String LabelText (double frequency);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SpectrumView)
};

template <typename Fn>
void SpectrumView::ForEachScaleLabel (int width, float lowest, float highest, Fn&& fn)
{
    // Whole hertz, snapped to one or two significant digits in units of 5^(e-1) Hz.
    auto snap = [] (float frequency)
    {
        const float f = ViewPainter::Round (frequency);
        const double unit = std::pow (5.0, std::round (std::log10 ((double) f))) / 5.0;
        return std::round ((double) f / unit) * unit;
    };

    ForEachTick (width, lowest, highest, snap,
                 [&fn] (float xr, float step, double tick, bool upper)
                 { fn (xr, step, LabelText (tick), upper); });
}
