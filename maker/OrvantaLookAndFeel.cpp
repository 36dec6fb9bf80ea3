#include "OrvantaLookAndFeel.h"

#include <algorithm>
#include <cmath>

namespace juce
{
// Every font's typeface is looked up through this hook, which JUCE points at the default look
// and feel; it is redirected here so that missing families resolve for all text.
using GetTypefaceForFont = Typeface::Ptr (*) (const Font&);
extern GetTypefaceForFont juce_getTypefaceForFont;
} // namespace juce

namespace
{
juce::Typeface::Ptr ResolveThroughDefault (const juce::Font& font)
{
    return OrvantaLookAndFeel::ResolveTypeface (font);
}

int RoundHalfAway (float value) { return (int) std::lround (value); }
} // namespace

OrvantaLookAndFeel::OrvantaLookAndFeel()
{
    buttonFontHeight = 16.0f;
    setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xffa0a0a0));
    juce::LookAndFeel::getDefaultLookAndFeel().setDefaultSansSerifTypefaceName ("Helvetica");

    // Constructing any look and feel resets the hook, so it is set again after ours exists.
    juce::juce_getTypefaceForFont = ResolveThroughDefault;
}

OrvantaLookAndFeel::~OrvantaLookAndFeel() = default;

juce::String OrvantaLookAndFeel::InstalledFamilyFor (const juce::String& family)
{
    static const juce::StringArray installed = juce::Font::findAllTypefaceNames();

    if (installed.contains (family))
        return family;

    // Liberation Sans has the metrics of the two families the design names.
    for (const auto* candidate : { "Liberation Sans", "Arimo", "DejaVu Sans", "FreeSans", "Noto Sans" })
        if (installed.contains (candidate))
            return candidate;

    return installed.isEmpty() ? family : installed[0];
}

juce::Typeface::Ptr OrvantaLookAndFeel::ResolveTypeface (const juce::Font& font)
{
    // The default look and feel resolves the placeholder names ("<Sans-Serif>") to the family
    // it was given; what it returns carries the family it asked for. The base implementation is
    // called directly so that a default look and feel of this class cannot recurse.
    auto typeface = juce::LookAndFeel::getDefaultLookAndFeel().LookAndFeel::getTypefaceForFont (font);
    const auto family = typeface != nullptr ? typeface->getName() : font.getTypefaceName();
    const auto installedFamily = InstalledFamilyFor (family);

    if (typeface != nullptr && installedFamily == family)
        return typeface;

    juce::Font substitute (font);
    substitute.setTypefaceName (installedFamily);

    const auto styles = juce::Font::findAllTypefaceStyles (installedFamily);

    if (! styles.contains (font.getTypefaceStyle()))
        substitute.setTypefaceStyle (styles.contains ("Regular") ? juce::String ("Regular") : styles[0]);

    return juce::Typeface::createSystemTypefaceFor (substitute);
}

juce::Typeface::Ptr OrvantaLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    return ResolveTypeface (font);
}

void OrvantaLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool, bool shouldDrawButtonAsDown)
{
    const auto shadow = button.getLocalBounds().withTrimmedLeft (2).withTrimmedTop (2);
    g.setColour (juce::Colours::black);
    g.fillRect (shadow);

    const int lift = shouldDrawButtonAsDown ? 1 : 2;
    g.setColour (juce::Colour (button.getToggleState() ? 0xff808080 : 0xff484848));
    g.fillRect (shadow.translated (-lift, -lift));
}

juce::Font OrvantaLookAndFeel::getTextButtonFont (juce::TextButton&, int)
{
    return juce::Font (buttonFontHeight);
}

