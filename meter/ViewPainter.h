#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>

/** Drawing shared by the analysis views: the black field, the filled curves of held and current
    values, the two reference lines and the tick-and-label pairs of their axes.

    Threads: message thread (the editor's paint).
*/
class ViewPainter
{
public:
    /** A 1-pixel outline of the bounds and the black field inside it. */
    static void PaintBackground (juce::Graphics& g, juce::Rectangle<int> bounds);

    /** Fills the area under values[1 .. count - 1] across the field. Point 0 is never drawn: the
        left edge repeats point 1. mapY turns a value into a vertical position. */
    template <typename ValueAt, typename MapY>
    static void FillCurve (juce::Graphics& g, juce::Rectangle<int> bounds, int count, juce::Colour colour,
                           ValueAt&& valueAt, MapY&& mapY)
    {
        const int x = bounds.getX(), y = bounds.getY(), w = bounds.getWidth(), h = bounds.getHeight();
        const float bottom = (float) (y + h - 1);
        juce::Path path;
        path.startNewSubPath ((float) (x + 1), bottom);
        path.lineTo ((float) (x + 1), mapY (valueAt (1)));

        for (int i = 1; i < count; ++i)
            path.lineTo ((float) (x + 1 + (i * (w - 2)) / (count - 1)), mapY (valueAt (i)));

        path.lineTo ((float) (x + w - 1), bottom);
        path.closeSubPath();
        g.setColour (colour);
        g.fillPath (path);
    }

    /** A level of 0 at the inner bottom, 1 at the inner top, linear between. */
    static float LinearY (float level, juce::Rectangle<int> bounds)
    {
        const float inner = (float) (bounds.getHeight() - 2);
        return level * -inner + inner + (float) (bounds.getY() + 1);
    }

    /** The lines at levels 0.75 and 0.5, on pixel centres. */
    static void PaintReferenceLines (juce::Graphics& g, juce::Rectangle<int> bounds);

    /** One tick of an axis and its label, centred in a box one step to either side of it.
        xr is relative to the view's left edge; rowOffset is the label's height above the bottom
        edge; tickTop the tick's top above it. */
    static void DrawTick (juce::Graphics& g, juce::Rectangle<int> bounds, float xr, float step,
                          float rowOffset, float tickTop, int boxHeight, const char* text);

    /** Half away from zero, as every position and number on the axes is rounded. */
    static float Round (float value) { return std::round (value); }
};
