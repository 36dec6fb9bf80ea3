#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A play head for offline rendering: a transport that plays from 0 at the position it is told. */
class OfflinePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setTimeInSeconds (seconds);
        info.setIsPlaying (true);
        return info;
    }

    double seconds = 0.0;
};
