#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The maker's visual style for text buttons, labels and rotary sliders.

    It also resolves font families that are not installed (the design names "Arial" and
    "Helvetica", which Linux systems rarely have) to a metric-compatible installed face, keeping
    the style, so that text is drawn with real glyphs everywhere.

    Threads: message thread only.
*/
class OrvantaLookAndFeel : public juce::LookAndFeel_V4
{
public:
    OrvantaLookAndFeel();
    ~OrvantaLookAndFeel() override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    juce::Font getLabelFont (juce::Label& label) override;
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    /** Draws the scale steps of a rotary slider, raised (with a light shadow) or sunken. */
    void AddSteps (juce::Graphics& g, juce::Slider& slider, float startAngle, float endAngle, double radius,
                   double unit, double centreX, double centreY, double stepLength, bool raised);

    /** The box drawButtonText puts a button's text in. */
    juce::Rectangle<int> ButtonTextBox (juce::TextButton& button, bool down);

    /** The installed face that text in this font is drawn with. */
    static juce::Typeface::Ptr ResolveTypeface (const juce::Font& font);

    /** An installed family for the requested one: itself when installed, else a metric-compatible
        or at least a sans-serif face. */
    static juce::String InstalledFamilyFor (const juce::String& family);

    float buttonFontHeight = 16.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvantaLookAndFeel)
};
