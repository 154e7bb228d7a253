// What a host sees of the real bundle: identity, buses, parameters, programs,
// latency, parameter round trips and saved state.

#include "HostFixture.h"

namespace
{
    struct ParameterCase
    {
        const char* name;
        float defaultValue;
        const char* text;
    };

    const ParameterCase parameterCases[] =
    {
        { "LowFreq",      0.1852f,  "80.0 Hz" },
        { "LowGain",      0.5f,     "0.0 dB" },
        { "LowMidFreq",   0.5f,     "225.0 Hz" },
        { "LowMidGain",   0.5f,     "0.0 dB" },
        { "LowMidQ",      0.3023f,  "2.0" },
        { "MidFreq",      0.5f,     "1415.0 Hz" },
        { "MidGain",      0.5f,     "0.0 dB" },
        { "MidQ",         0.3023f,  "2.0" },
        { "HighMidFreq",  0.5f,     "8.9 kHz" },
        { "HighMidGain",  0.5f,     "0.0 dB" },
        { "HighMidQ",     0.3023f,  "2.0" },
        { "HighFreq",     0.5f,     "13.8 kHz" },
        { "HighGain",     0.5f,     "0.0 dB" },
        { "Outgain",      0.5f,     "0.0 dB" },
        { "Bypass",       0.0f,     "0.0" },
        { "LMF_In",       1.0f,     "1.0" },
        { "MF_In",        1.0f,     "1.0" },
        { "HMF_In",       1.0f,     "1.0" },
        { "LPHP_In",      0.0f,     "0.0" },
        { "Lowcut_In",    1.0f,     "1.0" },
        { "LF_In",        1.0f,     "1.0" },
        { "Highcut_In",   1.0f,     "1.0" },
        { "HF_In",        1.0f,     "1.0" },
        { "HighpassFreq", 0.056842107f, "20.8 Hz" },
        { "LowpassFreq",  1.0f,     "22.0 kHz" },
    };
}

TEST_F (HostFixture, ReportsTheIdentityAHostShows)
{
    const auto found = PluginHost::scan (bundle());
    ASSERT_EQ (found.size(), 1);
    const auto& d = *found[0];

    EXPECT_EQ (d.name, "Lumarin");
    EXPECT_EQ (d.manufacturerName, "Qorv");
    EXPECT_EQ (d.version, "1.2.7");
    EXPECT_EQ (d.pluginFormatName, "VST3");
    EXPECT_TRUE (d.category.contains ("Fx")) << d.category;
    EXPECT_FALSE (d.isInstrument);

    EXPECT_EQ (plugin->getName(), "Lumarin");
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_TRUE (plugin->hasEditor());
}

TEST_F (HostFixture, HasOneStereoInputAndOneStereoOutputBus)
{
    ASSERT_EQ (plugin->getBusCount (true), 1);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getBus (true, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (plugin->getBus (false, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (plugin->getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);
}

TEST_F (HostFixture, ShowsTheTwentyFiveParametersThenTheWrappersOwn)
{
    const auto& params = plugin->getParameters();
    ASSERT_EQ (params.size(), 27);

    for (int i = 0; i < 25; ++i)
    {
        const auto& c = parameterCases[i];
        SCOPED_TRACE (c.name);
        EXPECT_EQ (params[i]->getName (100), c.name);
        EXPECT_NEAR (params[i]->getDefaultValue(), c.defaultValue, 1.0e-6f);
        EXPECT_NEAR (params[i]->getValue(), c.defaultValue, 1.0e-6f);
        EXPECT_EQ (params[i]->getCurrentValueAsText(), c.text);
        EXPECT_TRUE (params[i]->isAutomatable());
        EXPECT_FALSE (params[i]->isDiscrete());
    }

    // The wrapper adds a host bypass and a program-change parameter.
    EXPECT_NE (plugin->getBypassParameter(), nullptr);
    EXPECT_NE (params.indexOf (plugin->getBypassParameter()), -1);
    EXPECT_NE (params.indexOf (plugin->getBypassParameter()), 14);   // not the plug-in's own Bypass
}

TEST_F (HostFixture, OffersTenProgramsWithEmptyNames)
{
    EXPECT_EQ (plugin->getNumPrograms(), 10);
    EXPECT_EQ (plugin->getCurrentProgram(), 0);

    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE (plugin->getProgramName (i).isEmpty()) << plugin->getProgramName (i);

    plugin->setCurrentProgram (3);
    runSilentBlock();
    EXPECT_EQ (plugin->getCurrentProgram(), 3);
    EXPECT_TRUE (containsText (componentState(), "current_program=\"3\"/>"));
}

TEST_F (HostFixture, AParameterSetThroughTheHostReachesThePlugin)
{
    parameter (5).setValueNotifyingHost (0.2f);
    runSilentBlock();

    EXPECT_NEAR (parameter (5).getValue(), 0.2f, 1.0e-6f);
    EXPECT_EQ (parameter (5).getCurrentValueAsText(), "764.0 Hz");
    EXPECT_TRUE (containsText (componentState(), "MidFreq=\"0.2000000029802322\""));
}

TEST_F (HostFixture, AStateSavedFromOneInstanceRestoresIntoAFreshOne)
{
    parameter (5).setValueNotifyingHost (0.2f);
    parameter (14).setValueNotifyingHost (1.0f);
    parameter (0).setValueNotifyingHost (0.75f);
    runSilentBlock();
    const auto saved = hostState();

    juce::String error;
    auto fresh = PluginHost::load (bundle(), sampleRate, blockSize, error);
    ASSERT_NE (fresh, nullptr) << error;

    fresh->setStateInformation (saved.getData(), (int) saved.getSize());
    TestSupport::runPendingMessages();

    EXPECT_NEAR (fresh->getParameters()[5]->getValue(), 0.2f, 1.0e-6f);
    EXPECT_NEAR (fresh->getParameters()[14]->getValue(), 1.0f, 1.0e-6f);
    EXPECT_NEAR (fresh->getParameters()[0]->getValue(), 0.75f, 1.0e-6f);

    juce::MemoryBlock again;
    fresh->getStateInformation (again);
    EXPECT_EQ (again, saved);

    fresh->releaseResources();
}

TEST_F (HostFixture, ComponentStateWrapsTheBlobInTheVst2BankRecord)
{
    const auto state = componentState();
    ASSERT_GT (state.getSize(), 176u + 9u);
    const auto* bytes = static_cast<const char*> (state.getData());

    // The wrapper's header, then the bank record: 'CcnK', size, 'FBCh',
    // version 2, the plug-in id, its version, and the chunk size at byte 156
    // of the record, the chunk itself from byte 160.
    EXPECT_EQ (juce::String (bytes, 4), "VstW");
    const auto* bank = bytes + 16;
    EXPECT_EQ (juce::String (bank, 4), "CcnK");
    EXPECT_EQ (juce::String (bank + 8, 4), "FBCh");
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (bank + 12), 2u);
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (bank + 20), (juce::uint32) 0x10207);

    // The chunk is the plug-in's own 484-byte blob, followed by the
    // framework's small private record.
    const auto chunkSize = juce::ByteOrder::bigEndianInt (bank + 156);
    EXPECT_GE (chunkSize, 484u);
    ASSERT_EQ (state.getSize(), 176u + chunkSize);

    const auto* chunk = bank + 160;
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (chunk), 0x21324356u);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (chunk + 4), 475u);
    EXPECT_EQ (chunk[483], 0);
    EXPECT_TRUE (juce::String (chunk + 8, 475).startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS LowFreq=\"0.1852\""));
}
