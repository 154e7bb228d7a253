#pragma once

#include "ValueText.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Gain knob: -12.0 dB to 12.0 dB, 0.0 dB at the centre. */
class GainSlider  : public juce::Slider
{
public:
    explicit GainSlider (const juce::String& componentName) : juce::Slider (componentName) {}

    juce::String getTextFromValue (double value) override  { return ValueText::format (-12.0, 24.0, value, " dB"); }

    // Typed dB read back as number / 24 + 0.5, so a typed 0 lands exactly on the centre.
    double getValueFromText (const juce::String& text) override { return text.getDoubleValue() / 24.0 + 0.5; }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GainSlider)
};
