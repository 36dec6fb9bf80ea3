#pragma once

#include "maker/OrvantaButterworth.h"
#include "meter/AmplitudeHistogram.h"
#include "meter/BpmCountView.h"
#include "meter/SpectrumView.h"
#include "meter/VuMeter.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** The measurement engine: its configuration, the filters and level meters it feeds per sample,
    the display refresh, and the six mode buttons, whose listener it is.

    Threads: Init [host or message thread]; InitFromAudioThread and MeasureSample [audio thread,
    holding configurationLock]; Refresh, PaintMeasurements and buttonClicked [message thread].

    Every configuration holds configurationLock. The audio thread only ever try-locks it, once
    per block, and skips measuring a block it cannot get, so it never waits for a configuration
    running on another thread.
*/
class ZeltoMeter : public juce::Component, public juce::Button::Listener
{
public:
    static constexpr int numModes = 6;
    static constexpr const char* modeNames[numModes] = { "Spectrum", "Low",       "High",
                                                         "Stereo",   "Amplitude", "BPM" };

    static constexpr VuMeter::Parameters mainParameters { 0.705f, 5000, 0.0141f, 0.3f, 8.5f, 0.74558991f };
    static constexpr VuMeter::Parameters harshParameters { 0.5f, 300, 0.01f, 0.5f, 1.5f, 0.91727597f };
    static constexpr VuMeter::Parameters subParameters { 0.3535f, 100, 0.00707f, 0.2f, 1.5f, 0.96605086f };

    ZeltoMeter();
    ~ZeltoMeter() override;

    /** Configures the whole engine for a sample rate and the current mode; waits for the guard. */
    void Init (float sampleRate);

    /** The same from the audio thread, which already holds the guard. It never waits: when a
        view is busy on the message thread it configures nothing and returns false. */
    bool InitFromAudioThread (float sampleRate);

    /** Feeds one measured sample pair (never NaN) to the meters and the current mode's view. */
    void MeasureSample (float left, float right) noexcept
    {
        double subLeft = left;
        double subRight = right;
        subLowPass.Filter (subLeft, subRight);
        subMeter.Accumulate ((float) subLeft, (float) subRight);

        float harshLeft = left;
        float harshRight = right;
        harshHighPass.Filter (harshLeft, harshRight);

        if (engineRate.load (std::memory_order_relaxed) >= 64000)
            harshLowPass.Filter (harshLeft, harshRight);

        harshMeter.Accumulate (harshLeft, harshRight);
        mainMeter.Accumulate (left, right);

        switch (analysisMode.load (std::memory_order_relaxed))
        {
            case 0:
            case 1:
            case 2:
                midSpectrum.Process ((left + right) * 0.5f);
                break;
            case 3:
                sideSpectrum.Process (left - right);
                break;
            case 4:
                amplitudeHistogram.Accumulate ((left + right) * 0.5f);
                break;
            case 5:
                bpmCountView.Capture ((left + right) * 0.5f);
                break;
            default:
                break;
        }
    }

    /** One display refresh: meters, then the views' hand-overs. */
    void Refresh();

    /** Draws the three meters and the current mode's view at their bounds. */
    void PaintMeasurements (juce::Graphics& g);

    /** Gives every analysis view the same bounds. */
    void SetViewBounds (juce::Rectangle<int> bounds);

    void buttonClicked (juce::Button* button) override;

    /** The number of the thresholds 30000, 60000, 120000 and 240000 Hz that a rate exceeds. */
    static int RateClass (float sampleRate) noexcept;

    juce::CriticalSection configurationLock;

    float labelHeight = 10.25f;
    float margin = 5.0f;
    float layoutWidth = 0.0f;
    float viewHeight = 0.0f;
    float halfViewHeight = 0.0f;
    float meterWidth = 0.0f;
    float buttonHeight = 20.0f;
    std::atomic<int> analysisMode { 0 };
    std::atomic<int> engineRate { 96000 };
    int refreshParity = 0;
    OrvantaButterworth<float> harshHighPass;
    OrvantaButterworth<float> harshLowPass;
    OrvantaButterworth<double> subLowPass;
    VuMeter mainMeter;
    VuMeter harshMeter;
    VuMeter subMeter;
    SpectrumView midSpectrum;
    SpectrumView sideSpectrum;
    AmplitudeHistogram amplitudeHistogram;
    BpmCountView bpmCountView;
    juce::TextButton modeButtons[numModes];

private:
    void Configure (float sampleRate);
    void ConfigureMidSpectrum (float sampleRate, int rateClass);
    static void HandOver (SpectrumView& view);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZeltoMeter)
};
