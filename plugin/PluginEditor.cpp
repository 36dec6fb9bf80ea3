#include "PluginEditor.h"

#include <chrono>
#include <cmath>

OrvantaZeltoMeterAudioProcessorEditor::OrvantaZeltoMeterAudioProcessorEditor (
    OrvantaZeltoMeterAudioProcessor& owner)
    : AudioProcessorEditor (owner)
    , meterProcessor (owner)
    , vBlankAttachment (this, [this] { Refresh (SteadyNanoseconds()); })
{
    setLookAndFeel (&lookAndFeel);
    setResizable (true, true);
    setSize (700, 450);
    setResizeLimits (300, 200, 8192, 8192);

    meterProcessor.engine.setVisible (true);
    addChildComponent (meterProcessor.engine);
}

OrvantaZeltoMeterAudioProcessorEditor::~OrvantaZeltoMeterAudioProcessorEditor()
{
    meterProcessor.editorOpen.store (false);
    setLookAndFeel (nullptr);
}

std::int64_t OrvantaZeltoMeterAudioProcessorEditor::SteadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds> (
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void OrvantaZeltoMeterAudioProcessorEditor::Refresh (std::int64_t nowNanoseconds)
{
    if (nowNanoseconds - lastRefreshTime < minimumRefreshInterval)
        return;

    lastRefreshTime = nowNanoseconds;
    meterProcessor.engine.Refresh();

    // The meters and views are not components on screen: this one repaint shows the new frame.
    repaint();
}

void OrvantaZeltoMeterAudioProcessorEditor::resized()
{
    auto& engine = meterProcessor.engine;
    engine.setBounds (getLocalBounds());

    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    engine.layoutWidth = width;
    engine.viewHeight = height - engine.buttonHeight - engine.margin;
    engine.halfViewHeight = 0.5f * engine.viewHeight;
    engine.meterWidth = std::round (std::sqrt (3.0f * width));

    const float margin = engine.margin;
    const float meterWidth = engine.meterWidth;
    const float meterColumn = engine.layoutWidth - meterWidth - margin;

    auto place = [] (juce::Component& component, float x, float y, float w, float h)
    { component.setBounds ((int) x, (int) y, (int) w, (int) h); };

    engine.SetViewBounds ({ (int) margin, (int) margin,
                            (int) (engine.layoutWidth - 2.0f * (meterWidth + margin) - 2.0f * margin),
                            (int) (engine.viewHeight - 2.0f * margin) });
    place (engine.mainMeter, engine.layoutWidth - 2.0f * (meterWidth + margin), margin, meterWidth,
           engine.viewHeight - 2.0f * margin);
    place (engine.harshMeter, meterColumn, margin + engine.labelHeight, meterWidth,
           engine.halfViewHeight - 3.0f * margin - engine.labelHeight);
    place (engine.subMeter, meterColumn, engine.halfViewHeight + engine.labelHeight, meterWidth,
           engine.halfViewHeight - margin - engine.labelHeight);

    float buttonX = margin;

    for (auto& button : engine.modeButtons)
    {
        place (button, buttonX, engine.viewHeight, 80.0f, engine.buttonHeight);
        buttonX += 80.0f;
    }
}

void OrvantaZeltoMeterAudioProcessorEditor::paint (juce::Graphics& g)
{
    if (! layoutDone)
    {
        layoutDone = true;
        resized();
    }

    auto& engine = meterProcessor.engine;
    g.fillAll (juce::Colour (0xff606060));

    g.setFont (engine.labelHeight + 2.5f);
    g.setColour (juce::Colour (0xffffffff));

    const int labelX = (int) (engine.layoutWidth - engine.meterWidth - engine.margin);
    const int labelWidth = (int) engine.meterWidth;
    const int labelHeight = (int) engine.labelHeight;
    g.drawFittedText ("Harsh", labelX, (int) (engine.margin - 2.0f), labelWidth, labelHeight,
                      juce::Justification::centred, 0);
    g.drawFittedText ("Sub", labelX, (int) (engine.halfViewHeight - 2.0f), labelWidth, labelHeight,
                      juce::Justification::centred, 0);

    engine.PaintMeasurements (g);
}
