#include "MinimalProcessor.h"
#include "maker/SettingsDocument.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
/** A processor with three parameters, two of them with identifiers, for the base's settings. */
class SettingsProcessor : public MinimalProcessor
{
public:
    explicit SettingsProcessor (bool withParameters = true)
    {
        if (withParameters)
        {
            addParameter (gain = new juce::AudioParameterFloat (
                              { "gain", 1 }, "Gain", juce::NormalisableRange<float> (0.0f, 1.0f), 0.5f));
            addParameter (new Anonymous());
            addParameter (mix = new juce::AudioParameterFloat (
                              { "mix", 1 }, "Mix", juce::NormalisableRange<float> (0.0f, 1.0f), 0.75f));
        }
    }

    void RunAudio()
    {
        juce::AudioBuffer<float> buffer (2, 16);
        buffer.clear();
        juce::MidiBuffer midi;
        processBlock (buffer, midi);
    }

    bool PreCalculatePending() const { return preCalculatePending.load(); }
    const std::map<juce::String, juce::String>& Settings() const { return settingsMap; }

    juce::AudioParameterFloat* gain = nullptr;
    juce::AudioParameterFloat* mix = nullptr;

private:
    /** A parameter without an identifier: the document leaves it out. */
    struct Anonymous : juce::AudioProcessorParameter
    {
        float getValue() const override { return 0.0f; }
        void setValue (float) override {}
        float getDefaultValue() const override { return 0.0f; }
        juce::String getName (int) const override { return "anonymous"; }
        juce::String getLabel() const override { return {}; }
        float getValueForText (const juce::String&) const override { return 0.0f; }
    };
};

std::unique_ptr<juce::XmlElement> Save (juce::AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return SettingsDocument::Parse (block.getData(), (int) block.getSize());
}

std::vector<juce::String> AttributeNames (const juce::XmlElement& element)
{
    std::vector<juce::String> names;
    for (int i = 0; i < element.getNumAttributes(); ++i)
        names.push_back (element.getAttributeName (i));
    return names;
}

/** Wraps a document's text as a saved state. */
juce::MemoryBlock Wrap (const juce::String& text)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8());
    out << text;
    out.writeByte (0);
    return block;
}

void Load (juce::AudioProcessor& processor, const juce::String& attributes,
           const juce::String& root = "settings")
{
    const auto block = Wrap ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <" + root + " " + attributes + "/>");
    processor.setStateInformation (block.getData(), (int) block.getSize());
}

TEST (SettingsDocument, SixDescriptiveAttributesInKeyOrder)
{
    SettingsProcessor processor (false);
    const auto element = Save (processor);
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getTagName(), "settings");

    const std::vector<juce::String> expected { "date_modified", "daw",        "plugin",
                                               "pluginversion", "samplerate", "username" };
    EXPECT_EQ (AttributeNames (*element), expected);
    EXPECT_EQ (element->getStringAttribute ("plugin"), "Orvanta Zelto Meter");
    EXPECT_EQ (element->getStringAttribute ("pluginversion"), "293");
    EXPECT_EQ (element->getStringAttribute ("samplerate"), "0") << "before any rate is known";
    EXPECT_EQ (element->getStringAttribute ("daw"),
               SettingsDocument::DawFromHostPath (
                   juce::File::getSpecialLocation (juce::File::hostApplicationPath).getFullPathName()));
    EXPECT_FALSE (element->getStringAttribute ("username").containsChar (','));

    const auto date = element->getStringAttribute ("date_modified");
    EXPECT_EQ (date.length(), 20) << date;
    EXPECT_TRUE (date.matchesWildcard ("20*-*-*T*:*:*Z", false)) << date;
    EXPECT_EQ (date, SettingsDocument::UtcTimestamp()) << "written a moment ago";

    processor.setRateAndBufferSizeDetails (44100.0, 512);
    EXPECT_EQ (Save (processor)->getStringAttribute ("samplerate"), "44100");
}

