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
    const float w = (float) width;

    if (w - 5.75f < 11.5f)
        return;

    const float n = ViewPainter::Round (w / 23.0f);
    const float step = w / n;
    const float lnMin = std::log (lowest);
    const float lnRange = std::log (highest) - lnMin;
    float lastX = -100.0f;
    bool upper = false;

    for (float position = 11.5f; position <= w - 5.75f; position += step)
    {
        // Candidates are snapped to one or two significant digits in units of 5^(e-1) Hz.
        const float f = ViewPainter::Round (std::exp (lnRange * position / w + lnMin));
        const double e = std::round (std::log10 ((double) f));
        const double unit = std::pow (5.0, e) / 5.0;
        const double snapped = std::round ((double) f / unit) * unit;
        const float xr = (std::log ((float) snapped) - lnMin) / lnRange * w;

        if (xr > lastX + 10.0f)
        {
            fn (xr, step, LabelText (snapped), upper);
            lastX = xr;
            upper = ! upper;
        }
    }
}
