// The colouring stage's generator on a plain seed, against the framework's
// own generator and against itself (jumps, filled arrays).

#include "processor/RandomSequence.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
    // Ordinary, negative, top-bit and out-of-48-bit-range seeds: the
    // framework accepts any 64-bit seed and masks it on the first step.
    const int64_t seeds[] = { 0, 1, -1, 42, 0x7fffffffffffffffLL, (int64_t) 0x8000000000000000ULL,
                              0x0123456789abcdefLL, -0x5deece66dLL, 0xffffffffffffLL };

    TEST (RandomSequence, MatchesFrameworkGeneratorDrawForDraw)
    {
        for (int64_t seed : seeds)
        {
            juce::Random framework (seed);
            int64_t plain = seed;

            for (int i = 0; i < 2000; ++i)
            {
                if (i % 3 == 0)
                    ASSERT_EQ (RandomSequence::nextInt (plain), framework.nextInt()) << "seed " << seed << ", draw " << i;
                else
                    ASSERT_EQ (RandomSequence::nextDouble (plain), framework.nextDouble()) << "seed " << seed << ", draw " << i;

                ASSERT_EQ (plain, framework.getSeed());
            }
        }
    }

    TEST (RandomSequence, MatchesClockSeededFrameworkGenerator)
    {
        juce::Random framework;   // seeded from the clock, as the processor's is
        int64_t plain = framework.getSeed();

        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ (RandomSequence::nextDouble (plain), framework.nextDouble()) << "draw " << i;
    }

    TEST (RandomSequence, AdvanceEqualsSteppingOneAtATime)
    {
        for (int64_t seed : seeds)
        {
            int64_t stepped = seed;
            uint64_t steps = 0;

            for (uint64_t target : { 0ULL, 1ULL, 2ULL, 3ULL, 4ULL, 5ULL, 63ULL, 64ULL, 1000ULL, 3 * 4099ULL, 123457ULL })
            {
                for (; steps < target; ++steps)
                    stepped = RandomSequence::nextSeed (stepped);

                ASSERT_EQ (RandomSequence::advance (seed, target), stepped) << "seed " << seed << ", " << target << " steps";
            }
        }
    }

    TEST (RandomSequence, AdvanceComposesAndHasPeriodTwoToThe48)
    {
        constexpr uint64_t period = 1ULL << 48;

        for (int64_t seed : seeds)
        {
            const int64_t masked = seed & (int64_t) RandomSequence::seedMask;
            EXPECT_EQ (RandomSequence::advance (seed, 0), seed) << "zero steps must not even mask";
            EXPECT_EQ (RandomSequence::advance (seed, period), masked);
            EXPECT_NE (RandomSequence::advance (seed, period / 2), masked);

            const uint64_t a = 0x9e3779b97f4aULL, b = 0x1234567890ULL;
            EXPECT_EQ (RandomSequence::advance (RandomSequence::advance (seed, a), b),
                       RandomSequence::advance (seed, a + b));
        }
    }

    TEST (RandomSequence, FillDoublesEqualsSuccessiveDraws)
    {
        constexpr double untouched = -1.0;

        for (int stride : { 1, 2, 3 })
            for (int count = 0; count <= 1030; count += (count < 40 ? 1 : 331))
            {
                const int64_t seed = 0x0123456789abcdefLL + count;
                std::vector<double> filled ((size_t) (count * stride + stride), untouched);
                int64_t fillSeed = seed, drawSeed = seed;

                RandomSequence::fillDoubles (fillSeed, filled.data(), count, stride);

                for (size_t i = 0; i < filled.size(); ++i)
                {
                    const bool isDraw = i % (size_t) stride == 0 && i < (size_t) (count * stride);
                    const double expected = isDraw ? RandomSequence::nextDouble (drawSeed) : untouched;
                    ASSERT_EQ (filled[i], expected) << "stride " << stride << ", count " << count << ", index " << i;
                }

                EXPECT_EQ (fillSeed, drawSeed) << "stride " << stride << ", count " << count;
            }
    }
}
