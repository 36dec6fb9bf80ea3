// Loads the built bundle exactly as a host would and checks what a host sees.

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstmessage.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <cstring>
#include <memory>
#include <random>

namespace
{
juce::String bundlePath;

using juce::AudioChannelSet;

std::unique_ptr<juce::PluginDescription> Describe()
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundlePath);

    if (found.size() != 1)
        return nullptr;

    return std::make_unique<juce::PluginDescription> (*found[0]);
}

std::unique_ptr<juce::AudioPluginInstance> Load (double rate = 48000.0, int block = 512)
{
    const auto description = Describe();

    if (description == nullptr)
        return nullptr;

    juce::VST3PluginFormat format;
    juce::String error;
    auto instance = format.createInstanceFromDescription (*description, rate, block, error);
    EXPECT_TRUE (error.isEmpty()) << error;
    return instance;
}

TEST (HostLoad, DescribesThePlugIn)
{
    const auto d = Describe();
    ASSERT_NE (d, nullptr) << "no single plug-in found in " << bundlePath;

    EXPECT_EQ (d->name, "Orvanta Zelto Meter");
    EXPECT_EQ (d->manufacturerName, "Orvanta");
    EXPECT_EQ (d->category, "Fx|Analyzer");
    EXPECT_EQ (d->version, "1.0.0");
    EXPECT_EQ (d->pluginFormatName, "VST3");
    EXPECT_FALSE (d->isInstrument);
}

// Talks to the module directly through the VST 3 interfaces, the way a scanner or validator does.
class RawModule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto binary = juce::File (bundlePath)
                                .getChildFile ("Contents/x86_64-linux/Orvanta Zelto Meter.so")
                                .getFullPathName();
        ASSERT_TRUE (library.open (binary)) << binary;

        auto entry = (bool (*) (void*)) library.getFunction ("ModuleEntry");
        exitModule = (bool (*)()) library.getFunction ("ModuleExit");
        auto getFactory = (Steinberg::IPluginFactory * (*) ()) library.getFunction ("GetPluginFactory");
        ASSERT_TRUE (entry != nullptr && exitModule != nullptr && getFactory != nullptr);
        ASSERT_TRUE (entry (library.getNativeHandle()));
        factory = getFactory();
        ASSERT_NE (factory, nullptr);
    }

    void TearDown() override
    {
        if (factory != nullptr)
            factory->release();

        if (exitModule != nullptr)
            exitModule();
    }

    template <typename Interface>
    Interface* Create (int classIndex, const Steinberg::TUID iid)
    {
        Steinberg::PClassInfo info;

        if (factory->getClassInfo (classIndex, &info) != Steinberg::kResultOk)
            return nullptr;

        void* object = nullptr;
        factory->createInstance (info.cid, iid, &object);
        return static_cast<Interface*> (object);
    }

    juce::DynamicLibrary library;
    bool (*exitModule)() = nullptr;
    Steinberg::IPluginFactory* factory = nullptr;
};

