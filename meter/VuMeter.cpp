#include "VuMeter.h"

#include <algorithm>
#include <cstdio>

namespace
{
float Clamp (float value, float low, float high) { return std::min (std::max (value, low), high); }
} // namespace

VuMeter::VuMeter() = default;

VuMeter::~VuMeter() = default;

void VuMeter::Configure (const Parameters& parameters, float sampleRate)
{
    inputWeight.store (parameters.k / sampleRate);
    memoryWeight.store (1.0f - parameters.k / sampleRate);
    holdLength.store (parameters.holdLength);
    falloff.store (parameters.falloff);
    power.store (parameters.power);
    topDb.store (parameters.topDb);
    topScale.store (parameters.topScale);
    configured.store (true);
}

void VuMeter::Refresh()
{
    const float displayPower = power.load (std::memory_order_relaxed);
    const float fall = falloff.load (std::memory_order_relaxed);
    const int hold = holdLength.load (std::memory_order_relaxed);

    float p[2];

    for (int ch = 0; ch < 2; ++ch)
        p[ch] = std::pow (peakSinceRefresh[ch].exchange (0.0f, std::memory_order_relaxed), displayPower);

    for (int ch = 0; ch < 2; ++ch)
    {
        peakDisplay[ch] = std::max (p[ch], std::max (peakDisplay[ch] - fall, 0.0f));

        if (p[ch] >= heldPeak[ch])
        {
            heldPeak[ch] = p[ch];
            holdCount[ch] = hold;
        }
        else if (holdCount[ch] > 0 && --holdCount[ch] == 0)
        {
            heldPeak[ch] = std::max (p[ch], 0.0f);
        }
    }

    const float held = std::max (heldPeak[1], heldPeak[0]);
    heldPeakDb = held > 0.0f
                     ? (float) (20.0 * std::log10 (std::pow ((double) held, 1.0 / (double) displayPower)))
                     : -1000.0f;

    // The factor 2 makes a sine's RMS reading equal its peak reading.
    for (int ch = 0; ch < 2; ++ch)
        rmsDisplay[ch] =
            std::pow (std::sqrt (2.0f * meanSquare[ch].load (std::memory_order_relaxed)), displayPower);
}

void VuMeter::Paint (juce::Graphics& g)
{
    const int x = getX();
    const int y = getY();
    const int w = getWidth();
    const int h = getHeight();

    if (w < 2 || h < 3 || ! configured.load())
        return;

    g.setColour (juce::Colour (0xff000000));
    g.fillRect (x, y, w, h);

    const float inner = (float) (h - 2);
    const float bottom = (float) ((y + h) - 1);
    const float scale = topScale.load (std::memory_order_relaxed);

    PaintBars (g, inner, bottom, scale);

    g.setFont (11.0f);
    g.setColour (juce::Colour (0xffffffff));
    const float labelBase = bottom - 9.0f;
    const int baseline = (int) labelBase;
    const float scaleHeight = inner - 5.5f;

    ForEachScaleLabel (inner, scaleHeight,
                       [&] (float dB) { DrawLabelDb (g, dB, x, baseline, scaleHeight, (float) (w - 1)); });

    float heldValue = 0.0f;
    bool anyHeldLine = false;

    for (const float held : heldPeak)
    {
        if ((double) held > 0.1)
        {
            heldValue = anyHeldLine ? std::max (heldValue, held) : held;
            anyHeldLine = true;
        }
    }

    if (anyHeldLine)
        PaintReadout (g, heldValue, labelBase, scaleHeight, scale);
}

void VuMeter::PaintBars (juce::Graphics& g, float inner, float bottom, float scale)
{
    const int w = getWidth();
    const float barWidth = std::floor (0.5f * (float) (w - 1) - 1.0f);
    const float left[2] = { (float) getX() + 1.0f, (float) getX() + barWidth + 2.0f };
    const float width[2] = { barWidth, w % 2 == 0 ? barWidth + 1.0f : barWidth };

    auto height = [&] (float v) { return Clamp (v * inner * scale, 0.0f, inner); };

    float solidTop[2];

    for (int ch = 0; ch < 2; ++ch)
    {
        const float yRms = bottom - height (rmsDisplay[ch]);
        const float yPeak = bottom - height (peakDisplay[ch]);

        // A band above the solid bar: darker when the RMS level stands above the peak level.
        if (yPeak > yRms)
        {
            g.setColour (juce::Colour (0xff183000));
            g.fillRect (juce::Rectangle<float> (left[ch], yRms, width[ch], yPeak - yRms));
        }
        else
        {
            g.setColour (juce::Colour (0xff587000));
            g.fillRect (juce::Rectangle<float> (left[ch], yPeak, width[ch], yRms - yPeak));
        }

        solidTop[ch] = std::max (yRms, yPeak);
    }

    g.setColour (juce::Colour (0xff709800));

    for (int ch = 0; ch < 2; ++ch)
        g.fillRect (juce::Rectangle<float> (left[ch], solidTop[ch], width[ch], bottom - solidTop[ch]));

    g.setColour (juce::Colour (0xffff4000));

    for (int ch = 0; ch < 2; ++ch)
    {
        if ((double) heldPeak[ch] > 0.1)
        {
            const float lineHeight = Clamp ((inner - 2.0f) * heldPeak[ch] * scale + 2.0f, 0.0f, inner);
            g.fillRect (juce::Rectangle<float> (left[ch], bottom - lineHeight, width[ch], 2.0f));
        }
    }
}

void VuMeter::PaintReadout (juce::Graphics& g, float heldValue, float labelBase, float scaleHeight,
                            float scale)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%+.2f dB", (double) heldPeakDb);

    const float riding =
        labelBase - Clamp (heldValue * scaleHeight * scale, 0.0f, scaleHeight) - 11.0f + 3.0f;
    const int top = std::max (getY() + 3, (int) riding);

    g.setColour (juce::Colour (heldPeakDb < 0.0f ? 0xffbbff00 : 0xffff3010));
    g.drawFittedText (text, getX() + 2, top, getWidth() - 3, 11, juce::Justification::left, 1);
}

int VuMeter::LabelTop (float dB, int baseline, float scaleHeight) const
{
    const float amplitude = std::pow (10.0f, dB / 20.0f);
    const float level = std::pow (amplitude, power.load (std::memory_order_relaxed)) * scaleHeight
                        * topScale.load (std::memory_order_relaxed);
    return (int) ((float) baseline - Clamp (level, 0.0f, scaleHeight));
}

void VuMeter::DrawLabelDb (juce::Graphics& g, float dB, int x, int baseline, float scaleHeight, float width)
{
    char text[32];

    if (dB < -1000.0f)
        std::snprintf (text, sizeof (text), "-inf");
    else if (std::abs (dB) < 0.0001f)
        std::snprintf (text, sizeof (text), "0 dB");
    else
        std::snprintf (text, sizeof (text), "%+.0f dB", (double) dB);

    g.drawFittedText (text, x, LabelTop (dB, baseline, scaleHeight), (int) (width - 2.0f), 11,
                      juce::Justification::right, 1);
}
