#pragma once

#include "ChainSettings.h"
#include "FilterSection.h"

#include <cstdint>

/** The instruction-set variants of the fast kernel. */
enum class KernelPath
{
    automatic,  ///< the best the running CPU supports
    sse2,       ///< one section of both channels per 128-bit register
    avx         ///< two sections of both channels per 256-bit register
};

/** Runs the audio callback's chain over one block, in place, with results
    bit-identical to processBlockReference (same arguments, same meaning):
    the same output samples, section memories, all-pass memories and final
    seed, for every switch combination, bypass, mono or stereo and any block
    length.

    How: the block's random draws are produced ahead in chunks by interleaved
    generator streams (channel 1's stream starts 3·N draws on); the two
    channels run side by side in the two lanes of each vector; the switched-in
    sections form a skewed pipeline in which section k works on sample t − k,
    so consecutive sections no longer wait on each other within a sample.
    Every addition and multiplication is the reference's, in the same order
    and width; nothing is fused or reassociated.

    Guarantees for the audio thread: no allocation (fixed-size stack scratch,
    long blocks are processed in chunks), no lock, no system call, no
    exception; time is linear in numSamples with a bound independent of the
    data (apart from the CPU's own cost for subnormal operands, which this
    function does not flush).
*/
void processBlockFast (float* channel0, float* channel1, int numSamples,
                       const ChainSettings& settings,
                       FilterSection* const (&sections)[2][numSections],
                       float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                       int64_t& randomSeed) noexcept;

/** processBlockFast on a chosen path, so tests and benchmarks can cover each
    one. A path the CPU does not support falls back to sse2. */
void processBlockFastOn (KernelPath path,
                         float* channel0, float* channel1, int numSamples,
                         const ChainSettings& settings,
                         FilterSection* const (&sections)[2][numSections],
                         float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                         int64_t& randomSeed) noexcept;

/** True when the running CPU (and operating system) support the avx path. */
bool isAvxKernelAvailable() noexcept;
