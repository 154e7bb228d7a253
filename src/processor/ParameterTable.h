#pragma once

/** The 25 parameters in index order: the order the host addresses them by,
    the order of the parameter store, of every program slot and of the saved
    state's attributes.
*/
namespace ParameterTable
{
    enum Index
    {
        lowFreq = 0, lowGain, lowMidFreq, lowMidGain, lowMidQ,
        midFreq, midGain, midQ,
        highMidFreq, highMidGain, highMidQ,
        highFreq, highGain,
        outgain,
        bypass, lmfIn, mfIn, hmfIn, lphpIn, lowcutIn, lfIn, highcutIn, hfIn,
        highpassFreq, lowpassFreq,
        numParameters
    };

    struct Entry
    {
        const char* name;       ///< host name, store key, state attribute, knob property
        double defaultValue;    ///< normalised default
        bool storedWhole;       ///< default kept as a whole number (int var), not a double
    };

    constexpr Entry entries[numParameters] =
    {
        { "LowFreq",      0.1852,              false },
        { "LowGain",      0.5,                 false },
        { "LowMidFreq",   0.5,                 false },
        { "LowMidGain",   0.5,                 false },
        { "LowMidQ",      0.3023,              false },
        { "MidFreq",      0.5,                 false },
        { "MidGain",      0.5,                 false },
        { "MidQ",         0.3023,              false },
        { "HighMidFreq",  0.5,                 false },
        { "HighMidGain",  0.5,                 false },
        { "HighMidQ",     0.3023,              false },
        { "HighFreq",     0.5,                 false },
        { "HighGain",     0.5,                 false },
        { "Outgain",      0.5,                 false },
        { "Bypass",       0.0,                 true  },
        { "LMF_In",       1.0,                 true  },
        { "MF_In",        1.0,                 true  },
        { "HMF_In",       1.0,                 true  },
        { "LPHP_In",      0.0,                 true  },
        { "Lowcut_In",    1.0,                 true  },
        { "LF_In",        1.0,                 true  },
        { "Highcut_In",   1.0,                 true  },
        { "HF_In",        1.0,                 true  },
        { "HighpassFreq", 0.05684210526315789, false },
        { "LowpassFreq",  1.0,                 true  },
    };

    /** A switch counts as on only when its stored value is exactly 1. */
    constexpr bool isSwitchOn (double storedValue) noexcept { return storedValue == 1.0; }
}

/** A snapshot of all 25 stored values, widened to double, in index order. */
struct ParameterValues
{
    double values[ParameterTable::numParameters] {};

    double operator[] (int index) const noexcept { return values[index]; }
    double& operator[] (int index) noexcept      { return values[index]; }
};
