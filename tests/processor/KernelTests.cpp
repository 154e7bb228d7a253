// The fast audio kernel against the plain reference chain, and the chain's
// behaviour checked on both.

#include "ChainMemories.h"
#include "processor/EqualiserKernel.h"
#include "processor/RandomSequence.h"
#include "processor/ReferenceChain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>
#include <xmmintrin.h>

namespace
{
    using KernelFunction = void (*) (float*, float*, int, const ChainSettings&,
                                     FilterSection* const (&)[2][numSections],
                                     float (&)[2], float (&)[2], int64_t&);

    struct Implementation
    {
        const char* name;
        KernelFunction run;
        bool needsAvx;
    };

    void runReference (float* c0, float* c1, int n, const ChainSettings& s,
                       FilterSection* const (&r)[2][numSections], float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockReference (c0, c1, n, s, r, i, o, seed);
    }

    void runSse2 (float* c0, float* c1, int n, const ChainSettings& s,
                  FilterSection* const (&r)[2][numSections], float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFastOn (KernelPath::sse2, c0, c1, n, s, r, i, o, seed);
    }

    void runAvx (float* c0, float* c1, int n, const ChainSettings& s,
                 FilterSection* const (&r)[2][numSections], float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFastOn (KernelPath::avx, c0, c1, n, s, r, i, o, seed);
    }

    void runAutomatic (float* c0, float* c1, int n, const ChainSettings& s,
                       FilterSection* const (&r)[2][numSections], float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFast (c0, c1, n, s, r, i, o, seed);
    }

    const Implementation fastImplementations[] = {
        { "Sse2", runSse2, false },
        { "Avx", runAvx, true },
        { "Automatic", runAutomatic, false },
    };

    const Implementation allImplementations[] = {
        { "Reference", runReference, false },
        { "Sse2", runSse2, false },
        { "Avx", runAvx, true },
    };

    void PrintTo (const Implementation& implementation, std::ostream* os)
    {
        *os << implementation.name;
    }

    std::string implementationName (const ::testing::TestParamInfo<Implementation>& info)
    {
        return info.param.name;
    }

    // The nine switches, in the order of the bits of a switch mask.
    bool ChainSettings::* const switchFlags[] = {
        &ChainSettings::bypassed,      &ChainSettings::passFiltersOn, &ChainSettings::lowCutOn,
        &ChainSettings::highCutOn,     &ChainSettings::lowOn,         &ChainSettings::highOn,
        &ChainSettings::lowMidOn,      &ChainSettings::midOn,         &ChainSettings::highMidOn,
    };
    constexpr int numSwitchMasks = 1 << (sizeof (switchFlags) / sizeof (switchFlags[0]));
    constexpr int allSectionsOn = numSwitchMasks - 2;   // every switch but bypass

    void setSwitches (ChainSettings& settings, int mask)
    {
        for (size_t i = 0; i < sizeof (switchFlags) / sizeof (switchFlags[0]); ++i)
            settings.*switchFlags[i] = ((mask >> i) & 1) != 0;
    }

    /** A stable section from a random pole pair (radius ≤ 0.995) and a random
        zero pair (inside or outside the unit circle), with a random gain. */
    BiquadCoefficients randomStableSection (std::mt19937_64& rng)
    {
        std::uniform_real_distribution<double> unit (0.0, 1.0);
        const double poleRadius = 0.3 + 0.695 * unit (rng);
        const double poleAngle = 0.001 + 3.14 * unit (rng);
        const double zeroRadius = 1.3 * unit (rng);
        const double zeroAngle = 3.14159 * unit (rng);
        const double k = 0.5 + 1.5 * unit (rng);

        BiquadCoefficients c;
        c.b0 = k;
        c.b1 = -2.0 * k * zeroRadius * std::cos (zeroAngle);
        c.b2 = k * zeroRadius * zeroRadius;
        c.a1 = -2.0 * poleRadius * std::cos (poleAngle);
        c.a2 = poleRadius * poleRadius;
        return c;
    }

