#include "Signals.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
using Bounds = juce::Rectangle<int>;

class Editor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor.setRateAndBufferSizeDetails (48000.0, 512);
        processor.prepareToPlay (48000.0, 512);
        editor.reset (dynamic_cast<OrvantaZeltoMeterAudioProcessorEditor*> (processor.createEditor()));
        ASSERT_NE (editor, nullptr);
    }

    void TearDown() override
    {
        processor.editorBeingDeleted (editor.get());
        editor.reset();
    }

    juce::Image Snapshot() { return editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f); }

    OrvantaZeltoMeterAudioProcessor processor;
    std::unique_ptr<OrvantaZeltoMeterAudioProcessorEditor> editor;
};

TEST_F (Editor, OpensAt700By450WithinItsLimits)
{
    EXPECT_EQ (editor->getWidth(), 700);
    EXPECT_EQ (editor->getHeight(), 450);
    EXPECT_TRUE (editor->isResizable());
    ASSERT_NE (editor->getConstrainer(), nullptr);
    EXPECT_EQ (editor->getConstrainer()->getMinimumWidth(), 300);
    EXPECT_EQ (editor->getConstrainer()->getMinimumHeight(), 200);
    EXPECT_EQ (editor->getConstrainer()->getMaximumWidth(), 8192);
    EXPECT_EQ (editor->getConstrainer()->getMaximumHeight(), 8192);
    EXPECT_EQ (&editor->getLookAndFeel() == &juce::LookAndFeel::getDefaultLookAndFeel(), false);
}

TEST_F (Editor, LayoutAtThreeSizes)
{
    struct Case
    {
        int width, height;
        Bounds main, harsh, sub, firstButton;
        float meterWidth;
    };

    const Case cases[] {
        { 700,
          450,
          { 598, 5, 46, 415 },
          { 649, 15, 46, 187 },
          { 649, 222, 46, 197 },
          { 5, 425, 80, 20 },
          46.0f },
        { 300,
          200,
          { 230, 5, 30, 165 },
          { 265, 15, 30, 62 },
          { 265, 97, 30, 72 },
          { 5, 175, 80, 20 },
          30.0f },
        { 1000,
          600,
          { 880, 5, 55, 565 },
          { 940, 15, 55, 262 },
          { 940, 297, 55, 272 },
          { 5, 575, 80, 20 },
          55.0f },
        { 8192, 8192, {}, {}, {}, { 5, 8167, 80, 20 }, 157.0f },
    };

    auto& engine = processor.engine;

    for (const auto& c : cases)
    {
        editor->setSize (c.width, c.height);
        EXPECT_EQ (engine.getBounds(), Bounds (0, 0, c.width, c.height));
        EXPECT_EQ (engine.meterWidth, c.meterWidth) << c.width;

        if (! c.main.isEmpty())
        {
            EXPECT_EQ (engine.mainMeter.getBounds(), c.main) << c.width;
            EXPECT_EQ (engine.harshMeter.getBounds(), c.harsh) << c.width;
            EXPECT_EQ (engine.subMeter.getBounds(), c.sub) << c.width;
        }

        for (int i = 0; i < ZeltoMeter::numModes; ++i)
            EXPECT_EQ (engine.modeButtons[i].getBounds(), c.firstButton.translated (80 * i, 0)) << c.width;
    }
}

TEST_F (Editor, RefreshRunsAtMostEvery13Milliseconds)
{
    auto& engine = processor.engine;
    const std::int64_t t0 = 5000000000;

    editor->Refresh (t0);
    EXPECT_EQ (engine.refreshParity, 1);
    editor->Refresh (t0 + 8300000);
    EXPECT_EQ (engine.refreshParity, 1) << "8.3 ms later nothing happens";
    editor->Refresh (t0 + 12999999);
    EXPECT_EQ (engine.refreshParity, 1);
    editor->Refresh (t0 + 13000000);
    EXPECT_EQ (engine.refreshParity, 0);
}

TEST_F (Editor, RefreshTurnsAccumulatorsIntoDisplayValues)
{
    processor.engine.mainMeter.Accumulate (0.5f, 0.25f);
    editor->Refresh (1000000000);
    EXPECT_FLOAT_EQ (processor.engine.mainMeter.peakDisplay[0], std::pow (0.5f, 0.3f));
    EXPECT_FLOAT_EQ (processor.engine.mainMeter.peakDisplay[1], std::pow (0.25f, 0.3f));
    EXPECT_EQ (processor.engine.mainMeter.peakSinceRefresh[0].load(), 0.0f);
}

