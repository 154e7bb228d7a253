#pragma once

#include <cstddef>
#include <cstdint>

/** The colouring stage's random source: the framework generator's 48-bit
    linear congruential sequence, worked on a plain 64-bit seed so that the
    audio kernel can draw, skip ahead and fill arrays of draws without an
    object of the framework's class.

    One step is  seed = (seed · 0x5deece66d + 11) mod 2^48, and a draw is bits
    16..47 of the new seed. Because those bits depend only on the low 48 bits
    of the state, intermediate states may be carried modulo 2^64 and masked
    only where a seed is handed back.
*/
namespace RandomSequence
{
    constexpr uint64_t multiplier = 0x5deece66dULL;
    constexpr uint64_t increment  = 11;
    constexpr uint64_t seedMask   = 0xffffffffffffULL;

    /** 2^-32: a draw's 32 bits times this is the draw as a double in [0, 1).
        Scaling by a power of two is exact, so this equals dividing by 2^32. */
    constexpr double drawScale = 1.0 / 4294967296.0;

    /** The affine map  state → multiplier · state + increment  (mod 2^64);
        any number of generator steps is one such map. */
    struct Jump
    {
        uint64_t multiplier = 1;
        uint64_t increment  = 0;

        /** The map that applies this one first and then `next`. */
        constexpr Jump followedBy (Jump next) const noexcept
        {
            return { next.multiplier * multiplier, next.multiplier * increment + next.increment };
        }

        /** Applies the map to an (unmasked) state. */
        constexpr uint64_t applyTo (uint64_t state) const noexcept
        {
            return multiplier * state + increment;
        }
    };

    /** The map of `numSteps` generator steps, by repeated squaring: O(log n). */
    constexpr Jump jumpOf (uint64_t numSteps) noexcept
    {
        Jump result;
        Jump power { RandomSequence::multiplier, RandomSequence::increment };

        while (numSteps != 0)
        {
            if ((numSteps & 1) != 0)
                result = result.followedBy (power);

            power = power.followedBy (power);
            numSteps >>= 1;
        }

        return result;
    }

    /** The seed after one step. */
    constexpr int64_t nextSeed (int64_t seed) noexcept
    {
        return (int64_t) (((uint64_t) seed * multiplier + increment) & seedMask);
    }

    /** The seed after `numSteps` steps; zero steps return the seed unchanged
        (not even masked), as the framework's object would keep it. */
    constexpr int64_t advance (int64_t seed, uint64_t numSteps) noexcept
    {
        return numSteps == 0 ? seed
                             : (int64_t) (jumpOf (numSteps).applyTo ((uint64_t) seed) & seedMask);
    }

    /** The 32 bits a state yields; valid on masked and unmasked states alike. */
    constexpr uint32_t drawBits (uint64_t state) noexcept
    {
        return (uint32_t) (state >> 16);
    }

    /** One step, returning the draw as the framework's nextInt() does. */
    inline int nextInt (int64_t& seed) noexcept
    {
        seed = nextSeed (seed);
        return (int) drawBits ((uint64_t) seed);
    }

    /** One step, returning the draw as the framework's nextDouble() does:
        uniform in [0, 1), a multiple of 2^-32. */
    inline double nextDouble (int64_t& seed) noexcept
    {
        seed = nextSeed (seed);
        return (double) drawBits ((uint64_t) seed) * drawScale;
    }

    /** Writes `count` successive nextDouble() draws to dest[0], dest[stride],
        dest[2·stride], … and leaves `seed` where `count` single draws would.

        Runs several interleaved streams, each jumping ahead by the stream
        count, so the multiply-add chains overlap instead of waiting on each
        other. No allocation; a count of 0 or less changes nothing.
    */
    void fillDoubles (int64_t& seed, double* dest, int count, int stride = 1) noexcept;
}
