#pragma once

#include "ChainSettings.h"
#include "ParameterTable.h"

/** Designs the complete coefficient set for the given parameter values and
    sample rate: the nine sections, the switch flags, the head gain and the
    all-pass coefficient.

    A pure function: the processor's coefficient update runs it on a snapshot
    of the parameter store and hands the result to the audio thread. The
    arithmetic widths (where values are formed in single precision before they
    are widened) are part of the sound and are kept exactly.

    Below 44.1 kHz the low-pass and the bells would otherwise be designed at or
    above Nyquist, where the designs are unstable; there every design frequency
    is limited to the same fraction of the sample rate that its highest setting
    has at 44.1 kHz. At 44.1 kHz and above nothing is limited.
*/
ChainSettings designChain (const ParameterValues& values, float sampleRate);

/** The all-pass coefficient every update sets. */
constexpr float fixedAllpassCoefficient = -0.7995827f;
