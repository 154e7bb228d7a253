#pragma once

/*  Response tables of the low, high and mid sections. Every value is
    normalised to 0..1; the lookups in BandResponseLookup.h interpolate them
    and the coefficient update maps them to physical values.

    The definitions are generated (see the header of ResponseTables.cpp).
*/

/** Low section, 10 knob-frequency rows (30, 60, ..., 300 Hz) by 13 gain
    columns (0..12 dB), entry 13·k + j. Fields: shelf frequency (30 + 270·x Hz),
    shelf gain (24·x − 12 dB), shelf Q (x + 0.5), bell frequency (50 + 350·x Hz),
    bell gain (24·x − 12 dB), bell Q (2·x + 0.1). */
extern const float lowBandTable[130][6];

/** High section, 11 knob-frequency rows (highFreqBreakpoints) by 13 gain
    columns (0..12 dB), entry 13·k + j. Fields: bell frequency (330 + 15670·x Hz),
    bell gain (24·x − 12 dB), bell bandwidth (2·x + 0.1 octaves), shelf frequency
    (1000 + 22000·x Hz), shelf gain (24·x − 12 dB), shelf Q (x + 0.5). */
extern const float highBandTable[143][6];

/** Mid sections' effective Q, 13 gain rows (0..12 dB) by 11 Q-knob columns
    (midQBreakpoints), entry 11·j + m. Fields: low-mid, mid, high-mid; the
    bell's Q is 3·x + 0.1. Rows 0 and 1 are identical. */
extern const float midQTable[143][3];

/** Knob frequencies in Hz of the rows of highBandTable, ascending. */
extern const int highFreqBreakpoints[11];

/** Q-knob values of the columns of midQTable, ascending. */
extern const float midQBreakpoints[11];
