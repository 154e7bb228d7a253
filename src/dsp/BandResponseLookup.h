#pragma once

#include <array>

/*  Lookups into the response tables (ResponseTables.h). Each is a bilinear
    interpolation over knob frequency (or Q knob) and gain magnitude, done
    entirely in single precision; the results stay normalised to 0..1.

    Inputs below the lowest axis point (30 Hz, 2500 Hz, Q 0.7) are taken as
    that point, and gain magnitudes above 12 dB as 12 dB; the knobs never go
    there, but the tables are not read outside their bounds.
*/

/** The six fields of the low section's table (shelf freq, shelf gain, shelf Q,
    bell freq, bell gain, bell Q) for a knob frequency of 30..300 Hz and a
    signed knob gain of −12..12 dB. For a cut both gain fields are mirrored
    around 0.5 (0 dB); frequencies and widths are those of the lift. */
std::array<float, 6> lookUpLowBand (float freqHz, float gainDb);

/** The six fields of the high section's table (bell freq, bell gain, bell
    width, shelf freq, shelf gain, shelf Q) for a knob frequency of
    2500..25000 Hz and a signed knob gain of −12..12 dB, mirrored for a cut
    like lookUpLowBand. */
std::array<float, 6> lookUpHighBand (float freqHz, float gainDb);

/** The normalised effective Q of mid section band (0 low-mid, 1 mid,
    2 high-mid) for a Q knob of 0.7..5 and a knob gain of −12..12 dB. Only the
    gain's magnitude counts, so a cut is as wide as the lift. */
float lookUpMidQ (int band, float qKnob, float gainDb);
