#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
/** Each test starts with no preferences file and removes what it wrote. */
class Preferences : public testing::Test
{
protected:
    void SetUp() override { removeFolder(); }
    void TearDown() override { removeFolder(); }

    static juce::File prefsFile() { return QuillaneAudioProcessor().globalPrefsFile(); }
    static void removeFolder() { prefsFile().getParentDirectory().getParentDirectory().deleteRecursively(); }

    static void writePrefs (const char* bytes) { writePrefs (bytes, std::strlen (bytes)); }
    static void writePrefs (const juce::String& text) { writePrefs (text.toRawUTF8(), text.getNumBytesAsUTF8()); }
    static void writePrefs (const char* bytes, size_t size)
    {
        prefsFile().getParentDirectory().createDirectory();
        ASSERT_TRUE (prefsFile().replaceWithData (bytes, size));
    }
};
} // namespace

TEST_F (Preferences, LiveInTheMusicFolderAndStayOutOfTheRealHome)
{
    const auto file = prefsFile();
    EXPECT_EQ (file.getFileName(), "Preferences.xml");
    EXPECT_EQ (file.getParentDirectory().getFileName(), "Quillane");
    EXPECT_EQ (file.getParentDirectory().getParentDirectory().getFileName(), "Audio Music Apps");
    EXPECT_TRUE (file.getFullPathName().contains ("test-home")) << "tests must run with HOME set by CTest";
}

TEST_F (Preferences, DefaultsWithoutAFile)
{
    QuillaneAudioProcessor p;
    EXPECT_TRUE (p.lightMode);
    EXPECT_FALSE (p.hideInfo);
    EXPECT_TRUE (p.hideWaveforms);
    EXPECT_EQ (p.zoom, 1.0f);
    EXPECT_FALSE (p.savedNullMode);
    EXPECT_TRUE (p.updateSeen.isEmpty());
}

TEST_F (Preferences, SavingCreatesTheFoldersAndWritesEveryAttributeInOrder)
{
    {
        QuillaneAudioProcessor p;
        p.lightMode = false;
        p.hideInfo = true;
        p.hideWaveforms = false;
        p.zoom = 1.25f;
        p.updateSeen = "1.0.7";
        p.saveGlobalPreferences();
    }
    const auto xml = juce::parseXML (prefsFile());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PREFERENCES");
    const juce::StringArray expectedNames { "uiLightMode", "uiHideInfo", "uiShowWaveforms", "uiZoom", "uiNullMode", "updateSeen" };
    const juce::StringArray expectedValues { "0", "1", "1", "1.25", "0", "1.0.7" };
    ASSERT_EQ (xml->getNumAttributes(), expectedNames.size());
    for (int i = 0; i < expectedNames.size(); ++i)
    {
        EXPECT_EQ (xml->getAttributeName (i), expectedNames[i]);
        EXPECT_EQ (xml->getAttributeValue (i), expectedValues[i]) << expectedNames[i];
    }

    QuillaneAudioProcessor reread;
    EXPECT_FALSE (reread.lightMode);
    EXPECT_TRUE (reread.hideInfo);
    EXPECT_FALSE (reread.hideWaveforms);
    EXPECT_EQ (reread.zoom, 1.25f);
    EXPECT_EQ (reread.updateSeen, "1.0.7");
}

TEST_F (Preferences, EmptyUpdateSeenIsWrittenAsAnEmptyAttribute)
{
    QuillaneAudioProcessor().saveGlobalPreferences();
    const auto xml = juce::parseXML (prefsFile());
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasAttribute ("updateSeen"));
    EXPECT_EQ (xml->getStringAttribute ("updateSeen", "missing"), "");
    EXPECT_EQ (xml->getStringAttribute ("uiZoom"), "1.0");
}

TEST_F (Preferences, ValuesAreReadByTheFrameworksRules)
{
    struct Case { const char* xml; bool hideWaveforms; bool lightMode; float zoom; };
    const Case cases[] = {
        { R"(<preferences uiShowWaveforms="1"/>)", false, true, 1.0f },
        { R"(<PREFERENCES uiShowWaveforms="true" uiLightMode="no"/>)", false, false, 1.0f },
        { R"(<PREFERENCES uiShowWaveforms="yes" uiLightMode="0" uiZoom="0.75"/>)", false, false, 0.75f },
        { R"(<PREFERENCES uiShowWaveforms="0" uiZoom="2"/>)", true, true, 2.0f },
        { R"(<PREFERENCES UISHOWWAVEFORMS="1"/>)", true, true, 1.0f },
        // A zoom the menu cannot set would make the window unusable.
        { R"(<PREFERENCES uiZoom="nan"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="inf"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="0"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="abc"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="-1.5"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="1e300"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiZoom="2.5"/>)", true, true, 1.0f },
        { R"(<OTHER uiShowWaveforms="1" uiLightMode="0"/>)", true, true, 1.0f },
        { R"(<PREFERENCES uiShowWaveforms="1" uiLightMode="0"><open></PREFERENCES>)", true, true, 1.0f },
        { R"(<PREFERENCES uiShowWaveforms="1 uiLightMode="0"/>)", true, true, 1.0f },
        { "\xff\xfe garbage \x01", true, true, 1.0f },
        { "", true, true, 1.0f },
    };
    for (const auto& c : cases)
    {
        writePrefs (c.xml);
        QuillaneAudioProcessor p;
        EXPECT_EQ (p.hideWaveforms, c.hideWaveforms) << c.xml;
        EXPECT_EQ (p.lightMode, c.lightMode) << c.xml;
        EXPECT_EQ (p.zoom, c.zoom) << c.xml;
    }
}

TEST_F (Preferences, NullModeIsReadButNeverKept)
{
    writePrefs (R"(<PREFERENCES uiNullMode="1" uiHideInfo="1"/>)");
    QuillaneAudioProcessor p;
    EXPECT_FALSE (p.savedNullMode);
    EXPECT_TRUE (p.hideInfo);
    p.saveGlobalPreferences();
    EXPECT_EQ (juce::parseXML (prefsFile())->getStringAttribute ("uiNullMode"), "0");
}

TEST_F (Preferences, AFolderOrAHugeFileInPlaceOfTheFileGivesDefaults)
{
    prefsFile().createDirectory();
    ASSERT_TRUE (prefsFile().getChildFile ("keep.txt").replaceWithText ("mine"));
    {
        QuillaneAudioProcessor p;
        EXPECT_TRUE (p.lightMode);
        p.saveGlobalPreferences(); // must neither crash nor replace the folder
    }
    EXPECT_EQ (prefsFile().getChildFile ("keep.txt").loadFileAsString(), "mine") << "nothing of the user's is lost";
    prefsFile().deleteRecursively();

    juce::String huge ("<PREFERENCES uiLightMode=\"0\" pad=\"");
    huge << juce::String::repeatedString ("x", 3 << 20) << "\"/>";
    writePrefs (huge);
    QuillaneAudioProcessor p;
    EXPECT_TRUE (p.lightMode);
}
