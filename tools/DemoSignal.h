#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The built-in demonstration signal: about 14 seconds of stereo music-like material that
    exercises every view. A steady 120 BPM kick, a bass line, noisy hi-hats on the off-beats,
    a slightly wide pad and a small DC offset. It is the same, sample for sample, on every run.
*/
class DemoSignal
{
public:
    static constexpr double lengthSeconds = 13.79;
    static constexpr double beatsPerMinute = 120.0;

    /** Renders the whole signal at the given sample rate into a new stereo buffer. */
    static juce::AudioBuffer<float> Render (double sampleRate);
};
