#include "RandomSequence.h"

namespace RandomSequence
{
    namespace
    {
        // Four streams hide the multiply latency of one; more gains little
        // because the multiplier unit then becomes the limit.
        constexpr int numStreams = 4;
        constexpr Jump streamJump = jumpOf (numStreams);
        constexpr Jump oneStep = jumpOf (1);

        inline double toDouble (uint64_t state) noexcept
        {
            return (double) drawBits (state) * drawScale;
        }
    }

    void fillDoubles (int64_t& seed, double* dest, int count, int stride) noexcept
    {
        if (count <= 0)
            return;

        uint64_t state = (uint64_t) seed;   // the state before the next draw
        int i = 0;

        if (count >= 2 * numStreams)
        {
            // Stream j holds the state after i + j + 1 steps, i.e. the one
            // whose bits are draw i + j.
            uint64_t s0 = oneStep.applyTo (state);
            uint64_t s1 = oneStep.applyTo (s0);
            uint64_t s2 = oneStep.applyTo (s1);
            uint64_t s3 = oneStep.applyTo (s2);

            for (; i + numStreams <= count; i += numStreams)
            {
                double* d = dest + (std::ptrdiff_t) i * stride;
                d[0]          = toDouble (s0);
                d[stride]     = toDouble (s1);
                d[2 * stride] = toDouble (s2);
                d[3 * stride] = toDouble (s3);

                state = s3;   // after i + 4 steps
                s0 = streamJump.applyTo (s0);
                s1 = streamJump.applyTo (s1);
                s2 = streamJump.applyTo (s2);
                s3 = streamJump.applyTo (s3);
            }
        }

        for (; i < count; ++i)
        {
            state = oneStep.applyTo (state);
            dest[(std::ptrdiff_t) i * stride] = toDouble (state);
        }

        seed = (int64_t) (state & seedMask);
    }
}
