#include "AudioProcessorOrvanta.h"

#include "SettingsDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace juce
{

namespace
{
// A value greater than the upper limit becomes the upper limit, then a value below the lower
// limit becomes the lower limit; both comparisons are false for NaN, which passes unchanged.
inline float Limit (float value, float lower, float upper) noexcept
{
    if (value > upper)
        value = upper;

    if (value < lower)
        value = lower;

    return value;
}
} // namespace

AudioProcessorOrvanta::AudioProcessorOrvanta (const BusesProperties& buses)
    : AudioProcessor (buses)
{
}

AudioProcessorOrvanta::~AudioProcessorOrvanta() = default;

void AudioProcessorOrvanta::prepareToPlay (double, int)
{
    preCalculatePending.store (true, std::memory_order_relaxed);
}

void AudioProcessorOrvanta::releaseResources() {}

void AudioProcessorOrvanta::ProcessPerBuffer (AudioBuffer<float>&, int) {}

AudioProcessorOrvanta::StereoSample AudioProcessorOrvanta::LimitStereo (float left, float right) noexcept
{
    // The asymmetric lower limits are deliberate: the left channel reaches down to -30.
    return { Limit (left, -30.0f, 20.0f), Limit (right, -20.0f, 20.0f) };
}

float AudioProcessorOrvanta::LimitMono (float sample) noexcept { return Limit (sample, -30.0f, 20.0f); }

bool AudioProcessorOrvanta::TakePreCalculateDue() noexcept
{
    if (++preCalculateCounter >= preCalculateModulus)
        preCalculateCounter = 0;

    // The exchange keeps a request that arrives after the load for the next sample.
    const bool requested = preCalculatePending.load (std::memory_order_relaxed)
                           && preCalculatePending.exchange (false, std::memory_order_relaxed);

    if (! requested && preCalculateCounter != 0)
        return false;

    preCalculateCounter = 1;
    return true;
}

void AudioProcessorOrvanta::processBlock (AudioBuffer<float>& buffer, MidiBuffer&)
{
    const ScopedNoDenormals noDenormals;

    const int totalIns = getTotalNumInputChannels();
    const int totalOuts = getTotalNumOutputChannels();
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    // Without an output channel there is nothing to write to.
    if (totalOuts <= 0 || numChannels <= 0)
        return;

    // Samples beyond the cap are left as they came.
    const int count = std::min (numSamples * oversamplingFactor, maxLoopLength);

    for (int channel = totalIns; channel < std::min (totalOuts, numChannels); ++channel)
        buffer.clear (channel, 0, numSamples);

    const bool stereo = totalOuts > 1 && numChannels > 1;
    float* const left = buffer.getWritePointer (0);
    float* const right = stereo ? buffer.getWritePointer (1) : left;

    ProcessPerBuffer (buffer, count);

    for (int i = 0; i < count; ++i)
    {
        StereoSample in;

        if (stereo)
        {
            in = LimitStereo (left[i], right[i]);
        }
        else
        {
            const float x = LimitMono (left[i]);
            in = { x, x };
        }

        if (TakePreCalculateDue())
            PreCalculate();

        const StereoSample out = ProcessPerSample (in);
        left[i] = out.left;

        if (stereo)
            right[i] = out.right;
    }
}

void AudioProcessorOrvanta::AddPreset (const char* name, const char* settingsText)
{
    presets.push_back ({ String::fromUTF8 (name), String::fromUTF8 (settingsText) });
}

void AudioProcessorOrvanta::AddDefaultPresetIfNone()
{
    if (presets.empty())
        AddPreset ("Default", "");
}

int AudioProcessorOrvanta::getNumPrograms()
{
    AddDefaultPresetIfNone();
    return std::max ((int) presets.size(), 1);
}

int AudioProcessorOrvanta::getCurrentProgram() { return currentProgram; }

void AudioProcessorOrvanta::setCurrentProgram (int index)
{
    currentProgram = index;

    // A host that restores a state and then selects a program keeps the restored state: no
    // preset applies until a sample has been processed since the last load or prepare.
    if (preCalculatePending.load (std::memory_order_relaxed))
        return;

    if (getNumPrograms() < 2 || index == lastAppliedProgram)
        return;

    if (index < 0 || index >= (int) presets.size())
        return;

    lastAppliedProgram = index;

    const auto text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <settings " + presets[(size_t) index].settings + " />";

    // Factory presets are expected to be well formed; one that is not applies nothing.
    const auto element = parseXML (text);

    if (element == nullptr)
        return;

    copyXmlToBinary (*element, presetScratch);
    setStateInformation (presetScratch.getData(), (int) presetScratch.getSize());
}

const String AudioProcessorOrvanta::getProgramName (int index)
{
    AddDefaultPresetIfNone();

    if (index < 0 || index >= (int) presets.size())
        return {};

    return presets[(size_t) index].name;
}

void AudioProcessorOrvanta::changeProgramName (int, const String&) { AddDefaultPresetIfNone(); }

void AudioProcessorOrvanta::RefreshDescriptiveSettings()
{
    const double rate = getSampleRate();
    const auto wholeRate = std::isfinite (rate) && std::abs (rate) < 9.0e18 ? (int64) rate : (int64) 0;

    settingsMap["plugin"] = getName();
    settingsMap["pluginversion"] = "293";
    settingsMap["date_modified"] = SettingsDocument::UtcTimestamp();
    settingsMap["daw"] = SettingsDocument::DawFromHostPath (
        File::getSpecialLocation (File::hostApplicationPath).getFullPathName());
    settingsMap["samplerate"] = String (wholeRate);
    settingsMap["username"] = SettingsDocument::UserFullName();
}

void AudioProcessorOrvanta::getStateInformation (MemoryBlock& destData)
{
    XmlElement element ("settings");
    RefreshDescriptiveSettings();

    // A parameter's value always comes from the live parameter, never from the map.
    for (auto* parameter : getParameters())
    {
        if (auto* withId = dynamic_cast<AudioProcessorParameterWithID*> (parameter))
        {
            char value[32];
            std::snprintf (value, sizeof (value), "%.4f", (double) withId->getValue());
            element.setAttribute (withId->paramID, value);
            settingsMap.erase (withId->paramID);
        }
    }

    for (const auto& [key, value] : settingsMap)
        element.setAttribute (key, value);

    copyXmlToBinary (element, destData);
}

void AudioProcessorOrvanta::setStateInformation (const void* data, int sizeInBytes)
{
    const auto element = SettingsDocument::Parse (data, sizeInBytes);

    if (element != nullptr && element->getTagName().equalsIgnoreCase ("settings"))
    {
        for (auto* parameter : getParameters())
        {
            if (auto* withId = dynamic_cast<AudioProcessorParameterWithID*> (parameter))
            {
                // Text that does not begin with a number reads as 0; NaN becomes 0 too.
                const auto value =
                    element->hasAttribute (withId->paramID)
                        ? (float) element->getStringAttribute (withId->paramID).getDoubleValue()
                        : withId->getValue();
                withId->setValue (std::isnan (value) ? 0.0f : jlimit (0.0f, 1.0f, value));
            }
        }

        settingsMap.clear();

        for (int i = 0; i < element->getNumAttributes(); ++i)
        {
            const auto& name = element->getAttributeName (i);
            const auto& value = element->getAttributeValue (i);

            if (name.isNotEmpty() && value.isNotEmpty())
                settingsMap[name] = value;
        }
    }

    preCalculatePending.store (true, std::memory_order_relaxed);
}

} // namespace juce