TEST (SettingsDocument, ParametersFirstThenSettingsAndUnknownOnesSurvive)
{
    SettingsProcessor processor;
    Load (processor, "zzz=\"1\" empty=\"\" gain=\"0.25\"");
    const auto element = Save (processor);

    const std::vector<juce::String> expected { "gain",       "mix",      "date_modified",
                                               "daw",        "plugin",   "pluginversion",
                                               "samplerate", "username", "zzz" };
    EXPECT_EQ (AttributeNames (*element), expected);
    EXPECT_EQ (element->getStringAttribute ("gain"), "0.2500");
    EXPECT_EQ (element->getStringAttribute ("mix"), "0.7500");
    EXPECT_EQ (element->getStringAttribute ("zzz"), "1");
    EXPECT_EQ (processor.Settings().count ("empty"), 0u) << "empty values are dropped on reading";
}

TEST (SettingsDocument, RootNameIgnoresCase)
{
    struct Case
    {
        const char* root;
        bool accepted;
    };

    for (const auto c : { Case { "settings", true }, Case { "SETTINGS", true }, Case { "Settings", true },
                          Case { "setting", false }, Case { "settingsx", false } })
    {
        SettingsProcessor processor;
        Load (processor, "gain=\"0.125\"", c.root);
        EXPECT_EQ (processor.gain->get() == 0.125f, c.accepted) << c.root;
        EXPECT_TRUE (processor.PreCalculatePending());
    }
}

TEST (SettingsDocument, ParameterTextsAreReadAndClamped)
{
    struct Case
    {
        const char* text;
        float expected;
    };

    for (const auto c :
         { Case { "1.5", 1.0f }, Case { "-2", 0.0f }, Case { "abc", 0.0f }, Case { "0.3", 0.3f },
           Case { " 0.6xyz", 0.6f }, Case { "nan", 0.0f }, Case { "1e400", 1.0f } })
    {
        SettingsProcessor processor;
        Load (processor, juce::String ("gain=\"") + c.text + "\"");
        EXPECT_FLOAT_EQ (processor.gain->get(), c.expected) << c.text;
        EXPECT_FLOAT_EQ (processor.mix->get(), 0.75f) << "an absent parameter keeps its value";
    }
}

TEST (SettingsDocument, RoundTripKeepsEveryAttribute)
{
    SettingsProcessor first;
    Load (first, "gain=\"0.125\" mix=\"1\" colour=\"blue &amp; &quot;green&quot;\" zzz=\"1\"");
    juce::MemoryBlock saved;
    first.getStateInformation (saved);

    SettingsProcessor second;
    second.setStateInformation (saved.getData(), (int) saved.getSize());
    const auto a = SettingsDocument::Parse (saved.getData(), (int) saved.getSize());
    const auto b = Save (second);

    ASSERT_EQ (AttributeNames (*a), AttributeNames (*b));
    for (const auto& name : AttributeNames (*a))
    {
        if (name != "date_modified")
        {
            EXPECT_EQ (a->getStringAttribute (name), b->getStringAttribute (name)) << name;
        }
    }
    EXPECT_EQ (b->getStringAttribute ("colour"), "blue & \"green\"");
}

TEST (SettingsDocument, HostPathsGiveTheirTrailingHalf)
{
    const std::pair<const char*, const char*> cases[] {
        { "/Host", "Host" },
        { "/x/y", "x/y" },
        { "/x/y/z", "y/z" },
        { "Host", "" },
        { "", "" },
        { "/Applications/Host.app/Contents/MacOS/Host", "Contents/MacOS/Host" },
        { "C:\\Program Files\\Host\\Host.exe", "Host/Host.exe" },
        { "/x/y/", "x/y" },
    };

    for (const auto& [path, daw] : cases)
        EXPECT_EQ (SettingsDocument::DawFromHostPath (path), daw) << path;
}

