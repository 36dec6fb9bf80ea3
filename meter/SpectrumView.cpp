#include "SpectrumView.h"

#include <cstdio>

SpectrumView::SpectrumView() = default;

SpectrumView::~SpectrumView() = default;

void SpectrumView::drawNextFrameOfSpectrum() { TransformFrame(); }

juce::String SpectrumView::LabelText (double frequency)
{
    char text[32];

    if (frequency < 3.0)
        std::snprintf (text, sizeof (text), "%.2f Hz", frequency);
    else if (frequency < 30.0)
        std::snprintf (text, sizeof (text), "%.1f Hz", frequency);
    else if (frequency <= 1000.0)
        std::snprintf (text, sizeof (text), "%.0f Hz", frequency);
    else if (frequency <= 19000.0)
        std::snprintf (text, sizeof (text), "%.1fk", frequency / 1000.0);
    else
        std::snprintf (text, sizeof (text), "%.0fk", frequency / 1000.0);

    return text;
}

void SpectrumView::Paint (juce::Graphics& g)
{
    PaintWithScale (g, [] (int width, float lowest, float highest, auto&& drawTick)
                    { ForEachScaleLabel (width, lowest, highest, drawTick); });
}
