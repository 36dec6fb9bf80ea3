#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <functional>

/** Renders the editor of a real processor to PNG files after running audio through it offline,
    one analysis mode after the other.

    Each mode gets a fresh processor and editor. The mode button is clicked like a user clicks
    it, through the message loop, so the session runs as a chain of messages: begin (open the
    editor, click), then render (process, refresh, snapshot), then the next mode.
*/
class SnapshotSession
{
public:
    struct Job
    {
        juce::AudioBuffer<float> audio;
        double sampleRate = 48000.0;
        juce::Array<int> modes;
        int width = 700;
        int height = 450;
        juce::File outputDirectory;
    };

    /** done receives true when every PNG was written. */
    SnapshotSession (Job jobToRun, std::function<void (bool)> done);
    ~SnapshotSession();

    /** Starts the first mode; call on the message thread. */
    void Start();

    static constexpr int hostBlockSize = 512;

private:
    void Begin (int index);
    void Render (int index);
    void CopyLooped (juce::AudioBuffer<float>& block, int start) const;
    void ShowProgress (int modeIndex, double fractionOfMode);

    Job job;
    std::function<void (bool)> onDone;
    struct Mode;
    std::unique_ptr<Mode> current;
    int lastPercent = -1;
};
