#pragma once

#include <juce_core/juce_core.h>

/** The host's text for a parameter value: the physical value with one decimal
    and its unit ("-6.0 dB", "1415.0 Hz", "8.9 kHz", "2.8"), chosen by the
    parameter's name. Some kinds are computed in single precision and others
    in double, which decides the last digit at exact halves. */
juce::String parameterText (const juce::String& parameterName, double storedValue);
