#pragma once

/** Where every control sits on the 1024 × 209 panel.

    The editor builds its knobs and switches from these tables, and the artwork
    generator (tools/artwork) reads this same file to place the knob wells,
    scales and switch legends in the background image, so the two always line
    up. Keep one entry per line: the generator parses the lines.
*/
namespace PanelLayout
{
    constexpr int width  = 1024;
    constexpr int height = 209;

    /** The knob classes of the value boxes (src/controls). */
    enum class KnobKind { gain, lowFreq, lowMidFreq, midFreq, highMidFreq, highFreq, width };

    struct KnobSpec
    {
        const char* componentName;
        KnobKind kind;
        const char* parameter;       ///< the knob's "parameter" property
        int number;                  ///< the knob's "number" property: its image strip
        int x, y, w, h;              ///< bounds; exactly one frame of the strip
        double displayOffset;        ///< only used by the low/high frequency kinds; 0 = class default
        double displayScale;
    };

    /** The sixteen knobs, in creation order. */
    constexpr KnobSpec knobs[] =
    {
        { "Outgain",  KnobKind::gain,        "Outgain",      1, 127,  24, 79, 80,  0.0,   0.0 },
        { "Highpass", KnobKind::lowFreq,     "HighpassFreq", 9, 163, 115, 77, 86, 10.0, 190.0 },
        { "LFGain",   KnobKind::gain,        "LowGain",     10, 261, 116, 70, 83,  0.0,   0.0 },
        { "LF",       KnobKind::lowFreq,     "LowFreq",      2, 225,  24, 73, 78,  0.0,   0.0 },
        { "LMFGain",  KnobKind::gain,        "LowMidGain",  11, 376, 115, 68, 82,  0.0,   0.0 },
        { "LMF",      KnobKind::lowMidFreq,  "LowMidFreq",   4, 426,  27, 68, 80,  0.0,   0.0 },
        { "LMFWidth", KnobKind::width,       "LowMidQ",      3, 326,  24, 70, 83,  0.0,   0.0 },
        { "MFGain",   KnobKind::gain,        "MidGain",      5, 538,  26, 65, 81,  0.0,   0.0 },
        { "MF",       KnobKind::midFreq,     "MidFreq",     13, 587, 117, 65, 80,  0.0,   0.0 },
        { "MFWidth",  KnobKind::width,       "MidQ",        12, 491, 116, 65, 79,  0.0,   0.0 },
        { "HMFGain",  KnobKind::gain,        "HighMidGain", 14, 697, 115, 69, 80,  0.0,   0.0 },
        { "HMF",      KnobKind::highMidFreq, "HighMidFreq",  7, 743,  23, 72, 79,  0.0,   0.0 },
        { "HMFWidth", KnobKind::width,       "HighMidQ",     6, 649,  24, 68, 79,  0.0,   0.0 },
        { "HFGain",   KnobKind::gain,        "HighGain",    15, 809, 115, 73, 85,  0.0,   0.0 },
        { "HF",       KnobKind::highFreq,    "HighFreq",     8, 842,  24, 74, 81,  0.0,   0.0 },
        { "Lowpass",  KnobKind::highFreq,    "LowpassFreq", 16, 904, 115, 76, 83,  5.0,  17.0 },
    };

    struct SwitchSpec
    {
        const char* componentName;
        const char* parameter;
        int x, y, w, h;
    };

    /** The seven switches, in creation order. */
    constexpr SwitchSpec switches[] =
    {
        { "Bypass", "Bypass",   63,  56, 27, 31 },
        { "LFIn",   "LF_In",   221,   5, 27, 31 },
        { "LMFIn",  "LMF_In",  398,  51, 27, 31 },
        { "MFIn",   "MF_In",   558, 104, 27, 31 },
        { "HMFIn",  "HMF_In",  713,  53, 27, 31 },
        { "HFIn",   "HF_In",   896,   6, 27, 31 },
        { "LPHPIn", "LPHP_In", 925,   7, 27, 31 },
    };

    constexpr int numKnobs    = (int) (sizeof (knobs) / sizeof (knobs[0]));
    constexpr int numSwitches = (int) (sizeof (switches) / sizeof (switches[0]));

    /** Value box under every knob: 50 × 11, at row 68 of the knob. */
    constexpr int valueBoxWidth  = 50;
    constexpr int valueBoxHeight = 11;
    constexpr int valueBoxTop    = 68;
}
