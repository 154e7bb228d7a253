// Program slots that follow the user's edits, and the saved-state blob: its
// exact bytes, and reading it back (including every kind of bad blob).

#include "MessageLoop.h"

#include <processor/OstrelEqAudioProcessor.h>

#include <gtest/gtest.h>

namespace
{
    const char* const freshStateText =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS LowFreq=\"0.1852\" LowGain=\"0.5\" "
        "LowMidFreq=\"0.5\" LowMidGain=\"0.5\" LowMidQ=\"0.3023\" MidFreq=\"0.5\" MidGain=\"0.5\" MidQ=\"0.3023\" "
        "HighMidFreq=\"0.5\" HighMidGain=\"0.5\" HighMidQ=\"0.3023\" HighFreq=\"0.5\" HighGain=\"0.5\" "
        "Outgain=\"0.5\" Bypass=\"0.0\" LMF_In=\"1.0\" MF_In=\"1.0\" HMF_In=\"1.0\" LPHP_In=\"0.0\" "
        "Lowcut_In=\"1.0\" LF_In=\"1.0\" Highcut_In=\"1.0\" HF_In=\"1.0\" HighpassFreq=\"0.05684210526315789\" "
        "LowpassFreq=\"1.0\" current_program=\"0\"/>";

    juce::MemoryBlock stateOf (OstrelEqAudioProcessor& p)
    {
        juce::MemoryBlock block;
        p.getStateInformation (block);
        return block;
    }

    juce::String xmlTextOf (const juce::MemoryBlock& blob)
    {
        return juce::String::fromUTF8 (static_cast<const char*> (blob.getData()) + 8, (int) blob.getSize() - 9);
    }

    /** A blob in the framework's layout around any text. */
    juce::MemoryBlock blobAround (const juce::String& text)
    {
        juce::MemoryBlock block;
        juce::MemoryOutputStream out (block, false);
        out.writeInt (0x21324356);
        out.writeInt ((int) text.getNumBytesAsUTF8());
        out.write (text.toRawUTF8(), text.getNumBytesAsUTF8());
        out.writeByte (0);
        out.flush();
        return block;
    }

    struct StateTest  : ::testing::Test
    {
        OstrelEqAudioProcessor processor;
    };
}

//==============================================================================
TEST_F (StateTest, FreshInstanceWritesTheExact484ByteBlob)
{
    const auto blob = stateOf (processor);
    ASSERT_EQ (blob.getSize(), 484u);

    const auto* bytes = static_cast<const juce::uint8*> (blob.getData());
    EXPECT_EQ (bytes[0], 0x56);
    EXPECT_EQ (bytes[1], 0x43);
    EXPECT_EQ (bytes[2], 0x32);
    EXPECT_EQ (bytes[3], 0x21);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), 475u);
    EXPECT_EQ (bytes[483], 0);

    EXPECT_EQ (xmlTextOf (blob), freshStateText);
    EXPECT_EQ (std::strlen (freshStateText), 475u);
}

TEST_F (StateTest, EditsAndProgramShowInTheBlob)
{
    processor.setParameter (5, 0.2f);
    auto text = xmlTextOf (stateOf (processor));
    EXPECT_TRUE (text.contains (" MidFreq=\"0.2000000029802322\" ")) << text;

    processor.setParameterByName ("Bypass", 1.0f);
    processor.setCurrentProgram (4);
    text = xmlTextOf (stateOf (processor));
    EXPECT_TRUE (text.endsWith ("current_program=\"4\"/>")) << text;
    EXPECT_TRUE (text.contains (" MidFreq=\"0.5\" "));   // slot 4 still holds the defaults
    EXPECT_EQ (processor.getCurrentProgram(), 4);
}

//==============================================================================
TEST_F (StateTest, EachSlotKeepsTheEditsMadeWhileItWasCurrent)
{
    processor.setParameter (5, 0.2f);            // program 0
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getParameter (5), 0.5f);

    processor.setParameterByName ("HighGain", 0.75f);   // program 1
    processor.setCurrentProgram (0);
    EXPECT_EQ (processor.getParameter (5), 0.2f);
    EXPECT_EQ (processor.getParameterByName ("HighGain"), 0.5f);

    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getParameter (5), 0.5f);
    EXPECT_EQ (processor.getParameterByName ("HighGain"), 0.75f);

    // Selecting a program redesigns from its values.
    processor.setCurrentProgram (2);
    processor.setParameterByName ("LF_In", 0.0f);
    EXPECT_FALSE (processor.getLatestSettings().lowOn);
    processor.setCurrentProgram (0);
    EXPECT_TRUE (processor.getLatestSettings().lowOn);
}

TEST_F (StateTest, ProgramNamesAreKeptButNotSaved)
{
    processor.changeProgramName (2, "Vocal");
    EXPECT_EQ (processor.getProgramName (2), "Vocal");
    EXPECT_TRUE (processor.getProgramName (1).isEmpty());
    EXPECT_FALSE (xmlTextOf (stateOf (processor)).contains ("Vocal"));
}

