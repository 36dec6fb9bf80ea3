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
    const auto range = ReadRange();

    if (! range.drawable)
        return;

    PaintCurves (g);
    g.setFont (juce::Font ("Arial", 10.105f, juce::Font::bold));

    const auto bounds = getBounds();
    ForEachScaleLabel (bounds.getWidth(), range.minFrequency, range.maxFrequency,
                       [&] (float xr, float step, const juce::String& text, bool upper) {
                           ViewPainter::DrawTick (g, bounds, xr, step, upper ? 20.21f : 10.105f, 40.42f, 10,
                                                  text.toRawUTF8());
                       });
}