TEST (SettingsDocument, BadBlocksChangeNothing)
{
    const auto valid = Wrap ("<settings gain=\"0.125\" zzz=\"2\"/>");
    std::vector<juce::MemoryBlock> bad;
    bad.push_back ({});
    bad.push_back (juce::MemoryBlock (valid.getData(), 8));
    bad.push_back (juce::MemoryBlock (valid.getData(), 20));
    auto wrongMagic = valid;
    wrongMagic[0] = 0;
    bad.push_back (wrongMagic);
    for (const int length : { 0, -5 })
    {
        auto block = valid;
        std::memcpy (static_cast<char*> (block.getData()) + 4, &length, 4);
        bad.push_back (block);
    }
    bad.push_back (Wrap ("<settings gain=\"0.9\""));
    bad.push_back (Wrap ("<settings gain=\"0.9\"><a></settings>"));
    bad.push_back (Wrap ("not xml at all"));
    bad.push_back (
        Wrap (juce::String::repeatedString ("<a>", 200000) + juce::String::repeatedString ("</a>", 200000)));
    bad.push_back (Wrap ("<settings " + juce::String::repeatedString ("<", 100000) + "/>"));

    for (size_t i = 0; i < bad.size(); ++i)
    {
        SettingsProcessor processor;
        Load (processor, "gain=\"0.5\" keep=\"yes\"");
        processor.RunAudio();
        processor.setStateInformation (bad[i].getData(), (int) bad[i].getSize());

        EXPECT_EQ (processor.gain->get(), 0.5f) << "case " << i;
        EXPECT_EQ (processor.Settings().at ("keep"), "yes") << "case " << i;
        EXPECT_TRUE (processor.PreCalculatePending()) << "case " << i;
    }
}

TEST (SettingsDocument, LengthBeyondTheBlockReadsWhatIsThere)
{
    auto block = Wrap ("<settings gain=\"0.125\"/>");
    const int huge = 1 << 30;
    std::memcpy (static_cast<char*> (block.getData()) + 4, &huge, 4);
    SettingsProcessor processor;
    processor.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (processor.gain->get(), 0.125f);
}

TEST (SettingsDocument, InvalidUtf8IsReadWithoutRunningOffTheEnd)
{
    const char text[] = "<settings zzz=\"\xff\xfe\xc3\"/>";
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) sizeof (text) - 1);
    out.write (text, sizeof (text) - 1);
    out.flush();

    SettingsProcessor processor;
    processor.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_TRUE (processor.PreCalculatePending());
}

TEST (SettingsDocument, MalformedUtf8BecomesReplacementCharacters)
{
    const std::pair<std::string, std::string> cases[] {
        { "plain", "plain" },
        { "caf\xc3\xa9", "caf\xc3\xa9" },
        { "\xf0\x9f\x8e\xb5", "\xf0\x9f\x8e\xb5" },
        { "a\xff"
          "b",
          "a\xef\xbf\xbd"
          "b" },
        { "\xc3", "\xef\xbf\xbd" },
        { "\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd" },
        { "\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd" },
        { "\x80x", "\xef\xbf\xbdx" },
        { std::string ("ab\0cd", 5), "ab" },
    };

    for (const auto& [in, out] : cases)
        EXPECT_EQ (SettingsDocument::ValidUtf8 (in.data(), in.size()), out);

    // Found by the fuzzer: JUCE's own conversion of this text writes past its buffer.
    const unsigned char found[] = { 0x56, 0x43, 0x32, 0x21, 0x32, 0x46, 0x00, 0x00, 0x3c, 0x3f, 0x78, 0x6d,
                                    0x6c, 0x20, 0x76, 0x65, 0x32, 0x73, 0x69, 0x6f, 0x6e, 0x3d, 0x22, 0x21,
                                    0x2e, 0x30, 0x80, 0x22, 0x20, 0x65, 0x6e, 0x63, 0x6f, 0x64, 0x69, 0x9a,
                                    0x98, 0xc2, 0xdd, 0x55, 0x54, 0x46, 0x2d, 0x38, 0x22, 0x01, 0x08, 0x20,
                                    0x34, 0x73, 0x65, 0x74, 0x74, 0x69, 0x6e, 0x67, 0x73, 0x2f, 0x3e, 0x00 };
    SettingsProcessor processor;
    processor.setStateInformation (found, (int) sizeof (found));
    EXPECT_TRUE (processor.PreCalculatePending());
}

