// Proves that the audio thread's work allocates nothing, a transport-jump reconfiguration
// included. Every allocation of this process goes through the counting malloc below; it counts
// only on a thread that asked for it.

#include "TestPlayHead.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void __libc_free (void*);
}

namespace
{
thread_local bool counting = false;
std::atomic<int> allocations { 0 };

void Count()
{
    if (counting)
        allocations.fetch_add (1, std::memory_order_relaxed);
}
} // namespace

extern "C"
{
    void* malloc (size_t size)
    {
        Count();
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size)
    {
        Count();
        return __libc_calloc (count, size);
    }

    void* realloc (void* pointer, size_t size)
    {
        Count();
        return __libc_realloc (pointer, size);
    }

    void* memalign (size_t alignment, size_t size)
    {
        Count();
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size)
    {
        Count();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size)
    {
        Count();
        *result = __libc_memalign (alignment, size);
        return *result != nullptr ? 0 : 12;
    }

    void free (void* pointer) { __libc_free (pointer); }
}

namespace
{
/** Counts the allocations made on this thread while fn runs. */
template <typename Fn>
int AllocationsDuring (Fn&& fn)
{
    const int before = allocations.load();
    counting = true;
    fn();
    counting = false;
    return allocations.load() - before;
}

TEST (Allocation, TheCounterSeesAllocations)
{
    EXPECT_GT (AllocationsDuring ([] { delete new juce::AudioBuffer<float> (2, 4096); }), 0);
}

TEST (Allocation, ReconfiguringAtTheSameRateAllocatesNothing)
{
    for (const float rate : { 44100.0f, 48000.0f, 96000.0f })
        for (int mode = 0; mode < ZeltoMeter::numModes; ++mode)
        {
            ZeltoMeter engine;
            engine.analysisMode = mode;
            engine.Init (rate);

            bool done = false;
            EXPECT_EQ (AllocationsDuring ([&] { done = engine.InitFromAudioThread (rate); }), 0)
                << rate << " Hz, mode " << mode;
            EXPECT_TRUE (done);
        }
}

TEST (Allocation, ProcessingAJumpingTransportAllocatesNothing)
{
    OrvantaZeltoMeterAudioProcessor processor;
    TestPlayHead playHead;
    processor.setPlayHead (&playHead);
    processor.setRateAndBufferSizeDetails (48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    processor.engine.buttonClicked (&processor.engine.modeButtons[5]);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    const int during = AllocationsDuring (
        [&]
        {
            for (int block = 0; block < 200; ++block)
            {
                buffer.clear();
                buffer.setSample (0, 7, 0.5f);
                playHead.seconds =
                    block % 50 == 0 ? 100.0 * block : playHead.seconds.load() + 512.0 / 48000.0;
                processor.processBlock (buffer, midi);
            }
        });

    EXPECT_EQ (during, 0);
    EXPECT_FALSE (processor.resetPending) << "the jumps did reconfigure";
    processor.editorBeingDeleted (editor.get());
}
} // namespace