juce::Rectangle<int> OrvantaLookAndFeel::ButtonTextBox (juce::TextButton& button, bool down)
{
    const int w = button.getWidth();
    const int h = button.getHeight();
    const auto font = getTextButtonFont (button, h);

    const int fontPixels = RoundHalfAway (font.getHeight() * 0.6f);
    const int cornerSize = std::min (w, h) / 2;
    const int leftIndent = std::min (fontPixels, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent = std::min (fontPixels, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const int yIndent = std::min (4, RoundHalfAway ((float) h * 0.3f));
    const int shift = down ? 2 : 0;

    return { leftIndent + 1 + shift, yIndent + 1 + shift, w - leftIndent - rightIndent, h - 2 * yIndent - 4 };
}

void OrvantaLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool,
                                         bool shouldDrawButtonAsDown)
{
    g.setFont (getTextButtonFont (button, button.getHeight()));

    const auto colour = ! button.isEnabled() ? 0xffa0a0a0 : button.getToggleState() ? 0xffffffff : 0xffb0b0b0;
    g.setColour (juce::Colour (colour));

    const auto box = ButtonTextBox (button, shouldDrawButtonAsDown);

    if (box.getWidth() > 0)
        g.drawFittedText (button.getButtonText(), box, juce::Justification::centred, 2);
}

juce::Font OrvantaLookAndFeel::getLabelFont (juce::Label& label)
{
    return label.getFont().withHeight (buttonFontHeight * 0.8f);
}

void OrvantaLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                                           juce::Slider& slider)
{
    const double radius = std::min (0.4 * width, 0.4 * height);
    const double unit = 0.04 * radius;
    const double cx = x + 0.5 * width;
    const double cy = y + 0.5 * height + 6.0;
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const auto centre = juce::Point<float> ((float) cx, (float) cy);

    AddSteps (g, slider, rotaryStartAngle, rotaryEndAngle, radius, unit, cx, cy, (float) (0.1 * radius),
              true);
    AddSteps (g, slider, rotaryStartAngle, rotaryEndAngle, radius, unit, cx, cy, (float) (0.1 * radius),
              false);

    auto circle = [&centre] (double diameter)
    {
        juce::Path path;
        path.addEllipse (juce::Rectangle<float> ((float) diameter, (float) diameter).withCentre (centre));
        return path;
    };

    const auto ring = circle (2.04 * radius);
    g.setColour (juce::Colour (0xff000000));
    g.strokePath (ring, juce::PathStrokeType ((float) (0.5 * unit), juce::PathStrokeType::mitered,
                                              juce::PathStrokeType::butt));
    juce::DropShadow (juce::Colour (0x50000000), std::max ((int) (0.5 * unit), 1), { 0, -(int) unit })
        .drawForPath (g, ring);

    const auto knob = circle (1.6 * radius);
    juce::DropShadow (juce::Colour (0xff000000), std::max ((int) unit, 1), { 0, (int) unit })
        .drawForPath (g, knob);
    g.setColour (juce::Colour (0xffffffff));
    g.fillPath (knob, juce::AffineTransform::translation (0.0f, -1.0f));
    g.setColour (juce::Colour (0xff000000));
    g.fillPath (knob, juce::AffineTransform::translation (0.0f, 1.0f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffa0a0a0), (float) cx,
                                             (float) (cy - 0.6 * radius), juce::Colour (0xff707070),
                                             (float) cx, (float) (cy + radius + 0.1), true));
    g.fillPath (knob);

    juce::Path pointer;
    pointer.addRectangle ((float) (-1.5 * unit), (float) (2.0 * unit - 0.8 * radius), (float) (3.0 * unit),
                          (float) (0.4 * radius));
    pointer.applyTransform (juce::AffineTransform::rotation (angle).translated ((float) cx, (float) cy));
    juce::DropShadow (juce::Colour (0xff000000), std::max ((int) (0.5 * unit), 1), { 0, (int) unit })
        .drawForPath (g, pointer);
    g.setColour (juce::Colour (0xfff0f0f0));
    g.fillPath (pointer);
}

void OrvantaLookAndFeel::AddSteps (juce::Graphics& g, juce::Slider& slider, float startAngle, float endAngle,
                                   double radius, double unit, double centreX, double centreY,
                                   double stepLength, bool raised)
{
    float step = (float) (slider.getInterval() / (slider.getMaximum() - slider.getMinimum()));

    // Steps too coarse or too fine to read (a continuous slider's interval is 0) become tenths.
    if (step > 0.79f || step < 0.019f)
        step = 0.1f;

    const double width = raised ? 0.707 * unit : 0.4 * unit;
    const double inner = -(radius - unit);

    for (float e = 0.0f; e <= 1.01f; e += step)
    {
        juce::Path mark;
        mark.addRectangle ((float) -width, (float) inner, (float) width, (float) stepLength);
        mark.applyTransform (juce::AffineTransform::rotation (startAngle + e * (endAngle - startAngle))
                                 .translated ((float) centreX, (float) centreY));

        if (raised)
        {
            juce::DropShadow (juce::Colour (0x40ffffff), std::max ((int) (0.1 * unit), 1),
                              { 0, (int) (0.25 * unit) })
                .drawForPath (g, mark);
            g.setColour (juce::Colour (0xff000000));
        }
        else
        {
            g.setColour (juce::Colour (0x50000000));
        }

        g.fillPath (mark);
    }
}
