#include "ZeltoMeter.h"

#include <algorithm>
#include <cmath>

ZeltoMeter::ZeltoMeter()
{
    modeButtons[analysisMode.load()].setEnabled (false);

    for (int i = 0; i < numModes; ++i)
        modeButtons[i].setButtonText (modeNames[i]);

    for (auto& button : modeButtons)
    {
        button.setVisible (true);
        addChildComponent (button);
        button.addListener (this);
    }
}

ZeltoMeter::~ZeltoMeter() = default;

int ZeltoMeter::RateClass (float sampleRate) noexcept
{
    int rateClass = 0;

    for (const float threshold : { 30000.0f, 60000.0f, 120000.0f, 240000.0f })
        if (sampleRate > threshold)
            ++rateClass;

    return rateClass;
}

void ZeltoMeter::Init (float sampleRate)
{
    const juce::ScopedLock guard (configurationLock);
    Configure (sampleRate);
}

bool ZeltoMeter::InitFromAudioThread (float sampleRate)
{
    const juce::ScopedTryLock mid (midSpectrum.frameLock);
    const juce::ScopedTryLock side (sideSpectrum.frameLock);
    const juce::ScopedTryLock tempo (bpmCountView.frameLock);

    if (! mid.isLocked() || ! side.isLocked() || ! tempo.isLocked())
        return false;

    Configure (sampleRate);
    return true;
}

void ZeltoMeter::Configure (float sampleRate)
{
    // The largest float below 2^31 keeps the conversion defined for absurd rates.
    engineRate.store (sampleRate >= 100.0f ? (int) std::min (sampleRate, 2147483520.0f) : 96000);

    // A rate of zero, a negative one or NaN would turn the coefficients and weights into NaN,
    // which the filters would then carry for ever; such a rate designs for the fallback.
    const float designRate = std::isfinite (sampleRate) && sampleRate > 0.0f ? sampleRate : 96000.0f;

    subLowPass.Design (false, 2, 0.1, (double) designRate);
    harshHighPass.Design (true, 1, 632.0f, designRate);
    harshLowPass.Design (false, 1, 20000.0f, designRate);

    mainMeter.Configure (mainParameters, designRate);
    harshMeter.Configure (harshParameters, designRate);
    subMeter.Configure (subParameters, designRate);

    const int rateClass = RateClass (sampleRate);
    sideSpectrum.Configure (sampleRate, 11 + rateClass, 20.0f, 20000.0f, 200);
    amplitudeHistogram.Configure (1200);
    bpmCountView.Configure (sampleRate, 18 + rateClass, 1.0f, 20.0f, 200);
    ConfigureMidSpectrum (sampleRate, rateClass);
}

void ZeltoMeter::ConfigureMidSpectrum (float sampleRate, int rateClass)
{
    switch (analysisMode.load())
    {
        case 1:
            midSpectrum.Configure (sampleRate, 13 + rateClass, 5.0f, 200.0f, 200);
            break;
        case 2:
        {
            // The top of the band: from 1900 Hz at 96 kHz, scaled with the rate, to half the rate.
            const float lowest = 1900.0f * sampleRate / 96000.0f;
            midSpectrum.Configure (sampleRate, 10 + rateClass, lowest < 1.0f ? 1.0f : lowest,
                                   sampleRate < 1.0f ? 1.0f : sampleRate, 200);
            break;
        }
        default:
            midSpectrum.Configure (sampleRate, 11 + rateClass, 20.0f, 20000.0f, 200);
            break;
    }
}

void ZeltoMeter::HandOver (SpectrumView& view)
{
    if (! view.frameReady.load (std::memory_order_acquire))
        return;

    const juce::ScopedLock lock (view.frameLock);
    view.frameReady.store (false, std::memory_order_release);
    view.drawNextFrameOfSpectrum();
}

void ZeltoMeter::SetViewBounds (juce::Rectangle<int> bounds)
{
    midSpectrum.setBounds (bounds);
    sideSpectrum.setBounds (bounds);
    amplitudeHistogram.setBounds (bounds);
    bpmCountView.setBounds (bounds);
}

void ZeltoMeter::Refresh()
{
    refreshParity ^= 1;
    mainMeter.Refresh();
    harshMeter.Refresh();
    subMeter.Refresh();

    // Only the stereo mode feeds the side view, so only then is a frame waiting there.
    HandOver (sideSpectrum);

    // The histogram decays and feeds its held maxima in every mode.
    amplitudeHistogram.Refresh();

    // The long transform of the low mode advances on every second refresh only; the tempo
    // analysis always does.
    if (refreshParity == 0 || analysisMode.load() != 1)
    {
        HandOver (midSpectrum);

        if (refreshParity == 0 && bpmCountView.frameReady.load (std::memory_order_acquire))
            bpmCountView.AnalyseFrame();
    }
}

void ZeltoMeter::PaintMeasurements (juce::Graphics& g)
{
    mainMeter.Paint (g);
    harshMeter.Paint (g);
    subMeter.Paint (g);

    switch (analysisMode.load())
    {
        case 0:
        case 1:
        case 2:
            midSpectrum.Paint (g);
            break;
        case 3:
            sideSpectrum.Paint (g);
            break;
        case 4:
            amplitudeHistogram.Draw (g);
            break;
        case 5:
            bpmCountView.Draw (g);
            break;
        default:
            break;
    }
}

void ZeltoMeter::buttonClicked (juce::Button* button)
{
    for (int i = 0; i < numModes; ++i)
    {
        if (button == &modeButtons[i])
        {
            modeButtons[i].setEnabled (false);
            analysisMode.store (i);
            Init ((float) engineRate.load());
        }
        else
        {
            modeButtons[i].setEnabled (true);
        }
    }
}
