#include "ValueText.h"

namespace ValueText
{
    juce::String format (double start, double span, double value, const char* suffix)
    {
        return juce::String (start + span * value, 1) + suffix;
    }

    double parse (double start, double span, const juce::String& text)
    {
        return (text.getDoubleValue() - start) / span;
    }
}
