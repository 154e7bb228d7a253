#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Width knob of the mid bells: 0.7 to 5.0, no unit. */
class WidthSlider  : public juce::Slider
{
public:
    explicit WidthSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (0.7, 4.3, value, ""); }
    double getValueFromText (const juce::String& text) override { return ValueText::parse (0.7, 4.3, text); }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WidthSlider)
};
