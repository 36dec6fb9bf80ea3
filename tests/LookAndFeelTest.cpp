#include "maker/OrvantaLookAndFeel.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Bounds = juce::Rectangle<int>;

/** Pixels in a box at least as bright as a fraction of full white. */
int BrightPixels (const juce::Image& image, Bounds box, float brightness)
{
    int count = 0;
    for (int y = box.getY(); y < box.getBottom(); ++y)
        for (int x = box.getX(); x < box.getRight(); ++x)
            count += image.getPixelAt (x, y).getBrightness() >= brightness ? 1 : 0;
    return count;
}

/** Summed brightness in a box: how much ink the text put there. */
float Ink (const juce::Image& image, Bounds box)
{
    float ink = 0.0f;
    for (int y = box.getY(); y < box.getBottom(); ++y)
        for (int x = box.getX(); x < box.getRight(); ++x)
            ink += image.getPixelAt (x, y).getBrightness();
    return ink;
}

class LookAndFeel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        button.setLookAndFeel (&lookAndFeel);
        button.setBounds (0, 0, 80, 20);
        button.setButtonText ("Amplitude");
    }

    void TearDown() override { button.setLookAndFeel (nullptr); }

    juce::Image PaintButton (bool down)
    {
        juce::Image image (juce::Image::ARGB, 80, 20, true);
        juce::Graphics g (image);
        lookAndFeel.drawButtonBackground (g, button, juce::Colours::red, false, down);
        lookAndFeel.drawButtonText (g, button, false, down);
        return image;
    }

    OrvantaLookAndFeel lookAndFeel;
    juce::TextButton button;
};

TEST_F (LookAndFeel, ButtonTextBoxUpAndPressed)
{
    EXPECT_EQ (lookAndFeel.getTextButtonFont (button, 20).getHeight(), 16.0f);
    EXPECT_EQ (lookAndFeel.ButtonTextBox (button, false), Bounds (8, 5, 66, 8));
    EXPECT_EQ (lookAndFeel.ButtonTextBox (button, true), Bounds (10, 7, 66, 8));
}

TEST_F (LookAndFeel, ButtonFaceSinksWhilePressed)
{
    const auto up = PaintButton (false);
    EXPECT_EQ (up.getPixelAt (0, 0).getARGB(), 0xff484848u);
    EXPECT_EQ (up.getPixelAt (77, 17).getARGB(), 0xff484848u);
    EXPECT_EQ (up.getPixelAt (79, 19).getARGB(), 0xff000000u) << "a black edge right and below";
    EXPECT_EQ (up.getPixelAt (79, 0).getAlpha(), 0);

    const auto down = PaintButton (true);
    EXPECT_EQ (down.getPixelAt (0, 0).getAlpha(), 0);
    EXPECT_EQ (down.getPixelAt (1, 1).getARGB(), 0xff484848u);
    EXPECT_EQ (down.getPixelAt (79, 19).getARGB(), 0xff000000u);

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (PaintButton (false).getPixelAt (5, 5).getARGB(), 0xff808080u);

    button.setBounds (0, 0, 1, 20);
    EXPECT_EQ (button.getLocalBounds().withTrimmedLeft (2).getWidth(), 0) << "no shadow on a sliver";
}

TEST_F (LookAndFeel, ButtonTextIsDrawnInItsBoxInItsColour)
{
    struct Case
    {
        bool enabled;
        juce::uint8 grey;
    };

    for (const auto c : { Case { true, 0xb0 }, Case { false, 0xa0 } })
    {
        button.setEnabled (c.enabled);
        const auto image = PaintButton (false);
        const auto box = lookAndFeel.ButtonTextBox (button, false);

        int brightest = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x)
            {
                const auto p = image.getPixelAt (x, y);
                brightest = std::max (brightest, (int) p.getRed());
                if (p.getRed() > 0x60)
                {
                    EXPECT_TRUE (box.expanded (1, 4).contains (x, y)) << x << "," << y;
                }
            }

        EXPECT_EQ (brightest, c.grey) << "fully covered glyph pixels show the text colour";
        EXPECT_GT (BrightPixels (image, box.expanded (0, 4), 0.6f), 30);
    }
}

TEST_F (LookAndFeel, LabelFontAndSliderColour)
{
    juce::Label label;
    label.setFont (juce::Font ("Arial", 30.0f, juce::Font::bold));
    const auto font = lookAndFeel.getLabelFont (label);
    EXPECT_FLOAT_EQ (font.getHeight(), 12.8f);
    EXPECT_TRUE (font.isBold());
    EXPECT_EQ (lookAndFeel.findColour (juce::Slider::textBoxTextColourId).getARGB(), 0xffa0a0a0u);
}

