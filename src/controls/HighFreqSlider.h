#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** High frequency knob: 2.5 kHz to 25.0 kHz by default.
    The editor reuses the class for another knob of the same unit by
    overwriting the display range right after construction. */
class HighFreqSlider  : public juce::Slider
{
public:
    explicit HighFreqSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (displayOffset, displayScale, value, " kHz"); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (displayOffset, displayScale, text); }

    double displayOffset = 2.5;   ///< the displayed value at 0
    double displayScale  = 22.5;   ///< the displayed span from 0 to 1

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HighFreqSlider)
};
