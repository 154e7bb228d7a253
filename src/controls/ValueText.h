#pragma once

#include <juce_core/juce_core.h>

/** The value box texts of the knobs: a linear display mapping, one decimal and
    a unit, and the way typed text is read back. */
namespace ValueText
{
    /** start + span × value (in double), with one decimal and the suffix,
        e.g. "-6.0 dB". Locale-free; exact halves go to the even digit. */
    juce::String format (double start, double span, double value, const char* suffix);

    /** The leading number of the text (a unit or anything after it is
        ignored; no number reads as 0), mapped back to (number − start) / span.
        Not limited to 0..1: the slider does that. */
    double parse (double start, double span, const juce::String& text);
}
