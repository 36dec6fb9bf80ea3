#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** The measurement engine: configuration, level meters, analysis views and mode buttons.

    Threads: Init runs on whichever thread configures the engine.
*/
class ZeltoMeter : public juce::Component
{
public:
    ZeltoMeter();
    ~ZeltoMeter() override;

    void Init (float sampleRate);

    /** The rate, in whole hertz, that the engine was last configured for. */
    std::atomic<int> engineRate { 96000 };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZeltoMeter)
};
