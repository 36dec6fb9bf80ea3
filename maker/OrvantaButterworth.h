#pragma once

#include <cmath>
#include <cstdint>

/** A Butterworth filter for a left/right pair: a cascade of up to eight second-order sections
    in direct form II, followed by an optional first-order section for odd orders.

    The delay values of the sections in use and the first-order section's last input and output
    survive a new design, so re-designing at the same rate keeps the output continuous.
    A filter that was never designed passes its input through unchanged.

    Threads: Design and Filter must not overlap; the owner serialises them.
*/
template <typename T>
class OrvantaButterworth
{
public:
    static constexpr int maxSections = 8;

    /** Computes the coefficients for the given type, order (1 to 17), cut-off and rate. */
    void Design (bool highPassToUse, int order, T cutoffToUse, T sampleRateToUse)
    {
        highPass = highPassToUse;
        sectionCount = (int32_t) (order / 2);
        firstOrder = (order % 2) != 0;
        sampleRate = sampleRateToUse;
        cutoff = cutoffToUse < (T) 0.498 * sampleRate ? cutoffToUse : (T) 0.498 * sampleRate;
        prewarp = (T) std::tan (pi * (double) cutoff / (double) sampleRate);
        prewarpSquared = prewarp * prewarp;
        b1Scale = highPass ? (T) -2 : (T) 2;

        for (int i = 0; i < maxSections; ++i)
        {
            if (i < sectionCount)
                DesignSection (i, order);
            else
                ClearSection (i);
        }

        if (firstOrder)
            DesignFirstOrder (cutoffToUse);
    }

    /** Filters one pair in place. */
    void Filter (T& left, T& right) noexcept
    {
        for (int i = 0; i < sectionCount; ++i)
        {
            left = FilterSection (i, left, delay1Left[i], delay2Left[i], newestLeft[i]);
            right = FilterSection (i, right, delay1Right[i], delay2Right[i], newestRight[i]);
        }

        if (firstOrder)
        {
            left = FilterFirstOrder (0, left);
            right = FilterFirstOrder (1, right);
        }
    }

    bool highPass = false;
    int32_t sectionCount = 0;
    bool firstOrder = false;
    T sampleRate = 0;
    T cutoff = 0;
    T prewarp = 0;
    T prewarpSquared = 0;
    T damping = 0;
    T b1Scale = 2;
    T sectionGain[maxSections] {};
    T sectionFeedback1[maxSections] {};
    T sectionFeedback2[maxSections] {};
    T newestLeft[maxSections] {};
    T newestRight[maxSections] {};
    T delay1Right[maxSections] {};
    T delay1Left[maxSections] {};
    T delay2Right[maxSections] {};
    T delay2Left[maxSections] {};
    T firstOrderGain = 0;
    T firstOrderPole = 0;
    T firstOrderOutput[2] {};
    T firstOrderInput[2] {};

private:
    static constexpr double pi = 3.14159265358979323846;

    // Pole pair i of a Butterworth of the given order lies at this angle from the negative
    // real axis; its cosine is the section's damping (0.7071... for order 2).
    static double SectionDamping (int i, int order)
    {
        return std::cos (pi * (double) (2 * i + 1 + order % 2) / (2.0 * (double) order));
    }

    void DesignSection (int i, int order)
    {
        damping = (T) SectionDamping (i, order);
        const T k = prewarp;
        const T k2 = prewarpSquared;
        const T a0 = (T) 1 + (T) 2 * k * damping + k2;
        // The low-pass numerator is K^2 (1, 2, 1), the high-pass one (1, -2, 1); b1Scale carries
        // the sign of the middle tap.
        sectionGain[i] = (highPass ? (T) 1 : k2) / a0;
        sectionFeedback1[i] = (T) 2 * ((T) 1 - k2) / a0;
        sectionFeedback2[i] = -((T) 1 - (T) 2 * k * damping + k2) / a0;
    }

    void ClearSection (int i)
    {
        sectionGain[i] = sectionFeedback1[i] = sectionFeedback2[i] = 0;
        newestLeft[i] = newestRight[i] = 0;
        delay1Left[i] = delay1Right[i] = 0;
        delay2Left[i] = delay2Right[i] = 0;
    }

    // The first-order section is designed without prewarping, from the unclamped cut-off.
    void DesignFirstOrder (T requestedCutoff)
    {
        const T w = (T) (2.0 * pi) * requestedCutoff;
        const T sum = w + (T) 2 * sampleRate;
        const T g = sum != (T) 0 ? (T) 1 / sum : (T) 0;
        firstOrderGain = w * g;
        firstOrderPole = ((T) 2 * sampleRate - w) * g;
    }

    T FilterSection (int i, T x, T& delay1, T& delay2, T& newest) noexcept
    {
        const T w = (sectionFeedback1[i] * delay1 + sectionFeedback2[i] * delay2) + x;
        const T y = sectionGain[i] * ((w + b1Scale * delay1) + delay2);
        newest = w;
        delay2 = delay1;
        delay1 = w;
        return y;
    }

    // A first-order high-pass is the input minus its first-order low-pass.
    T FilterFirstOrder (int channel, T x) noexcept
    {
        const T y = firstOrderPole * firstOrderOutput[channel]
                    + (firstOrderGain * x + firstOrderGain * firstOrderInput[channel]);
        firstOrderInput[channel] = x;
        firstOrderOutput[channel] = y;
        return highPass ? x - y : y;
    }
};
