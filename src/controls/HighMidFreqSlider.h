#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** High-mid frequency knob: 1.8 kHz to 16.0 kHz (typed numbers are kHz). */
class HighMidFreqSlider  : public juce::Slider
{
public:
    explicit HighMidFreqSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (1.8, 14.2, value, " kHz"); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (1.8, 14.2, text); }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HighMidFreqSlider)
};
