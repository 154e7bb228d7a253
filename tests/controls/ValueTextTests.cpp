// Value texts: the host's text of every kind of parameter, and the knobs'
// texts and typed entries in both directions.

#include <controls/GainSlider.h>
#include <controls/HighFreqSlider.h>
#include <controls/HighMidFreqSlider.h>
#include <controls/LowFreqSlider.h>
#include <controls/LowMidFreqSlider.h>
#include <controls/MidFreqSlider.h>
#include <controls/WidthSlider.h>
#include <processor/ParameterText.h>

#include <gtest/gtest.h>

#include <clocale>

TEST (HostText, EveryKindAtTheEndsAndTheMiddle)
{
    struct Case { const char* key; const char* at0; const char* atHalf; const char* at1; };

    const Case cases[] =
    {
        { "LowGain",      "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "LowMidGain",   "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "MidGain",      "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "HighMidGain",  "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "HighGain",     "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "Outgain",      "-12.0 dB",  "0.0 dB",    "12.0 dB" },
        { "LowFreq",      "30.0 Hz",   "165.0 Hz",  "300.0 Hz" },
        { "LowMidFreq",   "50.0 Hz",   "225.0 Hz",  "400.0 Hz" },
        { "MidFreq",      "330.0 Hz",  "1415.0 Hz", "2500.0 Hz" },
        { "HighMidFreq",  "1.8 kHz",   "8.9 kHz",   "16.0 kHz" },
        { "HighFreq",     "2.5 kHz",   "13.8 kHz",  "25.0 kHz" },
        { "HighpassFreq", "10.0 Hz",   "105.0 Hz",  "200.0 Hz" },
        { "LowpassFreq",  "5.0 kHz",   "13.5 kHz",  "22.0 kHz" },
        { "LowMidQ",      "0.7",       "2.8",       "5.0" },
        { "MidQ",         "0.7",       "2.8",       "5.0" },
        { "HighMidQ",     "0.7",       "2.8",       "5.0" },
        { "Bypass",       "0.0",       "0.5",       "1.0" },
        { "LF_In",        "0.0",       "0.5",       "1.0" },
        { "Lowcut_In",    "0.0",       "0.5",       "1.0" },
        { "Highcut_In",   "0.0",       "0.5",       "1.0" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.key);
        EXPECT_EQ (parameterText (c.key, 0.0), c.at0);
        EXPECT_EQ (parameterText (c.key, 0.5), c.atHalf);
        EXPECT_EQ (parameterText (c.key, 1.0), c.at1);
    }
}

TEST (HostText, RoundingAndSignAtTheEdges)
{
    EXPECT_EQ (parameterText ("MidGain", 0.4999), "-0.0 dB");     // negative, rounds to zero
    EXPECT_EQ (parameterText ("LowpassFreq", 0.25), "9.2 kHz");  // exactly 9.25: half to even
    EXPECT_EQ (parameterText ("HighFreq", 0.5), "13.8 kHz");     // exactly 13.75
    EXPECT_EQ (parameterText ("MidFreq", 1.0), "2500.0 Hz");      // no switch to kHz
    EXPECT_EQ (parameterText ("HighMidFreq", 0.0), "1.8 kHz");    // no switch to Hz
    EXPECT_EQ (parameterText ({}, 0.0), "0.0");
    EXPECT_EQ (parameterText ("Unknown", 0.25), "0.2");           // plain, half to even
}

TEST (HostText, DoesNotDependOnTheCLocale)
{
    const char* locales[] = { "de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8" };
    const juce::String before (std::setlocale (LC_ALL, nullptr));

    for (const auto* name : locales)
    {
        if (std::setlocale (LC_ALL, name) == nullptr)
            continue;

        EXPECT_EQ (parameterText ("HighMidFreq", 0.5), "8.9 kHz") << name;
        EXPECT_EQ (parameterText ("LowMidQ", 0.3023), "2.0") << name;
    }

    std::setlocale (LC_ALL, before.toRawUTF8());
}

//==============================================================================
namespace
{
    /** Types a text into a knob as its value box does: read, limited to the
        knob's range, stored; returns what the box then shows. */
    juce::String typeInto (juce::Slider& knob, const juce::String& text)
    {
        knob.setRange (0.0, 1.0, 0.0);
        knob.setValue (knob.getValueFromText (text), juce::dontSendNotification);
        return knob.getTextFromValue (knob.getValue());
    }
}

TEST (KnobText, ShowsTheKnobsOwnRangeAndUnit)
{
    GainSlider gain ("g");
    LowFreqSlider low ("lf");
    LowFreqSlider highpass ("hp");
    highpass.displayOffset = 10.0;
    highpass.displayScale = 190.0;
    LowMidFreqSlider lowMid ("lmf");
    MidFreqSlider mid ("mf");
    HighMidFreqSlider highMid ("hmf");
    HighFreqSlider high ("hf");
    HighFreqSlider lowpass ("lp");
    lowpass.displayOffset = 5.0;
    lowpass.displayScale = 17.0;
    WidthSlider width ("w");

    struct Case { juce::Slider* knob; double value; const char* text; };

    const Case cases[] =
    {
        { &gain,     0.5,  "0.0 dB" },  { &gain,     0.0, "-12.0 dB" }, { &gain, 1.0, "12.0 dB" },
        { &low,      0.0,  "30.0 Hz" }, { &low,      1.0, "300.0 Hz" },
        { &highpass, 0.0,  "10.0 Hz" }, { &highpass, 1.0, "200.0 Hz" },
        { &lowMid,   0.5,  "225.0 Hz" },
        { &mid,      1.0,  "2500.0 Hz" },
        { &highMid,  0.0,  "1.8 kHz" }, { &highMid,  1.0, "16.0 kHz" },
        { &high,     0.5,  "13.8 kHz" },
        { &lowpass,  0.0,  "5.0 kHz" }, { &lowpass,  1.0, "22.0 kHz" },
        { &width,    0.0,  "0.7" },     { &width,    1.0, "5.0" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (c.knob->getTextFromValue (c.value), c.text) << c.knob->getName() << " " << c.value;

    EXPECT_EQ (high.displayOffset, 2.5);
    EXPECT_EQ (high.displayScale, 22.5);
    EXPECT_EQ (low.displayOffset, 30.0);
    EXPECT_EQ (low.displayScale, 270.0);
}

TEST (KnobText, ReadsTypedNumbersInTheKnobsUnit)
{
    GainSlider gain ("g");
    HighMidFreqSlider highMid ("hmf");
    MidFreqSlider mid ("mf");
    LowFreqSlider low ("lf");
    WidthSlider width ("w");

    EXPECT_DOUBLE_EQ (gain.getValueFromText ("-6"), 0.25);
    EXPECT_EQ (typeInto (gain, "-6"), "-6.0 dB");
    EXPECT_DOUBLE_EQ (gain.getValueFromText ("20 dB"), 32.0 / 24.0);   // not limited here
    EXPECT_EQ (typeInto (gain, "20 dB"), "12.0 dB");                    // the knob limits it

    EXPECT_NEAR (highMid.getValueFromText ("3.5"), (3.5 - 1.8) / 14.2, 1.0e-15);
    EXPECT_EQ (typeInto (highMid, "3.5"), "3.5 kHz");
    EXPECT_EQ (typeInto (highMid, "3500"), "16.0 kHz");
    EXPECT_EQ (typeInto (mid, "1 kHz"), "330.0 Hz");   // 1 Hz, limited to the bottom

    // Letters only read as 0.
    EXPECT_EQ (typeInto (gain, "loud"), "0.0 dB");
    EXPECT_EQ (typeInto (low, "abc"), "30.0 Hz");
    EXPECT_EQ (typeInto (width, "wide"), "0.7");

    // Leading space, sign and exponent are read; what follows is ignored.
    EXPECT_DOUBLE_EQ (gain.getValueFromText ("  +1.2e1dB"), 1.0);
}
