#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A named audio buffer that lives as long as a reference to it exists. */
class ReferenceCountedBuffer : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<ReferenceCountedBuffer>;

    ReferenceCountedBuffer (const juce::String& nameToUse, int numChannels, int numSamples);

    juce::String name;
    juce::AudioBuffer<float> buffer;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ReferenceCountedBuffer)
};
