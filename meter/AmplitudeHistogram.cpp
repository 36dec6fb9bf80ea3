#include "AmplitudeHistogram.h"

#include "meter/ViewPainter.h"

AmplitudeHistogram::AmplitudeHistogram() = default;

AmplitudeHistogram::~AmplitudeHistogram() = default;

void AmplitudeHistogram::Configure (int hold)
{
    holdFrames.store (hold);

    for (auto& bin : bins)
        bin.store (0.0f, std::memory_order_relaxed);

    peakResetPending.store (true, std::memory_order_release);
}

void AmplitudeHistogram::Refresh()
{
    if (peakResetPending.exchange (false, std::memory_order_acquire))
        for (auto& point : peakMemory)
            point.Reset();

    const int hold = holdFrames.load (std::memory_order_relaxed);

    for (int i = 0; i < numBins; ++i)
    {
        const float value = bins[i].load (std::memory_order_relaxed);
        peakMemory[i].Update (value, hold);
        bins[i].store (value * 0.99f, std::memory_order_relaxed);
    }
}

void AmplitudeHistogram::Draw (juce::Graphics& g)
{
    const auto bounds = getBounds();
    ViewPainter::PaintBackground (g, bounds);

    const float inner = (float) (bounds.getHeight() - 2);
    const float top = (float) (bounds.getY() + 1);
    auto y = [inner, top] (float value) { return std::pow (value, 0.333333f) * -inner + inner + top; };

    ViewPainter::FillCurve (
        g, bounds, numBins, juce::Colour (0xff003020), [this] (int i) { return peakMemory[i].peak; }, y);
    ViewPainter::FillCurve (
        g, bounds, numBins, juce::Colour (0xff609000),
        [this] (int i) { return bins[i].load (std::memory_order_relaxed); }, y);

    g.setFont (juce::Font ("Arial", 9.46f, juce::Font::bold));
    ForEachAxisLabel (
        bounds.getWidth(), [&] (float position, float step, const char* text, bool upper)
        { ViewPainter::DrawTick (g, bounds, position, step, upper ? 18.92f : 9.46f, 37.84f, 9, text); });
}
