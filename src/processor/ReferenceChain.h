#pragma once

#include "ChainSettings.h"
#include "FilterSection.h"

#include <cstdint>

/** The amounts of second, third and fifth harmonic the colouring stage adds,
    each scaled by its own random draw per sample. */
namespace Colouring
{
    constexpr double secondHarmonic = 2.869e-5;
    constexpr double thirdHarmonic  = 2.629e-6;
    constexpr double fifthHarmonic  = 1.952e-5;
}

/** Runs the audio callback's per-sample chain over one block, in place, one
    sample at a time in the plainest form: gain (single), three random draws,
    colouring (double), the switched-in sections in their fixed order (double),
    narrowing to single and the all-pass (single).

    This is the definition the fast kernel is checked against and measured
    against; it favours being obviously right over being quick.

    @param channel0, channel1   the block's first two channels; channel1 is
                                nullptr for a mono buffer. Channel 0 is
                                processed completely first, then channel 1,
                                which continues the random sequence.
    @param numSamples           the block length; 0 (or less) changes nothing,
                                not even the seed.
    @param settings             coefficients of the nine sections (shared by
                                both channels), switches, bypass, head gain
                                and all-pass coefficient.
    @param sections             the two channels' section records, indexed by
                                SectionIndex; only their memories (x1, x2, y1,
                                y2) are read and written, the coefficients come
                                from `settings`. Sections that do not run keep
                                their memories. Channel 1's records are not
                                touched for a mono buffer.
    @param allpassLastInput, allpassLastOutput  the all-pass memories per channel.
    @param randomSeed           the generator's seed (see RandomSequence).
*/
void processBlockReference (float* channel0, float* channel1, int numSamples,
                            const ChainSettings& settings,
                            FilterSection* const (&sections)[2][numSections],
                            float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                            int64_t& randomSeed);