    ChainSettings randomSettings (std::mt19937_64& rng, int switchMask, float gain = 1.9f)
    {
        ChainSettings settings;

        for (auto& section : settings.sections)
            section = randomStableSection (rng);

        settings.outputGain = gain;
        settings.allpassCoefficient = -0.7995827f;
        setSwitches (settings, switchMask);
        return settings;
    }

    /** The memories a block runs on, with the record pointers the kernels take. */
    struct ChainState  : ChainMemories
    {

        void run (KernelFunction kernel, float* channel0, float* channel1, int numSamples,
                  const ChainSettings& settings)
        {
            kernel (channel0, channel1, numSamples, settings, pointers, allpassLastInput, allpassLastOutput, seed);
        }
    };

    ChainState randomState (std::mt19937_64& rng)
    {
        std::uniform_real_distribution<double> memory (-0.5, 0.5);
        ChainState state;

        for (auto& channel : state.records)
            for (auto& r : channel)
            {
                r.x1 = memory (rng);
                r.x2 = memory (rng);
                r.y1 = memory (rng);
                r.y2 = memory (rng);
            }

        for (int ch = 0; ch < 2; ++ch)
        {
            state.allpassLastInput[ch] = (float) memory (rng);
            state.allpassLastOutput[ch] = (float) memory (rng);
        }

        state.seed = (int64_t) rng();   // any 64-bit seed, as the framework's clock seeding gives
        return state;
    }

    std::vector<float> randomSignal (std::mt19937_64& rng, int numSamples, float amplitude = 1.0f)
    {
        std::uniform_real_distribution<float> sample (-amplitude, amplitude);
        std::vector<float> signal ((size_t) numSamples);

        for (auto& s : signal)
            s = sample (rng);

        return signal;
    }

    bool sameBits (const void* a, const void* b, size_t numBytes)
    {
        return std::memcmp (a, b, numBytes) == 0;
    }

