// zelto-snapshot: runs audio through the real processor and editor offline and writes the
// editor as PNG, one file per analysis mode.

#include "DemoSignal.h"
#include "SnapshotSession.h"
#include "meter/ZeltoMeter.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <optional>

namespace
{
const char* const usage =
    "usage: zelto-snapshot [--input FILE] [--mode spectrum|low|high|stereo|amplitude|bpm|all]"
    " [--size WxH] [--rate HZ] --out DIR";

struct Options
{
    juce::String input;
    juce::String mode = "all";
    int width = 700;
    int height = 450;
    std::optional<double> rate;
    juce::String out;
};

bool Fail (const juce::String& message)
{
    std::fprintf (stderr, "zelto-snapshot: %s\n", message.toRawUTF8());
    return false;
}

bool ParseSize (const juce::String& text, Options& options)
{
    const auto w = text.upToFirstOccurrenceOf ("x", false, true);
    const auto h = text.fromFirstOccurrenceOf ("x", false, true);

    if (! w.containsOnly ("0123456789") || ! h.containsOnly ("0123456789") || w.isEmpty() || h.isEmpty()
        || w.length() > 5 || h.length() > 5)
        return Fail ("--size wants WxH, for example 700x450");

    options.width = w.getIntValue();
    options.height = h.getIntValue();

    if (options.width < 300 || options.height < 200 || options.width > 8192 || options.height > 8192)
        return Fail ("--size must lie between 300x200 and 8192x8192");

    return true;
}

bool ParseRate (const juce::String& text, Options& options)
{
    const double rate = text.getDoubleValue();

    if (! text.containsOnly ("0123456789.") || rate < 1000.0 || rate > 768000.0)
        return Fail ("--rate wants a sample rate between 1000 and 768000 Hz");

    options.rate = rate;
    return true;
}

bool ParseArguments (const juce::StringArray& args, Options& options)
{
    for (int i = 0; i < args.size(); ++i)
    {
        const auto& name = args[i];

        if (! name.startsWith ("--"))
            return Fail ("unexpected argument '" + name + "'; see --help");

        if (i + 1 >= args.size())
            return Fail (name + " needs a value");

        const auto value = args[++i];

        if (name == "--input")
            options.input = value;
        else if (name == "--mode")
            options.mode = value.toLowerCase();
        else if (name == "--out")
            options.out = value;
        else if (name == "--size" && ! ParseSize (value, options))
            return false;
        else if (name == "--rate" && ! ParseRate (value, options))
            return false;
        else if (! juce::StringArray { "--input", "--mode", "--out", "--size", "--rate" }.contains (name))
            return Fail ("unknown option " + name + "; see --help");
    }

    if (options.out.isEmpty())
        return Fail ("--out DIR is required; see --help");

    if (options.rate.has_value() && options.input.isNotEmpty())
        return Fail ("--rate applies to the demo only; a file plays at its own rate");

    return true;
}

bool SelectModes (const juce::String& mode, juce::Array<int>& modes)
{
    for (int i = 0; i < ZeltoMeter::numModes; ++i)
        if (mode == "all" || mode == juce::String (ZeltoMeter::modeNames[i]).toLowerCase())
            modes.add (i);

    return ! modes.isEmpty()
           || Fail ("unknown mode '" + mode + "' (spectrum, low, high, stereo, amplitude, bpm or all)");
}

bool LoadInput (const Options& options, SnapshotSession::Job& job)
{
    if (options.input.isEmpty())
    {
        job.sampleRate = options.rate.value_or (48000.0);
        job.audio = DemoSignal::Render (job.sampleRate);
        return true;
    }

    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile (options.input);

    if (! file.existsAsFile())
        return Fail ("no such file: " + file.getFullPathName());

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
        return Fail ("cannot read " + file.getFullPathName() + " (not a WAV, AIFF, FLAC or Ogg Vorbis file)");

    if (reader->lengthInSamples <= 0 || reader->lengthInSamples > std::numeric_limits<int>::max()
        || reader->sampleRate < 1000.0 || reader->numChannels == 0)
        return Fail ("unusable audio in " + file.getFullPathName());

    const int channels = (int) std::min (reader->numChannels, 2u);
    job.sampleRate = reader->sampleRate;
    job.audio.setSize (channels, (int) reader->lengthInSamples);

    if (! reader->read (&job.audio, 0, (int) reader->lengthInSamples, 0, true, channels > 1))
        return Fail ("cannot read the samples of " + file.getFullPathName());

    return true;
}

bool Prepare (const juce::StringArray& args, SnapshotSession::Job& job)
{
    Options options;

    if (! ParseArguments (args, options) || ! SelectModes (options.mode, job.modes)
        || ! LoadInput (options, job))
        return false;

    job.width = options.width;
    job.height = options.height;
    job.outputDirectory = juce::File::getCurrentWorkingDirectory().getChildFile (options.out);

    if (! job.outputDirectory.createDirectory())
        return Fail ("cannot create " + job.outputDirectory.getFullPathName());

    return true;
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    if (args.contains ("--help") || args.contains ("-h"))
    {
        std::printf ("%s\n", usage);
        return 0;
    }

    SnapshotSession::Job job;

    if (! Prepare (args, job))
        return 1;

    bool succeeded = false;
    SnapshotSession session (std::move (job),
                             [&succeeded] (bool ok)
                             {
                                 succeeded = ok;
                                 juce::MessageManager::getInstance()->stopDispatchLoop();
                             });

    juce::MessageManager::callAsync ([&session] { session.Start(); });
    juce::MessageManager::getInstance()->runDispatchLoop();
    return succeeded ? 0 : 1;
}
