#include "ParameterText.h"

namespace
{
    juce::String withOneDecimal (double value, const char* suffix)
    {
        return juce::String (value, 1) + suffix;
    }

    /** start + span × v, both steps rounded to single precision. */
    double singleMapping (float v, float start, float span)
    {
        const float scaled = v * span;
        const float physical = scaled + start;
        return (double) physical;
    }

    double doubleMapping (float v, double start, double span)
    {
        return start + span * (double) v;
    }
}

juce::String parameterText (const juce::String& name, double storedValue)
{
    const auto v = (float) storedValue;

    if (name.contains ("Q"))
        return withOneDecimal (doubleMapping (v, 0.7, 4.3), "");

    if (name.contains ("Gain") || name == "Outgain")
        return withOneDecimal (singleMapping (v, -12.0f, 24.0f), " dB");

    if (name == "LowFreq")      return withOneDecimal (singleMapping (v, 30.0f, 270.0f), " Hz");
    if (name == "LowMidFreq")   return withOneDecimal (singleMapping (v, 50.0f, 350.0f), " Hz");
    if (name == "MidFreq")      return withOneDecimal (singleMapping (v, 330.0f, 2170.0f), " Hz");
    if (name == "HighMidFreq")  return withOneDecimal (doubleMapping (v, 1.8, 14.2), " kHz");
    if (name == "HighFreq")     return withOneDecimal (doubleMapping (v, 2.5, 22.5), " kHz");
    if (name == "HighpassFreq") return withOneDecimal (singleMapping (v, 10.0f, 190.0f), " Hz");
    if (name == "LowpassFreq")  return withOneDecimal (singleMapping (v, 5.0f, 17.0f), " kHz");

    return withOneDecimal ((double) v, "");
}