    ::testing::AssertionResult sameState (const ChainState& expected, const ChainState& actual)
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int s = 0; s < numSections; ++s)
                if (! sameBits (&expected.records[ch][s], &actual.records[ch][s], sizeof (FilterSection)))
                    return ::testing::AssertionFailure() << "memories of channel " << ch << " section " << s << " differ";

        if (! sameBits (expected.allpassLastInput, actual.allpassLastInput, sizeof (actual.allpassLastInput))
            || ! sameBits (expected.allpassLastOutput, actual.allpassLastOutput, sizeof (actual.allpassLastOutput)))
            return ::testing::AssertionFailure() << "all-pass memories differ";

        if (expected.seed != actual.seed)
            return ::testing::AssertionFailure() << "seed " << actual.seed << " instead of " << expected.seed;

        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult sameSamples (const std::vector<float>& expected, const std::vector<float>& actual)
    {
        for (size_t i = 0; i < expected.size(); ++i)
            if (! sameBits (&expected[i], &actual[i], sizeof (float)))
                return ::testing::AssertionFailure() << "sample " << i << ": " << actual[i] << " instead of " << expected[i];

        return ::testing::AssertionSuccess();
    }

    /** Runs one block through the reference and the kernel from the two given
        states (expected equal) and checks samples and state bit for bit. */
    ::testing::AssertionResult sameBlock (KernelFunction kernel, ChainState& referenceState, ChainState& kernelState,
                                          const ChainSettings& settings, std::vector<float> input0,
                                          std::vector<float> input1, bool stereo)
    {
        const int n = (int) input0.size();
        std::vector<float> kernel0 = input0, kernel1 = input1;

        referenceState.run (processBlockReference, input0.data(), stereo ? input1.data() : nullptr, n, settings);
        kernelState.run (kernel, kernel0.data(), stereo ? kernel1.data() : nullptr, n, settings);

        if (auto r = sameSamples (input0, kernel0); ! r)
            return r << " (channel 0)";

        if (auto r = sameSamples (input1, kernel1); ! r)
            return r << " (channel 1)";

        return sameState (referenceState, kernelState);
    }

    //==========================================================================
    class FastKernelIdentity : public ::testing::TestWithParam<Implementation>
    {
    protected:
        void SetUp() override
        {
            if (GetParam().needsAvx && ! isAvxKernelAvailable())
                GTEST_SKIP() << "the CPU has no avx";
        }

        std::mt19937_64 rng { 20240611 };
    };

    // Lengths around the pipeline depth, around the internal chunk of 256,
    // and much longer than it.
    const int blockSizes[] = { 0, 1, 2, 3, 5, 8, 9, 10, 64, 255, 256, 257, 511, 512, 513, 4099 };

    TEST_P (FastKernelIdentity, EverySwitchCombinationBlockSizeAndChannelCount)
    {
        for (int mask = 0; mask < numSwitchMasks; ++mask)
        {
            const ChainSettings settings = randomSettings (rng, mask);

            for (bool stereo : { false, true })
            {
                ChainState referenceState = randomState (rng);
                ChainState kernelState = referenceState;

                // Consecutive blocks, so each one starts from memories the
                // previous one left.
                for (int size : blockSizes)
                    ASSERT_TRUE (sameBlock (GetParam().run, referenceState, kernelState, settings,
                                            randomSignal (rng, size), randomSignal (rng, size), stereo))
                        << "switch mask " << mask << (stereo ? ", stereo" : ", mono") << ", block of " << size;
            }
        }
    }

    TEST_P (FastKernelIdentity, SwitchesAndCoefficientsChangingBetweenBlocks)
    {
        ChainState referenceState = randomState (rng);
        ChainState kernelState = referenceState;
        std::uniform_int_distribution<int> anyMask (0, numSwitchMasks - 1), anySize (0, 700);
        ChainSettings settings = randomSettings (rng, 0);

        for (int block = 0; block < 400; ++block)
        {
            if (block % 7 == 0)
                settings = randomSettings (rng, 0, std::uniform_real_distribution<float> (0.25f, 3.98f) (rng));

            const int mask = anyMask (rng);
            setSwitches (settings, mask);
            const int size = anySize (rng);
            const bool stereo = block % 5 != 0;

            ASSERT_TRUE (sameBlock (GetParam().run, referenceState, kernelState, settings,
                                    randomSignal (rng, size), randomSignal (rng, size), stereo))
                << "block " << block << ", switch mask " << mask << ", size " << size;
        }
    }

    TEST_P (FastKernelIdentity, SubnormalsAgreeWithAndWithoutFlushing)
    {
        const unsigned int savedControl = _mm_getcsr();
        constexpr unsigned int flushToZero = 0x8000, denormalsAreZero = 0x0040;

        for (unsigned int mode : { 0u, flushToZero | denormalsAreZero })
        {
            _mm_setcsr ((savedControl & ~(flushToZero | denormalsAreZero)) | mode);

            const ChainSettings settings = randomSettings (rng, allSectionsOn, 1.0f);
            ChainState referenceState;
            referenceState.records[0][lowMidBellSection].y1 = 1.0e-310;
            referenceState.records[1][highPassSection].x1 = -3.0e-309;
            referenceState.allpassLastOutput[1] = 1.0e-39f;
            ChainState kernelState = referenceState;

            // Tiny input: subnormal floats, and doubles that sink below the
            // normal range in the sections.
            std::vector<float> input0 = randomSignal (rng, 600, 1.0e-37f);
            std::vector<float> input1 = randomSignal (rng, 600, 1.0e-38f);

            const auto result = sameBlock (GetParam().run, referenceState, kernelState, settings, input0, input1, true);
            _mm_setcsr (savedControl);
            ASSERT_TRUE (result) << "control mode " << mode;
        }
    }

    INSTANTIATE_TEST_SUITE_P (Kernel, FastKernelIdentity, ::testing::ValuesIn (fastImplementations), implementationName);

    //==========================================================================
    /** The chain's behaviour, checked on the reference and on each fast path. */
    class ChainBehaviour : public FastKernelIdentity
    {
    protected:
        KernelFunction kernel() const { return GetParam().run; }
    };

    TEST_P (ChainBehaviour, ZeroSampleBlockChangesNothing)
    {
        ChainState state = randomState (rng);
        state.seed = -0x123456789abcdefLL;   // outside the 48-bit range: even masking would show
        const ChainState before = state;
        float samples[2] = { 0.5f, -0.25f };

        for (int mask : { 0, 1, allSectionsOn })
        {
            state.run (kernel(), samples, samples + 1, 0, randomSettings (rng, mask));

            EXPECT_TRUE (sameState (before, state)) << "switch mask " << mask;
            EXPECT_EQ (samples[0], 0.5f);
            EXPECT_EQ (samples[1], -0.25f);
        }
    }

    TEST_P (ChainBehaviour, ChannelOneContinuesChannelZerosDraws)
    {
        const ChainSettings settings = randomSettings (rng, allSectionsOn, 3.9f);

        for (int n : { 1, 7, 300, 1000 })
        {
            // Both channels start identical, so only their draws tell them apart.
            ChainState initial = randomState (rng);
            std::memcpy (initial.records[1], initial.records[0], sizeof (initial.records[0]));
            initial.allpassLastInput[1] = initial.allpassLastInput[0];
            initial.allpassLastOutput[1] = initial.allpassLastOutput[0];
            const std::vector<float> input = randomSignal (rng, n);

            ChainState stereo = initial;
            std::vector<float> left = input, right = input;
            stereo.run (kernel(), left.data(), right.data(), n, settings);

            // The same block as two mono blocks: channel 0 from the seed, then
            // channel 1 from where channel 0 left the generator.
            ChainState firstMono = initial;
            std::vector<float> expectedLeft = input;
            firstMono.run (kernel(), expectedLeft.data(), nullptr, n, settings);

            ChainState secondMono = initial;
            secondMono.seed = firstMono.seed;
            std::vector<float> expectedRight = input;
            secondMono.run (kernel(), expectedRight.data(), nullptr, n, settings);

            SCOPED_TRACE ("block of " + std::to_string (n));
            EXPECT_EQ (firstMono.seed, RandomSequence::advance (initial.seed, 3 * (uint64_t) n));
            EXPECT_EQ (stereo.seed, RandomSequence::advance (initial.seed, 6 * (uint64_t) n));
            EXPECT_TRUE (sameSamples (expectedLeft, left));
            EXPECT_TRUE (sameSamples (expectedRight, right));
            EXPECT_TRUE (sameBits (stereo.records[0], firstMono.records[0], sizeof (stereo.records[0])));
            EXPECT_TRUE (sameBits (stereo.records[1], secondMono.records[0], sizeof (stereo.records[1])));

            if (n >= 7)
            {
                EXPECT_FALSE (sameBits (left.data(), right.data(), sizeof (float) * (size_t) n))
                    << "both channels got the same draws";
            }
        }
    }

    TEST_P (ChainBehaviour, BypassSkipsSectionsButKeepsGainColouringAndAllpass)
    {
        const ChainState initial = randomState (rng);
        ChainSettings bypassed = randomSettings (rng, allSectionsOn | 1);
        ChainSettings nothingOn = bypassed;
        setSwitches (nothingOn, 0);

        const int n = 2000;
        const std::vector<float> input = randomSignal (rng, n, 0.25f);
        double deviationFromLinear[2] = {};
        const float gains[2] = { 1.0f, 4.0f };   // |gain · input| stays ≤ 1

        for (int g = 0; g < 2; ++g)
        {
            bypassed.outputGain = nothingOn.outputGain = gains[g];

            ChainState withBypass = initial, withoutSections = initial;
            std::vector<float> bypassOut = input, plainOut = input;
            withBypass.run (kernel(), bypassOut.data(), nullptr, n, bypassed);
            withoutSections.run (kernel(), plainOut.data(), nullptr, n, nothingOn);

            EXPECT_TRUE (sameSamples (plainOut, bypassOut)) << "bypass must act as all sections off";
            EXPECT_TRUE (sameBits (withBypass.records, initial.records, sizeof (initial.records)))
                << "bypassed sections must keep their memories";

            // Gain and all-pass alone, in double; what is left is the colouring.
            const double c = bypassed.allpassCoefficient;
            double lastIn = initial.allpassLastInput[0], lastOut = initial.allpassLastOutput[0];

            for (int i = 0; i < n; ++i)
            {
                const double v = (double) (input[(size_t) i] * gains[g]);
                const double out = c * lastOut + (lastIn - c * v);
                lastIn = v;
                lastOut = out;
                deviationFromLinear[g] = std::max (deviationFromLinear[g], std::abs (bypassOut[(size_t) i] - out));
            }
        }

        // The harmonics stay below 5.1e-5 at full scale; the all-pass's
        // impulse response sums to less than 3 in magnitude.
        EXPECT_LT (deviationFromLinear[1], 3.0 * 5.1e-5);
        EXPECT_GT (deviationFromLinear[0], 2.0e-7) << "no colouring seen";
        // Mostly second harmonic: four times the gain gives about sixteen
        // times the deviation, because the gain acts before the colouring.
        EXPECT_GT (deviationFromLinear[1], 8.0 * deviationFromLinear[0]);
    }

    TEST_P (ChainBehaviour, SilenceFromZeroMemoriesStaysExactlyZero)
    {
        ChainState state;
        state.seed = (int64_t) rng();
        const ChainSettings settings = randomSettings (rng, allSectionsOn, 3.98f);
        std::vector<float> left (1000, 0.0f), right (1000, 0.0f);

        state.run (kernel(), left.data(), right.data(), 1000, settings);

        for (size_t i = 0; i < left.size(); ++i)
            ASSERT_TRUE (left[i] == 0.0f && right[i] == 0.0f) << "sample " << i;

        for (const auto& channel : state.records)
            for (const auto& r : channel)
                EXPECT_TRUE (r.x1 == 0.0 && r.x2 == 0.0 && r.y1 == 0.0 && r.y2 == 0.0);

        for (int ch = 0; ch < 2; ++ch)
            EXPECT_TRUE (state.allpassLastInput[ch] == 0.0f && state.allpassLastOutput[ch] == 0.0f);
    }

    TEST_P (ChainBehaviour, SilenceDecaysFromNonZeroMemories)
    {
        ChainState state = randomState (rng);
        const ChainSettings settings = randomSettings (rng, allSectionsOn);
        constexpr int blockSize = 512, numBlocks = 32;   // poles ≤ 0.995: 0.995^16384 ≈ 1e-36
        float loudest[numBlocks] = {};

        for (int b = 0; b < numBlocks; ++b)
        {
            std::vector<float> left (blockSize, 0.0f), right (blockSize, 0.0f);
            state.run (kernel(), left.data(), right.data(), blockSize, settings);

            for (int i = 0; i < blockSize; ++i)
                loudest[b] = std::max ({ loudest[b], std::abs (left[(size_t) i]), std::abs (right[(size_t) i]) });
        }

        EXPECT_GT (loudest[0], 1.0e-3f);
        EXPECT_LT (loudest[numBlocks - 1], 1.0e-9f);
    }

    INSTANTIATE_TEST_SUITE_P (Kernel, ChainBehaviour, ::testing::ValuesIn (allImplementations), implementationName);
}
