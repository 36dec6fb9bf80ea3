#include "Signals.h"
#include "TestPlayHead.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
/** A prepared processor with a play head, and helpers to open and close its editor. */
class Chain : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor.setPlayHead (&playHead);
        processor.setRateAndBufferSizeDetails (48000.0, 512);
        processor.prepareToPlay (48000.0, 512);
    }

    void TearDown() override { CloseEditor(); }

    void OpenEditor() { editor.reset (processor.createEditor()); }

    void CloseEditor()
    {
        if (editor != nullptr)
            processor.editorBeingDeleted (editor.get());

        editor.reset();
    }

    /** Processes length samples of a constant value, then optionally one sample of `last`. */
    void Process (int length, float value = 0.0f)
    {
        juce::MidiBuffer midi;

        for (int done = 0; done < length; done += 4096)
        {
            const int count = std::min (4096, length - done);
            juce::AudioBuffer<float> buffer (2, count);
            for (int ch = 0; ch < 2; ++ch)
                juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), value, count);
            processor.processBlock (buffer, midi);
        }
    }

    float MainPeak() { return processor.engine.mainMeter.peakSinceRefresh[0].load(); }

    /** The host's rate changes without a prepare, so a reconfiguration on the audio thread
        shows as a new engine rate. */
    void ArmReconfigurationProbe() { processor.setRateAndBufferSizeDetails (44100.0, 512); }
    bool Reconfigured() { return processor.engine.engineRate.load() == 44100; }

    OrvantaZeltoMeterAudioProcessor processor;
    TestPlayHead playHead;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

TEST_F (Chain, WithoutAnEditorNothingIsMeasured)
{
    playHead.seconds = 100.0;
    ArmReconfigurationProbe();

    juce::AudioBuffer<float> buffer (2, 256);
    const auto noise = signals::Noise (256);
    buffer.copyFrom (0, 0, noise.data(), 256);
    buffer.copyFrom (1, 0, noise.data(), 256, -0.5f);
    juce::AudioBuffer<float> original (buffer);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);

    EXPECT_EQ (MainPeak(), 0.0f);
    EXPECT_EQ (processor.engine.mainMeter.meanSquare[1].load(), 0.0f);
    EXPECT_FALSE (Reconfigured()) << "the transport watch is idle too";
    EXPECT_TRUE (processor.resetPending);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ (buffer.getSample (ch, i), original.getSample (ch, i));
}

TEST_F (Chain, MeasuresExactly300000SamplesAfterTheEditorCloses)
{
    struct Case
    {
        int silenceAfterClose;
        bool measured;
    };

    for (const auto c : { Case { 299999, true }, Case { 300000, false } })
    {
        processor.engine.mainMeter.peakSinceRefresh[0].store (0.0f);
        OpenEditor();
        Process (10);
        CloseEditor();
        Process (c.silenceAfterClose);
        Process (1, 0.5f);
        EXPECT_EQ (MainPeak() > 0.0f, c.measured) << c.silenceAfterClose << " samples after closing";
        EXPECT_EQ (processor.analysisCountdown, 0);
    }
}

TEST_F (Chain, ReopeningTheEditorRestartsTheCountdown)
{
    OpenEditor();
    Process (10);
    CloseEditor();
    Process (200000);
    OpenEditor();
    Process (10);
    CloseEditor();
    Process (299999);
    Process (1, 0.5f);
    EXPECT_GT (MainPeak(), 0.0f);
}

TEST_F (Chain, JumpsOfMoreThanOneSecondReconfigureWhilePlaying)
{
    struct Case
    {
        double jump;
        bool reconfigures;
    };

    for (const auto c :
         { Case { 1.0, false }, Case { -1.0, false }, Case { 1.0000001, true }, Case { -1.0000001, true } })
    {
        OrvantaZeltoMeterAudioProcessor fresh;
        fresh.setPlayHead (&playHead);
        fresh.setRateAndBufferSizeDetails (48000.0, 512);
        fresh.prepareToPlay (48000.0, 512);
        std::unique_ptr<juce::AudioProcessorEditor> view (fresh.createEditor());
        juce::MidiBuffer midi;
        juce::AudioBuffer<float> buffer (2, 64);
        buffer.clear();

        playHead.seconds = 10.0;
        fresh.processBlock (buffer, midi);
        EXPECT_FALSE (fresh.resetPending) << "the first measured sample always counts as a jump";

        fresh.setRateAndBufferSizeDetails (44100.0, 512);
        playHead.seconds = 10.0 + c.jump;
        fresh.processBlock (buffer, midi);
        EXPECT_EQ (fresh.engine.engineRate.load() == 44100, c.reconfigures) << "jump " << c.jump;

        fresh.editorBeingDeleted (view.get());
    }
}

