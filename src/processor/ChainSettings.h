#pragma once

#include "../dsp/BiquadCoefficients.h"

/** The nine sections of one channel, in the order the audio callback runs
    them when all are switched in.
*/
enum SectionIndex
{
    highPassSection = 0,
    lowShelfSection,
    lowBellSection,
    lowPassSection,
    highShelfSection,
    highBellSection,
    lowMidBellSection,
    midBellSection,
    highMidBellSection,
    numSections
};

/** Everything the audio callback needs from one coefficient update: the
    coefficients of the nine sections (the same for both channels), the switch
    flags, the head gain and the all-pass coefficient. A plain value type, so a
    complete set can be handed from the updating thread to the audio thread in
    one piece.
*/
struct ChainSettings
{
    BiquadCoefficients sections[numSections];

    float outputGain = 1.0f;
    float allpassCoefficient = 0.0f;

    bool bypassed = false;
    bool lowMidOn = false;
    bool midOn = false;
    bool highMidOn = false;
    bool passFiltersOn = false;
    bool lowOn = false;
    bool highOn = false;
    bool lowCutOn = false;
    bool highCutOn = false;

    /** True when the audio callback runs the given section (before bypass). */
    bool isSectionOn (int section) const noexcept
    {
        switch (section)
        {
            case highPassSection:    return passFiltersOn && lowCutOn;
            case lowShelfSection:
            case lowBellSection:     return lowOn;
            case lowPassSection:     return passFiltersOn && highCutOn;
            case highShelfSection:
            case highBellSection:    return highOn;
            case lowMidBellSection:  return lowMidOn;
            case midBellSection:     return midOn;
            case highMidBellSection: return highMidOn;
            default:                 return false;
        }
    }
};
