// libFuzzer target: any bytes at all handed to the base class's setStateInformation must leave
// the processor consistent: parameters within 0 .. 1, and a save that reads back.

#include "../MinimalProcessor.h"
#include "maker/SettingsDocument.h"

#include <cstdint>
#include <cstdlib>

namespace
{
class FuzzProcessor : public MinimalProcessor
{
public:
    FuzzProcessor()
    {
        addParameter (new juce::AudioParameterFloat ({ "gain", 1 }, "Gain",
                                                     juce::NormalisableRange<float> (0.0f, 1.0f), 0.5f));
        addParameter (new juce::AudioParameterFloat ({ "mix", 1 }, "Mix",
                                                     juce::NormalisableRange<float> (0.0f, 1.0f), 0.75f));
        AddPreset ("One", "gain=\"0.1\"");
        AddPreset ("Two", "mix=\"0.9\" zzz=\"2\"");
    }
};

void Check (bool condition)
{
    if (! condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    static const juce::ScopedJuceInitialiser_GUI juce;
    FuzzProcessor processor;

    processor.setStateInformation (data, (int) std::min<std::size_t> (size, 1 << 24));

    for (auto* parameter : processor.getParameters())
        Check (parameter->getValue() >= 0.0f && parameter->getValue() <= 1.0f);

    // What was read saves again as a document that parses.
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    Check (SettingsDocument::Parse (saved.getData(), (int) saved.getSize()) != nullptr);

    // The same bytes can also arrive while presets are being selected.
    juce::AudioBuffer<float> buffer (2, 4);
    buffer.clear();
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    processor.setCurrentProgram ((int) (size % 4));
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    return 0;
}