TEST_F (RawModule, FactoryPublishesTheTwoClasses)
{
    Steinberg::PFactoryInfo info;
    ASSERT_EQ (factory->getFactoryInfo (&info), Steinberg::kResultOk);
    EXPECT_STREQ (info.vendor, "Orvanta");
    EXPECT_STREQ (info.url, "https://www.orvanta.audio");
    EXPECT_STREQ (info.email, "");
    EXPECT_EQ (info.flags, Steinberg::PFactoryInfo::kUnicode);

    Steinberg::IPluginFactory2* factory2 = nullptr;
    ASSERT_EQ (factory->queryInterface (Steinberg::IPluginFactory2_iid, (void**) &factory2),
               Steinberg::kResultOk);
    ASSERT_EQ (factory2->countClasses(), 2);

    struct Expected
    {
        const char* category;
        unsigned char id[16];
    };

    const Expected expected[] {
        { "Audio Module Class",
          { 0xAB, 0xCD, 0xEF, 0x01, 0x91, 0x82, 0xFA, 0xEB, 'O', 'r', 'V', 'n', 'Z', 'l', 't', 'o' } },
        { "Component Controller Class",
          { 0xAB, 0xCD, 0xEF, 0x01, 0x12, 0x34, 0xAB, 0xCD, 'O', 'r', 'V', 'n', 'Z', 'l', 't', 'o' } },
    };

    for (Steinberg::int32 i = 0; i < 2; ++i)
    {
        Steinberg::PClassInfo2 c;
        ASSERT_EQ (factory2->getClassInfo2 (i, &c), Steinberg::kResultOk);
        EXPECT_STREQ (c.category, expected[i].category);
        EXPECT_EQ (std::memcmp (c.cid, expected[i].id, 16), 0) << "class " << i;
        EXPECT_STREQ (c.name, "Orvanta Zelto Meter");
        EXPECT_EQ (c.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (c.classFlags, 0u);
        EXPECT_STREQ (c.subCategories, "Fx|Analyzer");
        EXPECT_STREQ (c.vendor, "Orvanta");
        EXPECT_STREQ (c.version, "1.0.0");
        EXPECT_STREQ (c.sdkVersion, "VST 3.8.0");
    }

    factory2->release();
}

// The program list a validator scans: one list holding one named program.
TEST_F (RawModule, ControllerListsOneNamedProgram)
{
    auto* component = Create<Steinberg::Vst::IComponent> (0, Steinberg::Vst::IComponent_iid);
    auto* controller = Create<Steinberg::Vst::IEditController> (1, Steinberg::Vst::IEditController_iid);
    ASSERT_TRUE (component != nullptr && controller != nullptr);
    ASSERT_EQ (component->initialize (nullptr), Steinberg::kResultOk);
    ASSERT_EQ (controller->initialize (nullptr), Steinberg::kResultOk);

    Steinberg::Vst::IConnectionPoint* componentPoint = nullptr;
    Steinberg::Vst::IConnectionPoint* controllerPoint = nullptr;
    component->queryInterface (Steinberg::Vst::IConnectionPoint_iid, (void**) &componentPoint);
    controller->queryInterface (Steinberg::Vst::IConnectionPoint_iid, (void**) &controllerPoint);
    ASSERT_TRUE (componentPoint != nullptr && controllerPoint != nullptr);
    componentPoint->connect (controllerPoint);
    controllerPoint->connect (componentPoint);

    Steinberg::Vst::IUnitInfo* units = nullptr;
    ASSERT_EQ (controller->queryInterface (Steinberg::Vst::IUnitInfo_iid, (void**) &units),
               Steinberg::kResultOk);
    ASSERT_EQ (units->getProgramListCount(), 1);

    Steinberg::Vst::ProgramListInfo list {};
    ASSERT_EQ (units->getProgramListInfo (0, list), Steinberg::kResultOk);
    ASSERT_EQ (list.programCount, 1);

    Steinberg::Vst::String128 name {};
    ASSERT_EQ (units->getProgramName (list.id, 0, name), Steinberg::kResultOk);
    EXPECT_EQ (juce::String (juce::CharPointer_UTF16 ((const juce::CharPointer_UTF16::CharType*) name)),
               "Default");

    units->release();
    componentPoint->disconnect (controllerPoint);
    controllerPoint->disconnect (componentPoint);
    componentPoint->release();
    controllerPoint->release();
    controller->terminate();
    component->terminate();
    controller->release();
    component->release();
}

TEST (HostLoad, AcceptsOnlyMatchingMonoAndStereoLayouts)
{
    auto instance = Load();
    ASSERT_NE (instance, nullptr);

    struct Case
    {
        AudioChannelSet in, out;
        bool accepted;
    };

    const Case cases[] {
        { AudioChannelSet::mono(), AudioChannelSet::mono(), true },
        { AudioChannelSet::stereo(), AudioChannelSet::stereo(), true },
        { AudioChannelSet::stereo(), AudioChannelSet::mono(), false },
        { AudioChannelSet::mono(), AudioChannelSet::stereo(), false },
        { AudioChannelSet::create5point1(), AudioChannelSet::create5point1(), false },
    };

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (instance->checkBusesLayoutSupported (layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

void ExpectBitExactPassThrough (juce::AudioPluginInstance& instance, const AudioChannelSet& set,
                                int blockSize)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    ASSERT_TRUE (instance.setBusesLayout (layout));

    instance.prepareToPlay (48000.0, blockSize);

    const int channels = set.size();
    std::mt19937 random (1234u + (unsigned) blockSize);
    std::uniform_real_distribution<float> level (-19.0f, 19.0f);
    juce::AudioBuffer<float> buffer (channels, blockSize);
    juce::AudioBuffer<float> expected (channels, blockSize);
    juce::MidiBuffer midi;

    for (int block = 0; block < 8; ++block)
    {
        for (int ch = 0; ch < channels; ++ch)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample (ch, i, level (random));

        expected.makeCopyOf (buffer);
        instance.processBlock (buffer, midi);

        for (int ch = 0; ch < channels; ++ch)
            ASSERT_EQ (std::memcmp (buffer.getReadPointer (ch), expected.getReadPointer (ch),
                                    sizeof (float) * (size_t) blockSize),
                       0)
                << set.getDescription() << ", block size " << blockSize << ", channel " << ch;
    }

    instance.releaseResources();
}

TEST (HostLoad, PassesAudioThroughBitExactly)
{
    auto instance = Load();
    ASSERT_NE (instance, nullptr);

    for (const auto& set : { AudioChannelSet::mono(), AudioChannelSet::stereo() })
        for (const int blockSize : { 1, 13, 64, 512, 4096 })
            ExpectBitExactPassThrough (*instance, set, blockSize);
}

TEST (HostLoad, SurvivesStateAndProgramCalls)
{
    auto instance = Load();
    ASSERT_NE (instance, nullptr);

    instance->setCurrentProgram (0);
    EXPECT_EQ (instance->getCurrentProgram(), 0);

    juce::MemoryBlock state;
    instance->getStateInformation (state);
    instance->setStateInformation (state.getData(), (int) state.getSize());
    const char junk[] = "not a state at all";
    instance->setStateInformation (junk, (int) sizeof (junk));
    EXPECT_EQ (instance->getName(), "Orvanta Zelto Meter");
}

TEST (HostLoad, CreatesAndDestroysItsEditor)
{
    auto instance = Load();
    ASSERT_NE (instance, nullptr);
    EXPECT_TRUE (instance->hasEditor());

    for (int round = 0; round < 2; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (instance->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        EXPECT_GT (editor->getWidth(), 0);
        instance->editorBeingDeleted (editor.get());
    }
}
} // namespace

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    if (argc < 2)
    {
        std::fprintf (stderr, "usage: zelto_host_test <path of the .vst3 bundle>\n");
        return 2;
    }

    bundlePath = juce::File (juce::String (argv[1])).getFullPathName();
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
