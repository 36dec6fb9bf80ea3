#pragma once

#include "meter/PeakMemory.h"
#include "meter/ReferenceCountedBuffer.h"
#include "meter/ViewPainter.h"

#include <juce_dsp/juce_dsp.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>

/** What the spectrum views and the tempo view share: a capture ring filled on the audio thread,
    the hand-over of one frame at a time to the message thread, and the transform of a frame into
    NumPoints log-spaced display levels with a peak hold of NumSlots slots per point.

    Threads:
    - Configure [the thread configuring the engine, holding the engine's configuration guard];
    - Push [audio thread, holding the same guard, so it never meets a buffer replacement]; it
      only try-locks frameLock to copy a frame and tries again at the next sample when busy;
    - TransformFrame and PaintCurves [message thread, under frameLock / reading display values].
    The configuration of a view (rate, buffers, range, hold and the reset of its peak slots) is
    written under frameLock, so the message thread always sees it whole.
*/
template <int NumPoints, int NumSlots>
class FrameAnalyser : public juce::Component
{
public:
    static constexpr int numPoints = NumPoints;

    FrameAnalyser() = default;

    ~FrameAnalyser() override
    {
        const juce::ScopedLock lock (frameLock);
        Deallocate();
    }

    /** Sets the view's rate (keeping the previous one below 100 Hz, 48000 if none), buffers of
        2^order samples, the displayed range clamped to half the rate, the hold length, and
        empties the peak slots. */
    void Configure (float rate, int order, float lowest, float highest, int hold)
    {
        const juce::ScopedLock lock (frameLock);

        if (rate >= 100.0f)
            sampleRate = rate;

        if (! (sampleRate >= 100.0f))
            sampleRate = 48000.0f;

        Allocate (order);
        const float half = sampleRate / 2.0f;
        minFrequency = std::min (half, lowest);
        maxFrequency = std::min (half, highest);
        holdFrames = hold;

        for (auto& point : peakMemory)
            point.Reset();
    }

    /** Fresh, zeroed buffers, transform and window for 2^order samples. Buffers of the size
        already in use are only cleared, so reconfiguring at the same size allocates nothing. */
    void Allocate (int order)
    {
        const juce::ScopedLock lock (frameLock);

        // The frame's second half is always zero (see TryHandOverFrame), so only the ring and
        // the frame's first half need clearing.
        if (ready && order == fftOrder)
        {
            ClearBuffers (fftSize);
            return;
        }

        Deallocate();
        fftOrder = order;
        fftSize = 1 << order;
        fifo = new ReferenceCountedBuffer ("Fifo", 1, fftSize);
        fftBuffer = new ReferenceCountedBuffer ("FFT", 1, 2 * fftSize);
        fft = std::make_unique<juce::dsp::FFT> (order);
        window = std::make_unique<juce::dsp::WindowingFunction<float>> (
            (size_t) fftSize, juce::dsp::WindowingFunction<float>::hann, true);
        fifoData = fifo->buffer.getWritePointer (0);
        frameData = fftBuffer->buffer.getWritePointer (0);
        ClearBuffers (2 * fftSize);
        ready = true;
    }

    /** Releases buffers, transform and window; call with frameLock held. */
    void Deallocate()
    {
        ready = false;
        fifoData = nullptr;
        frameData = nullptr;
        fftBuffer = nullptr;
        fifo = nullptr;
        fft.reset();
        window.reset();
    }

    /** Stores one sample in the ring, handing a frame over first when the last one was taken. */
    void Push (float sample) noexcept
    {
        // The buffers exist whenever the view is ready: they are made before it and dropped after.
        if (! ready)
            return;

        if (! frameReady.load (std::memory_order_acquire))
            TryHandOverFrame();

        // An index left over from a longer ring wraps instead of running past this one.
        if (++fifoIndex >= fftSize)
            fifoIndex = 0;

        fifoData[fifoIndex] = sample;
    }

    /** Windows and transforms the handed-over frame and reduces it to the display levels and
        their peaks. Call with frameLock held. */
    void TransformFrame()
    {
        if (! ready || fifo == nullptr || fftBuffer == nullptr || sampleRate < 100.0f)
            return;

        window->multiplyWithWindowingTable (frameData, (size_t) fftSize);

        // The full spectrum's magnitudes, the mirrored upper half included; the second half of
        // the buffer ends up zero, ready for the next frame.
        fft->performFrequencyOnlyForwardTransform (frameData, false);
        ReduceToPoints (frameData);
    }

    /** Background, held peaks, reference lines and levels, at the component's bounds. */
    void PaintCurves (juce::Graphics& g)
    {
        const auto bounds = getBounds();
        ViewPainter::PaintBackground (g, bounds);
        auto y = [bounds] (float level) { return ViewPainter::LinearY (level, bounds); };
        ViewPainter::FillCurve (
            g, bounds, NumPoints, juce::Colour (0xff003020), [this] (int i) { return peakMemory[i].peak; },
            y);
        ViewPainter::PaintReferenceLines (g, bounds);
        ViewPainter::FillCurve (
            g, bounds, NumPoints, juce::Colour (0xff609000), [this] (int i) { return levels[i]; }, y);
    }

    /** Draws the curves and the axis whose labels forEachLabel (width, lowest, highest, fn)
        produces, unless the view has no buffers or no usable rate. */
    template <typename ForEachLabel>
    void PaintWithScale (juce::Graphics& g, ForEachLabel&& forEachLabel)
    {
        const auto range = ReadRange();

        if (! range.drawable)
            return;

        PaintCurves (g);
        g.setFont (juce::Font ("Arial", 10.105f, juce::Font::bold));

        const auto bounds = getBounds();
        forEachLabel (bounds.getWidth(), range.minFrequency, range.maxFrequency,
                      [&] (float xr, float step, const juce::String& text, bool upper) {
                          ViewPainter::DrawTick (g, bounds, xr, step, upper ? 20.21f : 10.105f, 40.42f, 10,
                                                 text.toRawUTF8());
                      });
    }

