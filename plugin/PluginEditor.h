#pragma once

#include "PluginProcessor.h"
#include "maker/OrvantaLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>

/** The plug-in's window. It owns nothing of the measurement: it shows the processor's engine
    component, lays out the engine's meters, views and buttons, refreshes the displays at each
    vertical blank (at most every 13 ms) and paints everything but the buttons.

    Threads: everything here runs on the message thread.
*/
class OrvantaZeltoMeterAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    /** Refreshes closer together than this are skipped, whatever the display's rate. */
    static constexpr std::int64_t minimumRefreshInterval = 13000000;

    explicit OrvantaZeltoMeterAudioProcessorEditor (OrvantaZeltoMeterAudioProcessor& owner);
    ~OrvantaZeltoMeterAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The vertical-blank callback, with the time in nanoseconds of a steady clock. Tests and
        offline renderers pass their own clock. */
    void Refresh (std::int64_t nowNanoseconds);

    static std::int64_t SteadyNanoseconds();

private:
    OrvantaZeltoMeterAudioProcessor& meterProcessor;
    bool layoutDone = false;
    OrvantaLookAndFeel lookAndFeel;
    std::int64_t lastRefreshTime = 0;
    juce::VBlankAttachment vBlankAttachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvantaZeltoMeterAudioProcessorEditor)
};
