#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// Signal generators shared by the tests.
namespace signals
{
constexpr double twoPi = 6.283185307179586;

inline std::vector<float> Sine (double frequency, double sampleRate, int length, float amplitude = 1.0f)
{
    std::vector<float> out ((size_t) length);
    for (int i = 0; i < length; ++i)
        out[(size_t) i] = amplitude * (float) std::sin (twoPi * frequency * i / sampleRate);
    return out;
}

/** A sine whose frequency falls exactly on transform bin `bin` of an n-point transform. */
inline std::vector<float> BinCentredSine (int bin, int n, int length, float amplitude = 1.0f)
{
    std::vector<float> out ((size_t) length);
    for (int i = 0; i < length; ++i)
        out[(size_t) i] = amplitude * (float) std::sin (twoPi * bin * (i % n) / n);
    return out;
}

inline std::vector<float> Square (double frequency, double sampleRate, int length, float amplitude = 1.0f)
{
    std::vector<float> out ((size_t) length);
    for (int i = 0; i < length; ++i)
        out[(size_t) i] = std::fmod (frequency * i / sampleRate, 1.0) < 0.5 ? amplitude : -amplitude;
    return out;
}

/** Short clicks at a steady tempo. */
inline std::vector<float> ClickTrack (double beatsPerMinute, double sampleRate, int length,
                                      int clickLength = 48)
{
    std::vector<float> out ((size_t) length, 0.0f);
    const double period = 60.0 / beatsPerMinute * sampleRate;
    for (double start = 0.0; start < length; start += period)
        for (int i = 0; i < clickLength && (int) start + i < length; ++i)
            out[(size_t) ((int) start + i)] = 1.0f;
    return out;
}

/** Seeded white noise in -1 .. 1. */
inline std::vector<float> Noise (int length, std::uint32_t seed = 12345u)
{
    std::vector<float> out ((size_t) length);
    for (auto& x : out)
    {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        x = (float) ((double) seed / 4294967295.0 * 2.0 - 1.0);
    }
    return out;
}
} // namespace signals
