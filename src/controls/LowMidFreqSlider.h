#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Low-mid frequency knob: 50.0 Hz to 400.0 Hz. */
class LowMidFreqSlider  : public juce::Slider
{
public:
    explicit LowMidFreqSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (50.0, 350.0, value, " Hz"); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (50.0, 350.0, text); }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LowMidFreqSlider)
};
