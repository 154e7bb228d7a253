// The processor as the host and the editor see it: identity, buses, the
// parameter set, the indexed interface, the lookups by name and the change
// broadcast.

#include "MessageLoop.h"

#include <processor/OstrelEqAudioProcessor.h>

#include <gtest/gtest.h>

namespace
{
    /** Counts the change callbacks a listening editor would get. */
    struct ChangeCounter  : juce::ChangeListener
    {
        explicit ChangeCounter (juce::ChangeBroadcaster& b) : broadcaster (b) { broadcaster.addChangeListener (this); }
        ~ChangeCounter() override { broadcaster.removeChangeListener (this); }
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }

        juce::ChangeBroadcaster& broadcaster;
        int count = 0;
    };

    struct ProcessorTest  : ::testing::Test
    {
        OstrelEqAudioProcessor processor;
    };
}

TEST_F (ProcessorTest, ReportsItsIdentity)
{
    EXPECT_EQ (processor.getName(), "Lumarin");
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getLatencySamples(), 0);

    EXPECT_STREQ (JucePlugin_Name, "Lumarin");
    EXPECT_STREQ (JucePlugin_Manufacturer, "Qorv");
    EXPECT_STREQ (JucePlugin_VersionString, "1.2.7");
    EXPECT_STREQ (JucePlugin_Vst3Category, "Fx");
    EXPECT_EQ (JucePlugin_ManufacturerCode, 0x516f7276);   // 'Qorv'
    EXPECT_EQ (JucePlugin_PluginCode, 0x4f734571);         // 'OsEq'
    EXPECT_EQ (JucePlugin_IsSynth, 0);
    EXPECT_EQ (JucePlugin_VersionCode, 0x10207);
    EXPECT_EQ (JUCE_VST3_CAN_REPLACE_VST2, 1);
}

TEST_F (ProcessorTest, DeclaresOneStereoBusEachWayInactiveByDefault)
{
    ASSERT_EQ (processor.getBusCount (true), 1);
    ASSERT_EQ (processor.getBusCount (false), 1);

    for (const bool isInput : { true, false })
    {
        auto* bus = processor.getBus (isInput, 0);
        EXPECT_EQ (bus->getName(), isInput ? "Input" : "Output");
        EXPECT_EQ (bus->getDefaultLayout(), juce::AudioChannelSet::stereo());
        EXPECT_FALSE (bus->isEnabledByDefault());
    }

    EXPECT_EQ (processor.getInputChannelName (0), "1");
    EXPECT_EQ (processor.getOutputChannelName (1), "2");
    EXPECT_TRUE (processor.isInputChannelStereoPair (0));
    EXPECT_TRUE (processor.isOutputChannelStereoPair (0));
}

TEST_F (ProcessorTest, AaxIdentifiersFollowTheMainInputLayout)
{
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();

    EXPECT_EQ (processor.getAAXPluginIDForMainBusConfig (stereo, stereo, false), 0x6a636161);
    EXPECT_EQ (processor.getAAXPluginIDForMainBusConfig (mono, stereo, false), 0x6a636162);
    EXPECT_EQ (processor.getAAXPluginIDForMainBusConfig (stereo, mono, true), 0x6a796161);
}

TEST_F (ProcessorTest, FreshInstanceHasTheDefaultsAsSingleFloats)
{
    struct Case { int index; const char* name; float value; };

    const Case cases[] =
    {
        {  0, "LowFreq",      0.1852f },
        {  1, "LowGain",      0.5f },
        {  4, "LowMidQ",      0.3023f },
        {  7, "MidQ",         0.3023f },
        { 13, "Outgain",      0.5f },
        { 14, "Bypass",       0.0f },
        { 15, "LMF_In",       1.0f },
        { 18, "LPHP_In",      0.0f },
        { 19, "Lowcut_In",    1.0f },
        { 21, "Highcut_In",   1.0f },
        { 23, "HighpassFreq", (float) 0.05684210526315789 },
        { 24, "LowpassFreq",  1.0f },
    };

    EXPECT_EQ (processor.getNumParameters(), 25);
    EXPECT_EQ (processor.getNumPrograms(), 10);
    EXPECT_EQ (processor.getCurrentProgram(), 0);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (processor.getParameterName (c.index), c.name);
        EXPECT_EQ (processor.getParameter (c.index), c.value);
        EXPECT_EQ (processor.getParameterDefaultValue (c.index), c.value);
        EXPECT_EQ (processor.getParameterByName (c.name), c.value);
        EXPECT_EQ (processor.getParameterIndexByName (c.name), c.index);
    }

    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE (processor.getProgramName (i).isEmpty());
}

TEST_F (ProcessorTest, IndicesAndNamesOutsideTheSetReadAsNothing)
{
    for (const int index : { -1, 25, 1000 })
    {
        EXPECT_TRUE (processor.getParameterName (index).isEmpty());
        EXPECT_EQ (processor.getParameter (index), 0.0f);
        EXPECT_EQ (processor.getParameterDefaultValue (index), 0.0f);
        EXPECT_EQ (processor.getParameterText (index), "0.0");
    }

    // Lookups are exact and case-sensitive.
    EXPECT_EQ (processor.getParameterIndexByName ("lowfreq"), -1);
    EXPECT_EQ (processor.getParameterIndexByName ("Nope"), -1);
    EXPECT_EQ (processor.getParameterByName ("Nope"), 0.0f);
}

