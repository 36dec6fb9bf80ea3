// Drives the audio thread and the message thread against each other: blocks with a play head
// that plays and jumps on one thread; mode clicks, refreshes and paints on the other. Built with
// ThreadSanitizer it proves the hand-overs between the two threads are well defined.

#include "Signals.h"
#include "TestPlayHead.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace
{
double StressSeconds()
{
    const auto text = juce::SystemStats::getEnvironmentVariable ("ZELTO_STRESS_SECONDS", "2");
    return juce::jlimit (0.1, 600.0, text.getDoubleValue());
}

TEST (Stress, AudioAndMessageThreadsRunTogether)
{
    OrvantaZeltoMeterAudioProcessor processor;
    TestPlayHead playHead;
    processor.setPlayHead (&playHead);
    processor.setRateAndBufferSizeDetails (48000.0, 256);
    processor.prepareToPlay (48000.0, 256);
    std::unique_ptr<OrvantaZeltoMeterAudioProcessorEditor> editor (
        dynamic_cast<OrvantaZeltoMeterAudioProcessorEditor*> (processor.createEditor()));

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };
    std::atomic<int> corruptedBlocks { 0 };

    std::thread audio (
        [&]
        {
            const auto noise = signals::Noise (48000);
            juce::AudioBuffer<float> buffer (2, 256);
            juce::MidiBuffer midi;
            double seconds = 0.0;

            for (int block = 0; ! stop.load(); ++block)
            {
                const int offset = (block * 256) % (48000 - 256);
                buffer.copyFrom (0, 0, noise.data() + offset, 256);
                buffer.copyFrom (1, 0, noise.data() + offset, 256, -0.7f);

                // Play, jump now and then, and stop for a while every so often.
                seconds += block % 97 == 0 ? 30.0 : 256.0 / 48000.0;
                playHead.seconds = seconds;
                playHead.playing = block % 400 < 350;

                processor.processBlock (buffer, midi);

                if (std::memcmp (buffer.getReadPointer (0), noise.data() + offset, 256 * sizeof (float)) != 0)
                    ++corruptedBlocks;

                blocks.fetch_add (1);
            }
        });

    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double> (StressSeconds());
    std::int64_t clock = 1000000000;
    juce::Image image (juce::Image::ARGB, 700, 450, true);
    juce::Random random (42);
    int clicks = 0;

    while (std::chrono::steady_clock::now() < end)
    {
        auto& engine = processor.engine;
        auto& button = engine.modeButtons[random.nextInt (ZeltoMeter::numModes)];

        if (button.isEnabled())
        {
            engine.buttonClicked (&button);
            ++clicks;
        }

        for (int i = 0; i < 5; ++i)
        {
            clock += 16666667;
            editor->Refresh (clock);
            juce::Graphics g (image);
            editor->paintEntireComponent (g, false);
        }
    }

    stop = true;
    audio.join();

    EXPECT_GT (blocks.load(), 10);
    EXPECT_GT (clicks, 3);
    EXPECT_EQ (corruptedBlocks.load(), 0) << "the audio passes through untouched whatever happens";

    processor.editorBeingDeleted (editor.get());
}
} // namespace
