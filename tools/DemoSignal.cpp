#include "DemoSignal.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr double twoPi = 6.283185307179586;

/** A small deterministic noise source (xorshift), so the demo never depends on the library. */
class Noise
{
public:
    float Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (float) ((double) state / 4294967295.0 * 2.0 - 1.0);
    }

private:
    std::uint32_t state = 0x9e3779b9u;
};

// A kick drum: a sine that falls from 120 Hz to 50 Hz within 60 ms and decays over 150 ms.
double Kick (double t)
{
    const double sweep = 50.0 * t + 70.0 * 0.02 * (1.0 - std::exp (-t / 0.02));
    return 0.55 * std::exp (-t / 0.15) * std::sin (twoPi * sweep);
}

// The bass line moves every two bars between A1, C2, G1 and D2.
double BassFrequency (double time)
{
    static constexpr double notes[] = { 55.0, 65.41, 49.0, 73.42 };
    return notes[(int) (time / 4.0) % 4];
}
} // namespace

juce::AudioBuffer<float> DemoSignal::Render (double sampleRate)
{
    const int length = (int) std::ceil (lengthSeconds * sampleRate);
    const double beat = 60.0 / beatsPerMinute;
    juce::AudioBuffer<float> buffer (2, length);
    Noise noise;

    double bassPhase = 0.0;
    float hatLeft = 0.0f, hatRight = 0.0f, previousLeft = 0.0f, previousRight = 0.0f;

    for (int i = 0; i < length; ++i)
    {
        const double time = i / sampleRate;
        const double sinceBeat = std::fmod (time, beat);
        const double sinceOffBeat = std::fmod (time + 0.5 * beat, beat);

        bassPhase += twoPi * BassFrequency (time) / sampleRate;
        const double bass = 0.22 * (std::sin (bassPhase) + 0.3 * std::sin (2.0 * bassPhase));

        // Hi-hats: white noise with its low end removed by a first difference, decaying over
        // 30 ms; every second one leans left, the others right.
        const double hatEnvelope = 0.35 * std::exp (-sinceOffBeat / 0.03);
        const bool leansLeft = ((int) ((time + 0.5 * beat) / beat)) % 2 == 0;
        const float whiteLeft = noise.Next();
        const float whiteRight = noise.Next();
        hatLeft = whiteLeft - previousLeft;
        hatRight = 0.6f * (whiteRight - previousRight) + 0.4f * hatLeft;
        previousLeft = whiteLeft;
        previousRight = whiteRight;

        const double hiss = 0.004 * noise.Next();
        const double pad = 0.05 * std::sin (twoPi * 440.0 * time) + 0.04 * std::sin (twoPi * 659.26 * time);
        const double padWide =
            0.05 * std::sin (twoPi * 440.0 * time + 0.6) + 0.04 * std::sin (twoPi * 659.26 * time - 0.5);

        const double common = Kick (sinceBeat) + bass + 0.01;
        const double left = common + pad + hatEnvelope * (leansLeft ? 1.0 : 0.6) * hatLeft + hiss;
        const double right = common + padWide + hatEnvelope * (leansLeft ? 0.6 : 1.0) * hatRight - hiss;

        buffer.setSample (0, i, (float) left);
        buffer.setSample (1, i, (float) right);
    }

    return buffer;
}
