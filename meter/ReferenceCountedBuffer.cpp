#include "ReferenceCountedBuffer.h"

ReferenceCountedBuffer::ReferenceCountedBuffer (const juce::String& nameToUse, int numChannels,
                                                int numSamples)
    : name (nameToUse)
    , buffer (numChannels, numSamples)
{
}