TEST_F (Editor, PaintsBackgroundLabelsAndMeters)
{
    auto& engine = processor.engine;
    for (int i = 0; i < 100; ++i)
        engine.mainMeter.Accumulate (0.5f, 0.5f);
    editor->Refresh (1000000000);

    const auto image = Snapshot();
    EXPECT_EQ (image.getPixelAt (550, 440).getARGB(), 0xff606060u) << "background right of the buttons";
    EXPECT_EQ (image.getPixelAt (600, 8).getARGB(), 0xff000000u) << "top of the main meter";

    // A peak of 0.5 reaches 0.5^0.3 of the scale; the RMS level is still low, so the band
    // between them is the lighter one and the solid bar stands below it.
    const int peakRow = (int) (419.0f - std::pow (0.5f, 0.3f) * 413.0f * ZeltoMeter::mainParameters.topScale);
    EXPECT_EQ (image.getPixelAt (600, peakRow + 3).getARGB(), 0xff587000u);
    EXPECT_EQ (image.getPixelAt (600, 417).getARGB(), 0xff709800u);

    auto whitePixels = [&image] (Bounds box)
    {
        int count = 0;
        for (int y = box.getY(); y < box.getBottom(); ++y)
            for (int x = box.getX(); x < box.getRight(); ++x)
                count += image.getPixelAt (x, y).getBrightness() > 0.8f ? 1 : 0;
        return count;
    };

    EXPECT_GT (whitePixels ({ 649, 3, 46, 10 }), 15) << "\"Harsh\"";
    EXPECT_GT (whitePixels ({ 649, 210, 46, 10 }), 10) << "\"Sub\"";
    EXPECT_EQ (whitePixels ({ 600, 440, 40, 10 }), 0);
}

TEST_F (Editor, BeforeConfigurationOnlyTheBackgroundAndLabelsShow)
{
    OrvantaZeltoMeterAudioProcessor fresh;
    std::unique_ptr<juce::AudioProcessorEditor> other (fresh.createEditor());
    const auto image = other->createComponentSnapshot (other->getLocalBounds(), true, 1.0f);
    EXPECT_EQ (image.getPixelAt (600, 8).getARGB(), 0xff606060u);
    EXPECT_EQ (image.getPixelAt (620, 300).getARGB(), 0xff606060u);
    fresh.editorBeingDeleted (other.get());
}

TEST_F (Editor, ModeButtonsSwitchTheMode)
{
    auto& engine = processor.engine;
    auto enabledStates = [&engine]
    {
        juce::String states;
        for (auto& button : engine.modeButtons)
            states << (button.isEnabled() ? "1" : "0");
        return states;
    };

    EXPECT_EQ (engine.analysisMode.load(), 0);
    EXPECT_EQ (enabledStates(), "011111");
    for (int i = 0; i < ZeltoMeter::numModes; ++i)
        EXPECT_EQ (engine.modeButtons[i].getButtonText(), ZeltoMeter::modeNames[i]);

    engine.buttonClicked (&engine.modeButtons[1]);
    EXPECT_EQ (engine.analysisMode.load(), 1);
    EXPECT_EQ (enabledStates(), "101111");

    engine.buttonClicked (&engine.modeButtons[4]);
    EXPECT_EQ (engine.analysisMode.load(), 4);
    EXPECT_EQ (enabledStates(), "111101");
    EXPECT_EQ (engine.engineRate.load(), 48000) << "a click reconfigures at the engine's rate";
}

TEST_F (Editor, TheEngineKeepsItsStateAcrossEditors)
{
    auto& engine = processor.engine;
    engine.buttonClicked (&engine.modeButtons[4]);
    engine.mainMeter.Accumulate (1.0f, 1.0f);
    editor->Refresh (1000000000);

    processor.editorBeingDeleted (editor.get());
    editor.reset();
    EXPECT_FALSE (processor.editorOpen.load());

    editor.reset (dynamic_cast<OrvantaZeltoMeterAudioProcessorEditor*> (processor.createEditor()));
    EXPECT_EQ (engine.analysisMode.load(), 4);
    EXPECT_FALSE (engine.modeButtons[4].isEnabled());
    EXPECT_EQ (engine.mainMeter.heldPeak[0], 1.0f);
    EXPECT_EQ (engine.getParentComponent(), editor.get());
}
} // namespace
