#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>

/** A play head whose position and transport state the test sets; it may also report nothing. */
class TestPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! hasPosition.load())
            return {};

        PositionInfo info;
        info.setTimeInSeconds (seconds.load());
        info.setIsPlaying (playing.load());
        info.setIsRecording (recording.load());
        return info;
    }

    std::atomic<bool> hasPosition { true };
    std::atomic<double> seconds { 0.0 };
    std::atomic<bool> playing { true };
    std::atomic<bool> recording { false };
};
