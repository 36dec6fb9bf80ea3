#include "BpmCountView.h"

BpmCountView::BpmCountView() = default;

BpmCountView::~BpmCountView() = default;

void BpmCountView::AnalyseFrame()
{
    const juce::ScopedLock lock (frameLock);
    TransformFrame();
    frameReady.store (false, std::memory_order_release);
}

void BpmCountView::Draw (juce::Graphics& g)
{
    const auto range = ReadRange();

    if (! range.drawable)
        return;

    PaintCurves (g);
    g.setFont (juce::Font ("Arial", 10.105f, juce::Font::bold));

    const auto bounds = getBounds();
    ForEachAxisLabel (bounds.getWidth(), range.minFrequency, range.maxFrequency,
                      [&] (float xr, float step, int beatsPerMinute, bool upper)
                      {
                          const auto text = juce::String (beatsPerMinute);
                          ViewPainter::DrawTick (g, bounds, xr, step, upper ? 20.21f : 10.105f, 40.42f, 10,
                                                 text.toRawUTF8());
                      });
}