TEST_F (Chain, AJumpWhileStoppedWaitsUntilTheHostPlays)
{
    OpenEditor();
    playHead.playing = false;
    playHead.seconds = 5.0;
    ArmReconfigurationProbe();
    Process (100);
    EXPECT_FALSE (Reconfigured());
    EXPECT_TRUE (processor.resetPending);

    playHead.recording = true;
    Process (100);
    EXPECT_TRUE (Reconfigured()) << "recording counts as playing";
    EXPECT_FALSE (processor.resetPending);
}

TEST_F (Chain, NoPlayHeadOrNoPositionCountsAsStoppedAtZero)
{
    OpenEditor();
    ArmReconfigurationProbe();
    playHead.hasPosition = false;
    Process (100);
    EXPECT_FALSE (Reconfigured());
    EXPECT_EQ (processor.lastTransportPosition, 0.0);

    processor.setPlayHead (nullptr);
    Process (100, 0.25f);
    EXPECT_FALSE (Reconfigured());
    EXPECT_EQ (MainPeak(), 0.25f) << "measuring goes on without a play head";
}

TEST_F (Chain, NotANumberIsMeasuredAsSilenceAndStillPassesThrough)
{
    OpenEditor();
    Process (1000, 0.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();

    juce::AudioBuffer<float> buffer (2, 512);
    juce::FloatVectorOperations::fill (buffer.getWritePointer (0), nan, 512);
    juce::FloatVectorOperations::fill (buffer.getWritePointer (1), nan, 512);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    EXPECT_TRUE (std::isnan (buffer.getSample (0, 100)) && std::isnan (buffer.getSample (1, 511)));

    Process (1000, 0.25f);
    auto& engine = processor.engine;

    for (auto* meter : { &engine.mainMeter, &engine.harshMeter, &engine.subMeter })
        for (int ch = 0; ch < 2; ++ch)
        {
            EXPECT_TRUE (std::isfinite (meter->meanSquare[ch].load()));
            EXPECT_TRUE (std::isfinite (meter->peakSinceRefresh[ch].load()));
        }

    EXPECT_TRUE (std::isfinite (engine.subLowPass.delay1Left[0])
                 && std::isfinite (engine.subLowPass.delay2Right[0]));
    EXPECT_TRUE (std::isfinite (engine.harshHighPass.firstOrderOutput[0]));
    EXPECT_EQ (MainPeak(), 0.5f);
}

// The harsh signal: the 632 Hz high-pass, then from 64 kHz up also the 20 kHz low-pass.
TEST (Engine, HarshPathAddsTheLowPassOnlyFrom64kHz)
{
    for (const float rate : { 48000.0f, 63999.0f, 64000.0f, 96000.0f })
    {
        ZeltoMeter engine;
        engine.Init (rate);
        OrvantaButterworth<float> highPass, lowPass;
        highPass.Design (true, 1, 632.0f, rate);
        lowPass.Design (false, 1, 20000.0f, rate);
        const bool expectLowPass = rate >= 64000.0f;

        const auto noise = signals::Noise (4096);
        float expectedPeak = 0.0f;

        for (const float x : noise)
        {
            engine.MeasureSample (x, x);
            float l = x, r = x;
            highPass.Filter (l, r);
            if (expectLowPass)
                lowPass.Filter (l, r);
            expectedPeak = std::max (expectedPeak, std::abs (l));
        }

        EXPECT_EQ (engine.harshMeter.peakSinceRefresh[0].load(), expectedPeak) << rate;
    }
}

TEST (Engine, RateClassesAndFallbacks)
{
    const std::pair<float, int> classes[] { { 30000.0f, 0 },  { 30001.0f, 1 }, { 44100.0f, 1 },
                                            { 48000.0f, 1 },  { 60000.0f, 1 }, { 96000.0f, 2 },
                                            { 192000.0f, 3 }, { 384000.0f, 4 } };

    for (const auto& [rate, expected] : classes)
        EXPECT_EQ (ZeltoMeter::RateClass (rate), expected) << rate;

    ZeltoMeter engine;
    engine.Init (44100.0f);
    engine.Init (80.0f);
    EXPECT_EQ (engine.engineRate.load(), 96000);
    engine.Init (10000000000.0f);
    EXPECT_EQ (engine.engineRate.load(), 2147483520)
        << "the whole-hertz rate saturates instead of overflowing";

    for (const float bad : { 0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN() })
    {
        engine.Init (bad);
        engine.MeasureSample (0.5f, 0.5f);
        EXPECT_TRUE (std::isfinite (engine.subLowPass.delay1Left[0])) << bad;
        EXPECT_TRUE (std::isfinite (engine.mainMeter.meanSquare[0].load())) << bad;
    }
}
} // namespace
