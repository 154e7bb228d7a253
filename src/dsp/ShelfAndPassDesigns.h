#pragma once

#include "BiquadCoefficients.h"

/*  Closed-form second-order designs by the bilinear transform, in double.
    Every design depends on the sample rate only through w = 2π·f / fs, and is
    meant for frequencies below the Nyquist frequency; at or above it the
    result is meaningless and is returned unchecked.
*/

/** High-pass with a fixed bandwidth of 1.739 octaves; its gain at the corner
    equals its equivalent Q, about 0.78 (−2.1 dB) far below Nyquist. */
BiquadCoefficients designHighPass (double frequencyHz, double sampleRate);

/** Low-pass with alpha = sin(w), i.e. Q 0.5 (two coincident poles): −6 dB at the corner. */
BiquadCoefficients designLowPass (double frequencyHz, double sampleRate);

/** Low shelf of gainDb below frequencyHz with shelf slope set by q; 0 dB gives the identity response. */
BiquadCoefficients designLowShelf (double frequencyHz, double gainDb, double q, double sampleRate);

/** High shelf of gainDb above frequencyHz with shelf slope set by q; 0 dB gives the identity response. */
BiquadCoefficients designHighShelf (double frequencyHz, double gainDb, double q, double sampleRate);

/** Peaking bell with its width given in octaves; 0 dB gives the identity response. */
BiquadCoefficients designPeakingOctaves (double frequencyHz, double gainDb, double bandwidthOctaves, double sampleRate);

/** The pass-through section: b0 = 1, all other coefficients 0. */
BiquadCoefficients identitySection();