struct SliderCase
{
    double interval;
    float fraction;
    bool marked;
};

TEST_F (LookAndFeel, RotarySliderDrawsKnobPointerAndSteps)
{
    const SliderCase cases[] {
        { 0.5, 0.5f, true }, { 0.5, 0.25f, false }, { 0.5, 1.0f, true },
        { 0.0, 0.3f, true }, { 0.0, 0.35f, false }, { 0.9, 0.1f, true },
    };

    for (const auto& c : cases)
    {
        juce::Slider slider (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox);
        slider.setRange (0.0, 1.0, c.interval);
        slider.setLookAndFeel (&lookAndFeel);

        juce::Image image (juce::Image::ARGB, 200, 200, true);
        {
            juce::Graphics g (image);
            g.fillAll (juce::Colour (0xff808080));
            lookAndFeel.drawRotarySlider (g, 0, 0, 200, 200, 0.5f, -2.5f, 2.5f, slider);
        }
        slider.setLookAndFeel (nullptr);

        // R = 80, centre (100, 106); the pointer at the middle of the range points straight up.
        EXPECT_EQ (image.getPixelAt (100, 106 - 40).getARGB(), 0xfff0f0f0u);
        const auto knob = image.getPixelAt (70, 106);
        EXPECT_GT (knob.getRed(), 0x70);
        EXPECT_LT (knob.getRed(), 0xa0);

        // A step sits 0.86 to 0.96 R from the centre at its fraction of the angle range.
        const float angle = -2.5f + c.fraction * 5.0f;
        const float radius = 0.91f * 80.0f;
        const auto mark = image.getPixelAt ((int) std::round (100.0f + radius * std::sin (angle) - 1.0f),
                                            (int) std::round (106.0f - radius * std::cos (angle)));
        EXPECT_EQ (mark.getRed() < 0x40, c.marked) << "interval " << c.interval << " at " << c.fraction;
    }
}

// Linux systems seldom have "Arial" or "Helvetica": text in those families must still come out
// as glyphs, bold heavier than regular.
TEST (Fonts, MissingFamiliesResolveToAnInstalledFaceKeepingTheirStyle)
{
    OrvantaLookAndFeel lookAndFeel;

    for (const auto& family :
         { juce::String ("Arial"), juce::String ("Helvetica"), juce::Font::getDefaultSansSerifFontName() })
    {
        const auto typeface = juce::Font (family, 20.0f, juce::Font::plain).getTypefacePtr();
        ASSERT_NE (typeface, nullptr);
        EXPECT_TRUE (juce::Font::findAllTypefaceNames().contains (typeface->getName())) << family;
        EXPECT_GT (typeface->getStringWidth ("Harsh"), 1.0f) << family;
    }

    auto inkOf = [] (int style)
    {
        juce::Image image (juce::Image::RGB, 200, 40, true);
        juce::Graphics g (image);
        g.setColour (juce::Colours::white);
        g.setFont (juce::Font ("Arial", 10.105f, style));
        g.drawFittedText ("125 Hz 2.7k 17.5k", 0, 0, 200, 40, juce::Justification::centred, 1);
        return Ink (image, { 0, 0, 200, 40 });
    };

    const float regular = inkOf (juce::Font::plain);
    const float bold = inkOf (juce::Font::bold);
    EXPECT_GT (regular, 20.0f);
    EXPECT_GT (bold, regular * 1.15f);
}

TEST (Fonts, EditorTextIsDrawnWithGlyphs)
{
    OrvantaZeltoMeterAudioProcessor processor;
    processor.setRateAndBufferSizeDetails (48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    const auto image = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);

    EXPECT_GT (BrightPixels (image, { 649, 3, 46, 10 }, 0.8f), 15) << "\"Harsh\" label";
    EXPECT_GT (BrightPixels (image, { 90, 425, 74, 18 }, 0.55f), 10) << "\"Low\" button";
    EXPECT_GT (BrightPixels (image, { 598, 106, 43, 11 }, 0.5f), 8) << "\"0 dB\" on the main scale";
    EXPECT_GT (BrightPixels (image, { 598, 410, 43, 11 }, 0.5f), 8) << "\"-inf\" on the main scale";

    processor.editorBeingDeleted (editor.get());
}
} // namespace
