#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstunits.h>

namespace
{
juce::File bundle() { return juce::File (QUILLANE_VST3_BUNDLE); }

/** Pumps the message loop for a while, as a host's UI thread would. */
void runMessageLoopFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;
    while (juce::Time::getMillisecondCounter() < end)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
}

/** The plug-in's program names as a VST3 host reads them from the component's
    unit information (JUCE's own hosting only lists programs with a program
    change parameter, which a plug-in with one program does not have). */
juce::StringArray readProgramNames (juce::AudioPluginInstance& plugin)
{
    struct ComponentGrabber : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* component = nullptr;
    } grabber;
    plugin.getExtensions (grabber);

    juce::StringArray names;
    if (grabber.component == nullptr)
        return names;

    Steinberg::Vst::IUnitInfo* units = nullptr;
    if (grabber.component->queryInterface (Steinberg::Vst::IUnitInfo::iid, (void**) &units) != Steinberg::kResultOk
        || units == nullptr)
        return names;

    Steinberg::Vst::ProgramListInfo list {};
    if (units->getProgramListCount() > 0 && units->getProgramListInfo (0, list) == Steinberg::kResultOk)
    {
        for (Steinberg::int32 i = 0; i < list.programCount; ++i)
        {
            Steinberg::Vst::String128 name {};
            if (units->getProgramName (list.id, i, name) == Steinberg::kResultOk)
                names.add (juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (name))));
        }
    }
    units->release();
    return names;
}

class VST3Host : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (bundle().isDirectory()) << bundle().getFullPathName();
        juce::OwnedArray<juce::PluginDescription> found;
        format.findAllTypesForFile (found, bundle().getFullPathName());
        ASSERT_EQ (found.size(), 1);
        description = *found[0];
    }

    std::unique_ptr<juce::AudioPluginInstance> createInstance (double rate = 48000.0)
    {
        juce::String error;
        auto instance = format.createInstanceFromDescription (description, rate, 512, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    juce::VST3PluginFormat format;
    juce::PluginDescription description;
};
} // namespace

TEST_F (VST3Host, DescribesItselfAsAStereoInstrument)
{
    EXPECT_EQ (description.name, "Quillane");
    EXPECT_EQ (description.descriptiveName, "Quillane");
    EXPECT_EQ (description.category, "Instrument|Synth");
    EXPECT_EQ (description.version, "1.0.6");
    EXPECT_TRUE (description.isInstrument);
    EXPECT_EQ (description.pluginFormatName, "VST3");
}

TEST_F (VST3Host, HasOneStereoOutputNoInputAndOneProgram)
{
    auto plugin = createInstance();
    ASSERT_NE (plugin, nullptr);
    EXPECT_EQ (plugin->getName(), "Quillane");
    EXPECT_EQ (plugin->getBusCount (true), 0);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (plugin->getBus (false, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (plugin->getTotalNumInputChannels(), 0);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);
    EXPECT_EQ (readProgramNames (*plugin), juce::StringArray { "Default" });
    const auto described = plugin->getPluginDescription();
    EXPECT_EQ (described.numInputChannels, 0);
    EXPECT_EQ (described.numOutputChannels, 2);
    EXPECT_TRUE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_TRUE (plugin->hasEditor());
}

TEST_F (VST3Host, RendersSilenceWithNoTrackLoaded)
{
    for (auto rate : { 44100.0, 48000.0, 96000.0 })
    {
        auto plugin = createInstance (rate);
        ASSERT_NE (plugin, nullptr);
        plugin->prepareToPlay (rate, 512);
        juce::AudioBuffer<float> buffer (2, 512);
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 60, 0.8f), 10);
        for (int block = 0; block < 20; ++block)
        {
            for (int c = 0; c < 2; ++c)
                juce::FloatVectorOperations::fill (buffer.getWritePointer (c), 0.5f, 512);
            plugin->processBlock (buffer, midi);
            ASSERT_EQ (buffer.getMagnitude (0, 512), 0.0f) << rate << " block " << block;
        }
        plugin->releaseResources();
    }
}

TEST_F (VST3Host, OpensAndClosesItsEditorInARealWindow)
{
    auto plugin = createInstance();
    ASSERT_NE (plugin, nullptr);
    plugin->prepareToPlay (48000.0, 512);

    for (int round = 0; round < 2; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (plugin->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        juce::DocumentWindow window ("Quillane", juce::Colours::black, 0, true);
        window.setContentNonOwned (editor.get(), true);
        window.setVisible (true);
        runMessageLoopFor (400);
        EXPECT_TRUE (window.isOnDesktop());
        EXPECT_GT (editor->getWidth(), 0);
        EXPECT_GT (editor->getHeight(), 0);
        window.setContentNonOwned (nullptr, false);
        editor.reset();
        runMessageLoopFor (100);
    }
    plugin->releaseResources();
}
