#include "ViewPainter.h"

void ViewPainter::PaintBackground (juce::Graphics& g, juce::Rectangle<int> bounds)
{
    g.setColour (juce::Colour (0xff000000));
    g.drawRect (bounds.toFloat(), 1.0f);
    g.setColour (juce::Colour (0xff000000));
    g.fillRect (bounds.reduced (1));
}

void ViewPainter::PaintReferenceLines (juce::Graphics& g, juce::Rectangle<int> bounds)
{
    const float inner = (float) (bounds.getHeight() - 2);
    const float top = (float) (bounds.getY() + 1);
    const float left = (float) (bounds.getX() + 1);
    const float right = (float) (bounds.getRight() - 1);

    const float quarter = (float) (int) (0.25f * inner) + 0.5f + top;
    g.setColour (juce::Colour (0x80ff4000));
    g.drawLine (left, quarter, right, quarter);

    const float half = (float) (int) (0.5f * inner) + 0.5f + top;
    g.setColour (juce::Colour (0x40ffa000));
    g.drawLine (left, half, right, half);
}

void ViewPainter::DrawTick (juce::Graphics& g, juce::Rectangle<int> bounds, float xr, float step,
                            float rowOffset, float tickTop, int boxHeight, const char* text)
{
    const float x = (float) bounds.getX();
    const float base = (float) (bounds.getY() + bounds.getHeight());
    const float tickX = Round (xr + x) + 0.5f;

    g.setColour (juce::Colour (0x20ffffff));
    g.drawLine (tickX, base - tickTop, tickX, base - rowOffset - 2.0f);

    g.setColour (juce::Colour (0x80ffffff));
    g.drawFittedText (text, (int) (xr + x - step + 4.0f), (int) (base - rowOffset), (int) (2.0f * step),
                      boxHeight, juce::Justification::centred, 1);
}
