#include "SnapshotSession.h"

#include "OfflinePlayHead.h"
#include "plugin/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <cstdio>

struct SnapshotSession::Mode
{
    OrvantaZeltoMeterAudioProcessor processor;
    OfflinePlayHead playHead;
    std::unique_ptr<OrvantaZeltoMeterAudioProcessorEditor> editor;

    ~Mode()
    {
        if (editor != nullptr)
            processor.editorBeingDeleted (editor.get());
    }
};

SnapshotSession::SnapshotSession (Job jobToRun, std::function<void (bool)> done)
    : job (std::move (jobToRun))
    , onDone (std::move (done))
{
}

SnapshotSession::~SnapshotSession() = default;

void SnapshotSession::Start() { Begin (0); }

void SnapshotSession::Begin (int index)
{
    if (index >= job.modes.size())
    {
        current.reset();
        onDone (true);
        return;
    }

    current = std::make_unique<Mode>();
    auto& processor = current->processor;
    processor.setPlayHead (&current->playHead);
    processor.setRateAndBufferSizeDetails (job.sampleRate, hostBlockSize);
    processor.prepareToPlay (job.sampleRate, hostBlockSize);

    current->editor.reset (dynamic_cast<OrvantaZeltoMeterAudioProcessorEditor*> (processor.createEditor()));
    current->editor->setSize (job.width, job.height);

    // The click arrives as a message; rendering is queued behind it.
    const int mode = job.modes[index];

    if (processor.engine.modeButtons[mode].isEnabled())
        processor.engine.modeButtons[mode].triggerClick();

    juce::MessageManager::callAsync ([this, index] { Render (index); });
}

void SnapshotSession::Render (int index)
{
    auto& processor = current->processor;
    auto& editor = *current->editor;
    const int length = job.audio.getNumSamples();

    // The tempo view shows something only once its ring has filled: a short input is looped
    // until it has.
    const bool tempo = job.modes[index] == 5;
    const int total = tempo ? std::max (length, processor.engine.bpmCountView.fftSize) : length;

    // The editor is refreshed every 1/60 s of audio, on a clock that follows the audio.
    const double refreshPeriod = job.sampleRate / 60.0;
    const std::int64_t clockStart = 1000000000;
    double nextRefresh = refreshPeriod;

    juce::AudioBuffer<float> block (2, hostBlockSize);
    juce::MidiBuffer midi;

    for (int start = 0; start < total; start += hostBlockSize)
    {
        const int count = std::min (hostBlockSize, total - start);
        block.setSize (2, count, false, false, true);
        CopyLooped (block, start);

        current->playHead.seconds = start / job.sampleRate;
        processor.processBlock (block, midi);

        const int done = start + count;

        while (done >= nextRefresh)
        {
            editor.Refresh (clockStart + (std::int64_t) (nextRefresh / job.sampleRate * 1.0e9));
            nextRefresh += refreshPeriod;
        }

        ShowProgress (index, (double) done / total);
    }

    const auto name = juce::String (ZeltoMeter::modeNames[job.modes[index]]).toLowerCase();
    const auto file = job.outputDirectory.getChildFile (name + ".png");
    const auto image = editor.createComponentSnapshot (editor.getLocalBounds(), true, 1.0f);

    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;

    if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
    {
        std::fprintf (stderr, "\nzelto-snapshot: cannot write %s\n", file.getFullPathName().toRawUTF8());
        current.reset();
        onDone (false);
        return;
    }

    std::printf ("%s\n", file.getFullPathName().toRawUTF8());
    current.reset();
    juce::MessageManager::callAsync ([this, index] { Begin (index + 1); });
}

void SnapshotSession::CopyLooped (juce::AudioBuffer<float>& block, int start) const
{
    const int length = job.audio.getNumSamples();
    const int sourceChannels = job.audio.getNumChannels();

    for (int done = 0; done < block.getNumSamples();)
    {
        const int from = (start + done) % length;
        const int count = std::min (block.getNumSamples() - done, length - from);

        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, done, job.audio, std::min (ch, sourceChannels - 1), from, count);

        done += count;
    }
}

void SnapshotSession::ShowProgress (int modeIndex, double fractionOfMode)
{
    // Only long inputs get a progress bar.
    if (job.audio.getNumSamples() < (int) (60.0 * job.sampleRate))
        return;

    const int percent = (int) (100.0 * (modeIndex + fractionOfMode) / job.modes.size());

    if (percent == lastPercent)
        return;

    lastPercent = percent;
    const int filled = percent / 4;
    std::fprintf (stderr, "\r[%.*s%*s] %3d%%", filled, "#########################", 25 - filled, "", percent);

    if (percent == 100)
        std::fprintf (stderr, "\n");
}
