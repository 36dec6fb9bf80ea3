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
    PaintWithScale (g, [] (int width, float lowest, float highest, auto&& drawTick)
                    { ForEachAxisLabel (width, lowest, highest, drawTick); });
}