TEST_F (ProcessorTest, SetParameterStoresLiveAndInTheCurrentSlotButKeepsTheDefault)
{
    processor.setParameter (5, 0.2f);

    EXPECT_EQ (processor.getParameter (5), 0.2f);
    EXPECT_EQ (processor.getParameterDefaultValue (5), 0.5f);

    // The slot followed: leaving program 0 and coming back restores the edit.
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getParameter (5), 0.5f);
    processor.setCurrentProgram (0);
    EXPECT_EQ (processor.getParameter (5), 0.2f);
}

TEST_F (ProcessorTest, WritesOutsideTheParameterSetAddNothing)
{
    juce::MemoryBlock before, after;
    processor.getStateInformation (before);

    processor.setParameter (25, 0.7f);
    processor.setParameter (-1, 0.7f);
    processor.setParameterByName ("NotAParameter", 0.7f);
    processor.setParameterByName ("", 0.7f);

    processor.getStateInformation (after);
    EXPECT_EQ (processor.getNumParameters(), 25);
    EXPECT_EQ (before, after);
}

TEST_F (ProcessorTest, ValuesOutsideZeroToOneAreStoredUnchanged)
{
    processor.setParameter (3, 1.5f);
    EXPECT_EQ (processor.getParameter (3), 1.5f);

    processor.setParameterByName ("MidGain", -0.25f);
    EXPECT_EQ (processor.getParameterByName ("MidGain"), -0.25f);
}

TEST_F (ProcessorTest, OnlyExactlyOneTurnsASwitchOn)
{
    struct Case { float value; bool on; };
    const Case cases[] = { { 1.0f, true }, { 0.999f, false }, { 0.5f, false }, { 0.0f, false }, { 1.0001f, false } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.value);
        processor.setParameter (20, c.value);    // LF_In
        EXPECT_EQ (processor.getParameter (20), c.value);
        EXPECT_EQ (processor.getLatestSettings().lowOn, c.on);

        processor.setParameterByName ("Bypass", c.value);
        EXPECT_EQ (processor.getLatestSettings().bypassed, c.on);
    }
}

TEST_F (ProcessorTest, EverySwitchDrivesItsOwnFlag)
{
    struct Case { const char* name; bool ChainSettings::* flag; };

    const Case cases[] =
    {
        { "Bypass",     &ChainSettings::bypassed },
        { "LMF_In",     &ChainSettings::lowMidOn },
        { "MF_In",      &ChainSettings::midOn },
        { "HMF_In",     &ChainSettings::highMidOn },
        { "LPHP_In",    &ChainSettings::passFiltersOn },
        { "LF_In",      &ChainSettings::lowOn },
        { "HF_In",      &ChainSettings::highOn },
        { "Lowcut_In",  &ChainSettings::lowCutOn },
        { "Highcut_In", &ChainSettings::highCutOn },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        processor.setParameterByName (c.name, 1.0f);
        EXPECT_TRUE (processor.getLatestSettings().*c.flag);

        processor.setParameterByName (c.name, 0.0f);
        const auto settings = processor.getLatestSettings();
        EXPECT_FALSE (settings.*c.flag);

        for (const auto& other : cases)
            if (&other != &c)
                EXPECT_EQ (settings.*other.flag, processor.getParameterByName (other.name) == 1.0f) << other.name;
    }
}

TEST_F (ProcessorTest, OutgainSetsTheHeadGainFactor)
{
    struct Case { float value; float factor; };
    const Case cases[] = { { 0.0f, 0.25118864f }, { 0.5f, 1.0f }, { 1.0f, 3.9810717f } };

    for (const auto& c : cases)
    {
        processor.setParameter (13, c.value);
        EXPECT_FLOAT_EQ (processor.getLatestSettings().outputGain, c.factor);
    }
}

TEST_F (ProcessorTest, SeveralChangesInOneEventReachAListenerOnce)
{
    TestSupport::runPendingMessages();
    ChangeCounter listener (processor);

    processor.setParameterByName ("Bypass", 1.0f);
    processor.setParameterByName ("LMF_In", 0.0f);
    processor.setParameter (5, 0.3f);
    EXPECT_EQ (listener.count, 0);   // delivered later, on the message thread

    TestSupport::runPendingMessages();
    EXPECT_EQ (listener.count, 1);
    EXPECT_TRUE (processor.getLatestSettings().bypassed);
    EXPECT_EQ (processor.getParameterByName ("Bypass"), 1.0f);

    // Storing the value a parameter already holds still updates and broadcasts.
    processor.setParameter (5, 0.3f);
    TestSupport::runPendingMessages();
    EXPECT_EQ (listener.count, 2);
}

TEST_F (ProcessorTest, ProgramChangeReachesAListenerAtMostTwice)
{
    TestSupport::runPendingMessages();
    ChangeCounter listener (processor);

    processor.setCurrentProgram (3);
    TestSupport::runPendingMessages();

    EXPECT_GE (listener.count, 1);
    EXPECT_LE (listener.count, 2);
}

TEST_F (ProcessorTest, ShowsHostTextsWithUnits)
{
    EXPECT_EQ (processor.getParameterText (0), "80.0 Hz");
    EXPECT_EQ (processor.getParameterText (13), "0.0 dB");
    EXPECT_EQ (processor.getParameterText (4), "2.0");
    EXPECT_EQ (processor.getParameterText (8), "8.9 kHz");
    EXPECT_EQ (processor.getParameterText (14), "0.0");
    EXPECT_EQ (processor.getParameterText (23), "20.8 Hz");
    EXPECT_EQ (processor.getParameterText (24), "22.0 kHz");
}
