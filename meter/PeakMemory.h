#pragma once

#include <cstddef>

/** The peak hold of one display point: up to Slots recent maxima, each held for a number of
    updates. The point's peak is the largest held value or the newest level.

    Threads: whichever thread owns the display it belongs to (the message thread).
*/
template <int Slots>
struct PeakMemory
{
    float slotValues[(size_t) Slots] {};
    int slotCountdowns[(size_t) Slots] {};
    float peak = 0.0f;

    /** Takes a new level: it displaces the smallest (or a released) slot only if it is larger. */
    void Update (float level, int holdFrames) noexcept
    {
        float runningMax = -1.0e20f;
        float runningMin = 1.0e20f;
        int minSlot = -1;

        for (int j = 0; j < Slots; ++j)
        {
            const float old = slotValues[j];
            float value = old;

            if (slotCountdowns[j] >= 2)
            {
                --slotCountdowns[j];
            }
            else
            {
                // A released slot's value still counts in this update's peak.
                slotCountdowns[j] = 0;
                slotValues[j] = 0.0f;
                value = 0.0f;
            }

            runningMax = old > runningMax ? old : runningMax;

            if (value < runningMin)
            {
                runningMin = value;
                minSlot = j;
            }
        }

        if (minSlot >= 0 && level > slotValues[minSlot])
        {
            slotValues[minSlot] = level;
            slotCountdowns[minSlot] = holdFrames;
        }

        peak = level > runningMax ? level : runningMax;
    }

    /** Empties every slot; the peak itself follows at the next update. */
    void Reset() noexcept
    {
        for (int j = 0; j < Slots; ++j)
        {
            slotValues[j] = 0.0f;
            slotCountdowns[j] = 10;
        }
    }
};
