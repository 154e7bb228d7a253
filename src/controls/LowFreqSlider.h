#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Low frequency knob: 30.0 Hz to 300.0 Hz by default.
    The editor reuses the class for another knob of the same unit by
    overwriting the display range right after construction. */
class LowFreqSlider  : public juce::Slider
{
public:
    explicit LowFreqSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (displayOffset, displayScale, value, " Hz"); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (displayOffset, displayScale, text); }

    double displayOffset = 30.0;   ///< the displayed value at 0
    double displayScale  = 270.0;   ///< the displayed span from 0 to 1

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LowFreqSlider)
};