    /** The ticks of a logarithmic frequency axis: candidates every width / round(width / 23)
        pixels from 11.5, each snapped by snap (frequency to tick frequency); a tick is drawn only
        more than 10 pixels right of the last one, and rows alternate between drawn ticks.
        Calls fn (xr, step, tickFrequency, upperRow), xr from the view's left edge. */
    template <typename Snap, typename Fn>
    static void ForEachTick (int width, float lowest, float highest, Snap&& snap, Fn&& fn)
    {
        const float w = (float) width;

        if (w - 5.75f < 11.5f)
            return;

        const float n = ViewPainter::Round (w / 23.0f);
        const float step = w / n;
        const float lnMin = std::log (lowest);
        const float lnRange = std::log (highest) - lnMin;
        float lastX = -100.0f;
        bool upper = false;

        for (float position = 11.5f; position <= w - 5.75f; position += step)
        {
            const double tick = snap (std::exp (lnRange * position / w + lnMin));
            const float xr = (std::log ((float) tick) - lnMin) / lnRange * w;

            if (xr > lastX + 10.0f)
            {
                fn (xr, step, tick, upper);
                lastX = xr;
                upper = ! upper;
            }
        }
    }

    /** The view's configuration as the paint needs it, read under frameLock. */
    struct Range
    {
        bool drawable;
        float minFrequency, maxFrequency;
    };

    Range ReadRange()
    {
        const juce::ScopedLock lock (frameLock);
        return { fifo != nullptr && sampleRate >= 100.0f, minFrequency, maxFrequency };
    }

    int fftOrder = 0;
    int fftSize = 0;
    float sampleRate = 0.0f;
    float minFrequency = 0.0f;
    float maxFrequency = 0.0f;
    int holdFrames = 100;
    const float levelGain = 0.125f;
    const float tiltCorner = 30.0f;
    bool ready = false;
    std::unique_ptr<juce::dsp::FFT> fft;
    std::unique_ptr<juce::dsp::WindowingFunction<float>> window;
    juce::CriticalSection frameLock;
    ReferenceCountedBuffer::Ptr fftBuffer;
    ReferenceCountedBuffer::Ptr fifo;
    int fifoIndex = 0;
    std::atomic<bool> frameReady { false };
    float levels[(size_t) NumPoints] {};
    PeakMemory<NumSlots> peakMemory[(size_t) NumPoints];

private:
    void ClearBuffers (int frameLength) noexcept
    {
        std::fill (fifoData, fifoData + fftSize, 0.0f);
        std::fill (frameData, frameData + frameLength, 0.0f);
    }

    // The frame starts with the newest sample (where the window is zero), then runs from the
    // oldest onwards. Its second half is already zero: allocation and every transform leave it so.
    void TryHandOverFrame() noexcept
    {
        const juce::ScopedTryLock lock (frameLock);

        if (! lock.isLocked())
            return;

        if (fifoIndex >= fftSize)
            fifoIndex = 0;

        const int older = fftSize - fifoIndex;
        std::memcpy (frameData, fifoData + fifoIndex, sizeof (float) * (size_t) older);
        std::memcpy (frameData + older, fifoData, sizeof (float) * (size_t) fifoIndex);
        frameReady.store (true, std::memory_order_release);
    }

    void ReduceToPoints (const float* magnitudes)
    {
        const float n = (float) fftSize;
        const float lnMin = std::log (minFrequency);
        const float lnRange = std::log (maxFrequency) - lnMin;
        float uPrevious = 0.0f;
        int bPrevious = 0;

        for (int i = 0; i < NumPoints; ++i)
        {
            const float f = std::exp (lnMin + ((float) i / (float) (NumPoints - 1)) * lnRange);
            const float u = f * n / sampleRate;
            const int b = std::clamp ((int) std::floor (u), 0, fftSize - 1);
            float power = 0.0f;
            int count = 1;

            // Points closer than a bin are interpolated, the others sum the bins they span.
            if (u - uPrevious < 1.0f)
            {
                const float value = CatmullRom (magnitudes, u);
                power = value * value;
            }
            else if (b > bPrevious)
            {
                for (int k = bPrevious; k < b; ++k)
                    power += magnitudes[k] * magnitudes[k];

                count = b - bPrevious;
            }

            const float magnitude = std::sqrt (power / (float) count);
            const float level =
                std::sqrt (magnitude * ((tiltCorner / f + 1.0f) * levelGain) / (n / std::max (u, 1.0f)));
            levels[i] = std::min (1.0f, level);
            peakMemory[i].Update (levels[i], holdFrames);
            uPrevious = u;
            bPrevious = b;
        }
    }

    float CatmullRom (const float* s, float u) const noexcept
    {
        const int j = (int) std::floor (u);
        const float t = u - (float) j;
        const float p0 = j > 0 ? s[j - 1] : 0.0f;
        const float p1 = s[j];
        const float p2 = s[j + 1];
        const float p3 = s[j + 2];
        const float a1 = 0.5f * p2 - 0.5f * p0;
        const float a2 = p0 - 2.5f * p1 + 2.0f * p2 - 0.5f * p3;
        const float a3 = -0.5f * p0 + 1.5f * p1 - 1.5f * p2 + 0.5f * p3;
        return ((a3 * t + a2) * t + a1) * t + p1;
    }

    float* fifoData = nullptr;
    float* frameData = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FrameAnalyser)
};