TEST_F (StateTest, ProgramOperationsOutsideTheTenSlotsChangeNothing)
{
    processor.setParameter (5, 0.2f);
    const auto before = stateOf (processor);

    for (const int index : { -1, 10, 11, 1000 })
    {
        processor.setCurrentProgram (index);
        processor.changeProgramName (index, "x");
        EXPECT_TRUE (processor.getProgramName (index).isEmpty());
    }

    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (stateOf (processor), before);
}

//==============================================================================
TEST_F (StateTest, RestoringGivesBackTheSameBytes)
{
    processor.setCurrentProgram (3);
    processor.setParameter (0, 0.9f);
    processor.setParameter (23, 0.123456f);
    processor.setParameterByName ("HMF_In", 0.0f);
    const auto saved = stateOf (processor);

    OstrelEqAudioProcessor restored;
    restored.setStateInformation (saved.getData(), (int) saved.getSize());

    EXPECT_EQ (stateOf (restored), saved);
    EXPECT_EQ (restored.getCurrentProgram(), 3);
    EXPECT_EQ (restored.getParameter (0), 0.9f);
    EXPECT_FALSE (restored.getLatestSettings().highMidOn);

    // The values went into the restored current slot, not into slot 0.
    restored.setCurrentProgram (0);
    EXPECT_EQ (restored.getParameter (0), 0.1852f);
    restored.setCurrentProgram (3);
    EXPECT_EQ (restored.getParameter (0), 0.9f);
}

TEST_F (StateTest, RestoringUpdatesTheSoundAndBroadcastsOnce)
{
    OstrelEqAudioProcessor source;
    source.setParameterByName ("Bypass", 1.0f);
    source.setParameter (13, 1.0f);
    const auto saved = stateOf (source);

    TestSupport::runPendingMessages();
    int callbacks = 0;

    struct Listener  : juce::ChangeListener
    {
        int& count;
        explicit Listener (int& c) : count (c) {}
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    } listener (callbacks);

    processor.addChangeListener (&listener);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    TestSupport::runPendingMessages();
    processor.removeChangeListener (&listener);

    EXPECT_EQ (callbacks, 1);
    EXPECT_TRUE (processor.getLatestSettings().bypassed);
    EXPECT_FLOAT_EQ (processor.getLatestSettings().outputGain, 3.9810717f);
}

TEST_F (StateTest, BadAttributesLeaveTheirValuesAlone)
{
    processor.setParameter (1, 0.25f);   // LowGain
    processor.setParameter (2, 0.75f);   // LowMidFreq
    processor.setParameter (3, 0.6f);    // LowMidGain

    const juce::String text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS LowFreq=\"0.3\" LowGain=\"loud\" "
        "LowMidFreq=\"inf\" LowMidGain=\"0.7x\" MidFreq=\" 0.125 \" Colour=\"red\" NewKnob=\"0.9\" "
        "current_program=\"12\"/>";
    const auto blob = blobAround (text);
    processor.setStateInformation (blob.getData(), (int) blob.getSize());

    EXPECT_FLOAT_EQ (processor.getParameter (0), 0.3f);     // good value
    EXPECT_EQ (processor.getParameter (1), 0.25f);          // not a number
    EXPECT_EQ (processor.getParameter (2), 0.75f);          // not finite
    EXPECT_EQ (processor.getParameter (3), 0.6f);           // trailing junk
    EXPECT_EQ (processor.getParameter (5), 0.125f);         // white space around a number is fine
    EXPECT_EQ (processor.getParameter (6), 0.5f);           // missing
    EXPECT_EQ (processor.getNumParameters(), 25);           // unknown attributes ignored
    EXPECT_EQ (processor.getCurrentProgram(), 0);           // program out of range
}

TEST_F (StateTest, ABadBlobChangesNothingAtAll)
{
    processor.setParameter (5, 0.2f);
    processor.setCurrentProgram (2);
    processor.setParameter (7, 0.9f);
    const auto before = stateOf (processor);

    OstrelEqAudioProcessor other;
    other.setParameter (5, 0.8f);
    const auto good = stateOf (other);

    auto truncated = [&] (size_t size) { return juce::MemoryBlock (good.getData(), size); };

    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[0] = 'X';

    auto overlongLength = good;
    static_cast<juce::uint32*> (overlongLength.getData())[1] = 10000;

    struct Case { const char* what; juce::MemoryBlock blob; };

    const Case cases[] =
    {
        { "empty",                juce::MemoryBlock() },
        { "header only",          truncated (8) },
        { "cut in the text",      truncated (200) },
        { "cut before the end",   truncated (good.getSize() - 3) },
        { "wrong magic",          wrongMagic },
        { "length past the end",  overlongLength },
        { "another tag",          blobAround ("<?xml version=\"1.0\"?> <OTHERSETTINGS MidFreq=\"0.8\" current_program=\"1\"/>") },
        { "not XML",              blobAround ("MidFreq=0.8") },
        { "plain text",           juce::MemoryBlock ("MidFreq=0.8", 11) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        processor.setStateInformation (c.blob.getData(), (int) c.blob.getSize());
        EXPECT_EQ (stateOf (processor), before);
    }

    processor.setStateInformation (nullptr, 0);
    EXPECT_EQ (stateOf (processor), before);
}
