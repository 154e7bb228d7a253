#pragma once

#include <juce_core/juce_core.h>

/** A program slot: a name and a copy of all 25 parameter values, with the
    same keys in the same order as the processor's parameter store. */
struct ProgramSlot
{
    juce::String name;
    juce::NamedValueSet values;
};