TEST (SettingsDocument, NestingDepth)
{
    const std::pair<const char*, int> cases[] {
        { "<settings a=\"1\"/>", 1 },
        { "<?xml version=\"1.0\"?> <settings/>", 1 },
        { "<a><b/><c><d></d></c></a>", 3 },
        { "<a x=\"/>\"><b></b></a>", 2 },
        { "<a><!-- <b> --><![CDATA[<c>]]></a>", 1 },
        { "<a><b></a>", -1 },
        { "<a", -1 },
    };

    for (const auto& [text, depth] : cases)
        EXPECT_EQ (SettingsDocument::NestingDepth (text, std::strlen (text)), depth) << text;
}

class Presets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor.AddPreset ("Soft", "gain=\"0.1\" zzz=\"soft\"");
        processor.AddPreset ("Medium", "gain=\"0.5\"");
        processor.AddPreset ("Loud", "gain=\"0.9\" mix=\"0.2\"");
    }

    SettingsProcessor processor;
};

TEST_F (Presets, SelectionAppliesAPresetOnceAudioRuns)
{
    processor.setCurrentProgram (2);
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    EXPECT_EQ (processor.gain->get(), 0.5f) << "nothing applies before a sample was processed";

    processor.RunAudio();
    processor.setCurrentProgram (2);
    EXPECT_FLOAT_EQ (processor.gain->get(), 0.9f);
    EXPECT_FLOAT_EQ (processor.mix->get(), 0.2f);

    processor.gain->setValueNotifyingHost (0.3f);
    processor.RunAudio();
    processor.setCurrentProgram (2);
    EXPECT_FLOAT_EQ (processor.gain->get(), 0.3f) << "selecting the applied preset again does nothing";

    processor.setCurrentProgram (0);
    EXPECT_FLOAT_EQ (processor.gain->get(), 0.1f);
    EXPECT_EQ (processor.Settings().at ("zzz"), "soft");

    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (processor.gain->get(), 0.1f) << "no second preset before the next sample";
}

TEST_F (Presets, NamesNeverChangeAndOddIndicesAreSafe)
{
    EXPECT_EQ (processor.getNumPrograms(), 3);
    processor.changeProgramName (1, "Renamed");
    EXPECT_EQ (processor.getProgramName (1), "Medium");
    EXPECT_EQ (processor.getProgramName (7), "");
    EXPECT_EQ (processor.getProgramName (-1), "");

    processor.RunAudio();
    processor.setCurrentProgram (7);
    EXPECT_EQ (processor.getCurrentProgram(), 7);
    EXPECT_EQ (processor.gain->get(), 0.5f);
    processor.setCurrentProgram (-3);
    EXPECT_EQ (processor.gain->get(), 0.5f);
}

TEST (PresetsDefault, AFreshProcessorHasOneDefaultProgramThatNeverApplies)
{
    SettingsProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getProgramName (0), "Default");
    processor.RunAudio();
    processor.setCurrentProgram (0);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_FALSE (processor.PreCalculatePending()) << "a single preset is never applied";
}

TEST (PresetsDefault, TheMeterProcessorKeepsItsOwnAnswers)
{
    OrvantaZeltoMeterAudioProcessor meter;
    meter.AddPreset ("One", "");
    meter.AddPreset ("Two", "");
    EXPECT_EQ (meter.getNumPrograms(), 1);
    EXPECT_EQ (meter.getProgramName (1), "Default");

    juce::MemoryBlock state;
    meter.getStateInformation (state);
    EXPECT_EQ (state.getSize(), 0u);
}
} // namespace
