#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Mid frequency knob: 330.0 Hz to 2500.0 Hz (kept in Hz over the whole range). */
class MidFreqSlider  : public juce::Slider
{
public:
    explicit MidFreqSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (330.0, 2170.0, value, " Hz"); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (330.0, 2170.0, text); }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidFreqSlider)
};
