#include "EqualiserKernel.h"

#include "RandomSequence.h"
#include "ReferenceChain.h"

#include <algorithm>
#include <immintrin.h>

// The per-sample path is inlined into one flattened function per
// instruction set, so that below the avx-targeted entry the shared driver is
// compiled with the wider instruction set too. (always_inline cannot be used
// for the avx members: the compiler checks it inside the generic driver.)
#define LUMARIN_INLINE  inline __attribute__ ((always_inline))
#define LUMARIN_AVX     inline __attribute__ ((target ("avx")))
#define LUMARIN_FLATTEN __attribute__ ((flatten))

namespace
{
    // Frames per chunk of precomputed draws and coloured input; bounds the
    // stack scratch (about 16 KB) whatever the host's block size.
    constexpr int chunkFrames = 256;

    const bool cpuHasAvx = []
    {
        __builtin_cpu_init();
        return __builtin_cpu_supports ("avx") != 0;
    }();

    // Stands in for channel 1's records, coefficients and input where a
    // lane or a half register has nothing to work on; never written.
    const FilterSection silentSection {};
    const BiquadCoefficients silentCoefficients {};
    alignas (16) const float silentInput[chunkFrames] = {};

    /** The sections that run this block, in the order they run. */
    struct ActiveSections
    {
        int index[numSections];
        int count = 0;
    };

    ActiveSections findActiveSections (const ChainSettings& settings) noexcept
    {
        ActiveSections active;

        if (! settings.bypassed)
            for (int s = 0; s < numSections; ++s)
                if (settings.isSectionOn (s))
                    active.index[active.count++] = s;

        return active;
    }

    /** Everything a pipeline needs to find its records. */
    struct SectionAccess
    {
        const ChainSettings& settings;
        FilterSection* const (&sections)[2][numSections];
        const ActiveSections& active;
        bool stereo;

        const BiquadCoefficients& coefficients (int stage, int numStages) const noexcept
        {
            return stage < numStages ? settings.sections[active.index[stage]] : silentCoefficients;
        }

        const FilterSection& memory (int stage, int numStages, int channel) const noexcept
        {
            return stage < numStages && (channel == 0 || stereo)
                       ? *sections[channel][active.index[stage]]
                       : silentSection;
        }

        void storeMemory (int stage, int channel, double x1, double x2, double y1, double y2) const noexcept
        {
            if (channel == 0 || stereo)
            {
                FilterSection& m = *sections[channel][active.index[stage]];
                m.x1 = x1;
                m.x2 = x2;
                m.y1 = y1;
                m.y2 = y2;
            }
        }
    };

    //==========================================================================
    /** Bypass, or no section switched in: the colouring feeds the all-pass. */
    struct NoSections
    {
        static constexpr int lag = 0;

        LUMARIN_INLINE void load (const SectionAccess&) noexcept {}
        LUMARIN_INLINE void store (const SectionAccess&) const noexcept {}
        LUMARIN_INLINE __m128d step (__m128d input) noexcept { return input; }
        LUMARIN_INLINE __m128d stepMasked (__m128d input, int, int) noexcept { return input; }
    };

    //==========================================================================
    /** One section of both channels per 128-bit register (lane = channel).

        The stages are skewed: in step t, stage k takes stage k−1's output of
        step t−1, i.e. it works on sample t−k. All stages of a step are then
        independent of each other, and the output of step t is sample t−lag.
        Stages are updated from the last to the first so that each still sees
        its predecessor's previous output.
    */
    template <int numStages>
    struct SsePipeline
    {
        static constexpr int lag = numStages - 1;

        __m128d b0[numStages], b1[numStages], b2[numStages], a1[numStages], a2[numStages];
        __m128d x1[numStages], x2[numStages], y1[numStages], y2[numStages];

        LUMARIN_INLINE void load (const SectionAccess& access) noexcept
        {
            for (int k = 0; k < numStages; ++k)
            {
                const BiquadCoefficients& c = access.coefficients (k, numStages);
                b0[k] = _mm_set1_pd (c.b0);
                b1[k] = _mm_set1_pd (c.b1);
                b2[k] = _mm_set1_pd (c.b2);
                a1[k] = _mm_set1_pd (c.a1);
                a2[k] = _mm_set1_pd (c.a2);

                const FilterSection& m0 = access.memory (k, numStages, 0);
                const FilterSection& m1 = access.memory (k, numStages, 1);
                x1[k] = _mm_set_pd (m1.x1, m0.x1);
                x2[k] = _mm_set_pd (m1.x2, m0.x2);
                y1[k] = _mm_set_pd (m1.y1, m0.y1);
                y2[k] = _mm_set_pd (m1.y2, m0.y2);
            }
        }

        LUMARIN_INLINE void store (const SectionAccess& access) const noexcept
        {
            for (int k = 0; k < numStages; ++k)
            {
                alignas (16) double v[4][2];
                _mm_store_pd (v[0], x1[k]);
                _mm_store_pd (v[1], x2[k]);
                _mm_store_pd (v[2], y1[k]);
                _mm_store_pd (v[3], y2[k]);

                for (int ch = 0; ch < 2; ++ch)
                    access.storeMemory (k, ch, v[0][ch], v[1][ch], v[2][ch], v[3][ch]);
            }
        }

        LUMARIN_INLINE void runStage (int k, __m128d in) noexcept
        {
            const __m128d y = _mm_sub_pd (_mm_sub_pd (_mm_add_pd (_mm_add_pd (_mm_mul_pd (b0[k], in),
                                                                              _mm_mul_pd (b1[k], x1[k])),
                                                                  _mm_mul_pd (b2[k], x2[k])),
                                                      _mm_mul_pd (a1[k], y1[k])),
                                          _mm_mul_pd (a2[k], y2[k]));
            x2[k] = x1[k];
            x1[k] = in;
            y2[k] = y1[k];
            y1[k] = y;
        }

        LUMARIN_INLINE __m128d step (__m128d input) noexcept
        {
            #pragma GCC unroll 16
            for (int k = numStages - 1; k > 0; --k)
                runStage (k, y1[k - 1]);

            runStage (0, input);
            return y1[numStages - 1];
        }

        /** A step at the block's start or end, where stage k runs only while
            its sample t−k lies inside the block. */
        LUMARIN_INLINE __m128d stepMasked (__m128d input, int t, int numSamples) noexcept
        {
            for (int k = numStages - 1; k >= 0; --k)
                if (t - k >= 0 && t - k < numSamples)
                    runStage (k, k == 0 ? input : y1[k - 1]);

            return y1[numStages - 1];
        }
    };

    //==========================================================================
    /** Two consecutive stages of both channels per 256-bit register: lanes
        (stage 2j ch 0, stage 2j ch 1, stage 2j+1 ch 0, stage 2j+1 ch 1), with
        the same skew as SsePipeline. A stage's input is its predecessor's
        previous output: the high half of the register before, or the low half
        of its own. With an odd stage count the last high half is a dummy
        stage with zero coefficients whose memories are never stored.
    */
    template <int numPairs, bool lastHalfEmpty>
    struct AvxPipeline
    {
        static constexpr int numStages = 2 * numPairs - (lastHalfEmpty ? 1 : 0);
        static constexpr int lag = numStages - 1;

        __m256d b0[numPairs], b1[numPairs], b2[numPairs], a1[numPairs], a2[numPairs];
        __m256d x1[numPairs], x2[numPairs], y1[numPairs], y2[numPairs];

        LUMARIN_AVX void load (const SectionAccess& access) noexcept
        {
            for (int j = 0; j < numPairs; ++j)
            {
                const BiquadCoefficients& lo = access.coefficients (2 * j, numStages);
                const BiquadCoefficients& hi = access.coefficients (2 * j + 1, numStages);
                b0[j] = _mm256_set_pd (hi.b0, hi.b0, lo.b0, lo.b0);
                b1[j] = _mm256_set_pd (hi.b1, hi.b1, lo.b1, lo.b1);
                b2[j] = _mm256_set_pd (hi.b2, hi.b2, lo.b2, lo.b2);
                a1[j] = _mm256_set_pd (hi.a1, hi.a1, lo.a1, lo.a1);
                a2[j] = _mm256_set_pd (hi.a2, hi.a2, lo.a2, lo.a2);

                const FilterSection& l0 = access.memory (2 * j, numStages, 0);
                const FilterSection& l1 = access.memory (2 * j, numStages, 1);
                const FilterSection& h0 = access.memory (2 * j + 1, numStages, 0);
                const FilterSection& h1 = access.memory (2 * j + 1, numStages, 1);
                x1[j] = _mm256_set_pd (h1.x1, h0.x1, l1.x1, l0.x1);
                x2[j] = _mm256_set_pd (h1.x2, h0.x2, l1.x2, l0.x2);
                y1[j] = _mm256_set_pd (h1.y1, h0.y1, l1.y1, l0.y1);
                y2[j] = _mm256_set_pd (h1.y2, h0.y2, l1.y2, l0.y2);
            }
        }

        LUMARIN_AVX void store (const SectionAccess& access) const noexcept
        {
            for (int j = 0; j < numPairs; ++j)
            {
                alignas (32) double v[4][4];
                _mm256_store_pd (v[0], x1[j]);
                _mm256_store_pd (v[1], x2[j]);
                _mm256_store_pd (v[2], y1[j]);
                _mm256_store_pd (v[3], y2[j]);

                for (int half = 0; half < 2; ++half)
                    if (2 * j + half < numStages)
                        for (int ch = 0; ch < 2; ++ch)
                        {
                            const int lane = 2 * half + ch;
                            access.storeMemory (2 * j + half, ch, v[0][lane], v[1][lane], v[2][lane], v[3][lane]);
                        }
            }
        }

        LUMARIN_AVX __m256d sectionOutput (int j, __m256d in) const noexcept
        {
            return _mm256_sub_pd (_mm256_sub_pd (_mm256_add_pd (_mm256_add_pd (_mm256_mul_pd (b0[j], in),
                                                                               _mm256_mul_pd (b1[j], x1[j])),
                                                                _mm256_mul_pd (b2[j], x2[j])),
                                                 _mm256_mul_pd (a1[j], y1[j])),
                                  _mm256_mul_pd (a2[j], y2[j]));
        }

        LUMARIN_AVX __m256d pairInput (int j, __m128d input) const noexcept
        {
            return j == 0 ? _mm256_insertf128_pd (_mm256_castpd128_pd256 (input), _mm256_castpd256_pd128 (y1[0]), 1)
                          : _mm256_permute2f128_pd (y1[j - 1], y1[j], 0x21);
        }

        LUMARIN_AVX __m128d lastOutput() const noexcept
        {
            return lastHalfEmpty ? _mm256_castpd256_pd128 (y1[numPairs - 1])
                                 : _mm256_extractf128_pd (y1[numPairs - 1], 1);
        }

        LUMARIN_AVX __m128d step (__m128d input) noexcept
        {
            #pragma GCC unroll 8
            for (int j = numPairs - 1; j >= 0; --j)
            {
                const __m256d in = pairInput (j, input);
                const __m256d y = sectionOutput (j, in);
                x2[j] = x1[j];
                x1[j] = in;
                y2[j] = y1[j];
                y1[j] = y;
            }

            return lastOutput();
        }

        LUMARIN_AVX __m128d stepMasked (__m128d input, int t, int numSamples) noexcept
        {
            for (int j = numPairs - 1; j >= 0; --j)
            {
                const long long loRuns = (t - 2 * j >= 0 && t - 2 * j < numSamples) ? -1 : 0;
                const long long hiRuns = (t - 2 * j - 1 >= 0 && t - 2 * j - 1 < numSamples) ? -1 : 0;
                const __m256d runs = _mm256_castsi256_pd (_mm256_set_epi64x (hiRuns, hiRuns, loRuns, loRuns));

                const __m256d in = pairInput (j, input);
                const __m256d y = sectionOutput (j, in);
                x2[j] = _mm256_blendv_pd (x2[j], x1[j], runs);
                x1[j] = _mm256_blendv_pd (x1[j], in, runs);
                y2[j] = _mm256_blendv_pd (y2[j], y1[j], runs);
                y1[j] = _mm256_blendv_pd (y1[j], y, runs);
            }

            return lastOutput();
        }
    };

    //==========================================================================
    /** Gain, draws and colouring for one chunk of frames, both channels in
        the lanes of `coloured` (frame i at coloured[2i], coloured[2i + 1]). */
    LUMARIN_INLINE void colourChunk (const float* input0, const float* input1, int count, float gain,
                                     int64_t& seed0, int64_t* seed1, double* draws, double* coloured) noexcept
    {
        // Draw 3i + d of a channel goes to draws[2 (3i + d) + channel].
        RandomSequence::fillDoubles (seed0, draws, 3 * count, 2);

        if (seed1 != nullptr)
            RandomSequence::fillDoubles (*seed1, draws + 1, 3 * count, 2);

        const __m128 g = _mm_set1_ps (gain);
        const __m128d c2 = _mm_set1_pd (Colouring::secondHarmonic);
        const __m128d c3 = _mm_set1_pd (Colouring::thirdHarmonic);
        const __m128d c5 = _mm_set1_pd (Colouring::fifthHarmonic);

        for (int i = 0; i < count; ++i)
        {
            const __m128 s = _mm_unpacklo_ps (_mm_load_ss (input0 + i), _mm_load_ss (input1 + i));
            const __m128d x = _mm_cvtps_pd (_mm_mul_ps (s, g));

            const __m128d r1 = _mm_load_pd (draws + 6 * i);
            const __m128d r2 = _mm_load_pd (draws + 6 * i + 2);
            const __m128d r3 = _mm_load_pd (draws + 6 * i + 4);

            const __m128d t2 = _mm_mul_pd (_mm_mul_pd (_mm_mul_pd (r1, c2), x), x);
            const __m128d t3 = _mm_mul_pd (_mm_mul_pd (_mm_mul_pd (_mm_mul_pd (r2, c3), x), x), x);
            const __m128d t5 = _mm_mul_pd (_mm_mul_pd (_mm_mul_pd (_mm_mul_pd (_mm_mul_pd (_mm_mul_pd (r3, c5), x), x), x), x), x);

            _mm_store_pd (coloured + 2 * i, _mm_add_pd (_mm_add_pd (t5, _mm_add_pd (t3, t2)), x));
        }
    }

    /** The two channels' all-passes side by side in single precision. */
    struct StereoAllpass
    {
        __m128 c, lastInput, lastOutput;

        LUMARIN_INLINE void run (__m128d y, float* channel0, float* channel1, int n) noexcept
        {
            const __m128 v = _mm_cvtpd_ps (y);
            const __m128 out = _mm_add_ps (_mm_mul_ps (c, lastOutput), _mm_sub_ps (lastInput, _mm_mul_ps (c, v)));
            lastInput = v;
            lastOutput = out;

            _mm_store_ss (channel0 + n, out);

            if (channel1 != nullptr)
                _mm_store_ss (channel1 + n, _mm_shuffle_ps (out, out, 1));
        }
    };

    /** The whole block through one pipeline: the sample read for step t is
        written back at step t + lag, so working in place is safe. */
    template <typename Pipeline>
    inline void runBlock (const SectionAccess& access, float* channel0, float* channel1, int numSamples,
                                  float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                                  int64_t& randomSeed) noexcept
    {
        constexpr int lag = Pipeline::lag;
        const bool stereo = channel1 != nullptr;

        Pipeline pipeline;
        pipeline.load (access);

        StereoAllpass allpass;
        allpass.c = _mm_set1_ps (access.settings.allpassCoefficient);
        allpass.lastInput = _mm_setr_ps (allpassLastInput[0], stereo ? allpassLastInput[1] : 0.0f, 0.0f, 0.0f);
        allpass.lastOutput = _mm_setr_ps (allpassLastOutput[0], stereo ? allpassLastOutput[1] : 0.0f, 0.0f, 0.0f);

        alignas (32) double draws[2 * 3 * chunkFrames];
        alignas (32) double coloured[2 * chunkFrames];

        if (! stereo)
            std::fill (draws, draws + 2 * 3 * chunkFrames, 0.0);   // idle lane stays finite

        // Channel 1's draws follow all of channel 0's.
        int64_t seed0 = randomSeed;
        int64_t seed1 = stereo ? RandomSequence::advance (randomSeed, 3 * (uint64_t) numSamples) : 0;

        for (int start = 0; start < numSamples; start += chunkFrames)
        {
            const int count = std::min (chunkFrames, numSamples - start);
            colourChunk (channel0 + start, stereo ? channel1 + start : silentInput, count,
                         access.settings.outputGain, seed0, stereo ? &seed1 : nullptr, draws, coloured);

            int i = 0;

            for (; i < count && start + i < lag; ++i)
                pipeline.stepMasked (_mm_load_pd (coloured + 2 * i), start + i, numSamples);

            for (; i < count; ++i)
                allpass.run (pipeline.step (_mm_load_pd (coloured + 2 * i)), channel0, channel1, start + i - lag);
        }

        for (int t = numSamples; t < numSamples + lag; ++t)
        {
            const __m128d y = pipeline.stepMasked (_mm_setzero_pd(), t, numSamples);

            if (t >= lag)
                allpass.run (y, channel0, channel1, t - lag);
        }

        pipeline.store (access);

        alignas (16) float in[4], out[4];
        _mm_store_ps (in, allpass.lastInput);
        _mm_store_ps (out, allpass.lastOutput);

        for (int ch = 0; ch < (stereo ? 2 : 1); ++ch)
        {
            allpassLastInput[ch] = in[ch];
            allpassLastOutput[ch] = out[ch];
        }

        randomSeed = stereo ? seed1 : seed0;
    }

    #define LUMARIN_KERNEL_ARGS  const SectionAccess& access, float* channel0, float* channel1, int numSamples, \
                                 float (&allpassLastInput)[2], float (&allpassLastOutput)[2], int64_t& randomSeed
    #define LUMARIN_RUN(...) runBlock<__VA_ARGS__> (access, channel0, channel1, numSamples, \
                                                      allpassLastInput, allpassLastOutput, randomSeed)

    LUMARIN_FLATTEN void runSse2 (LUMARIN_KERNEL_ARGS) noexcept
    {
        switch (access.active.count)
        {
            case 0:  LUMARIN_RUN (NoSections);      break;
            case 1:  LUMARIN_RUN (SsePipeline<1>);  break;
            case 2:  LUMARIN_RUN (SsePipeline<2>);  break;
            case 3:  LUMARIN_RUN (SsePipeline<3>);  break;
            case 4:  LUMARIN_RUN (SsePipeline<4>);  break;
            case 5:  LUMARIN_RUN (SsePipeline<5>);  break;
            case 6:  LUMARIN_RUN (SsePipeline<6>);  break;
            case 7:  LUMARIN_RUN (SsePipeline<7>);  break;
            case 8:  LUMARIN_RUN (SsePipeline<8>);  break;
            default: LUMARIN_RUN (SsePipeline<9>);  break;
        }
    }

    __attribute__ ((target ("avx"))) LUMARIN_FLATTEN void runAvx (LUMARIN_KERNEL_ARGS) noexcept
    {
        switch (access.active.count)
        {
            case 0:  LUMARIN_RUN (NoSections);                  break;
            case 1:  LUMARIN_RUN (SsePipeline<1>);              break;
            case 2:  LUMARIN_RUN (AvxPipeline<1, false>);       break;
            case 3:  LUMARIN_RUN (AvxPipeline<2, true>);        break;
            case 4:  LUMARIN_RUN (AvxPipeline<2, false>);       break;
            case 5:  LUMARIN_RUN (AvxPipeline<3, true>);        break;
            case 6:  LUMARIN_RUN (AvxPipeline<3, false>);       break;
            case 7:  LUMARIN_RUN (AvxPipeline<4, true>);        break;
            case 8:  LUMARIN_RUN (AvxPipeline<4, false>);       break;
            default: LUMARIN_RUN (AvxPipeline<5, true>);        break;
        }
    }

    #undef LUMARIN_RUN
    #undef LUMARIN_KERNEL_ARGS
}

bool isAvxKernelAvailable() noexcept
{
    return cpuHasAvx;
}

void processBlockFastOn (KernelPath path,
                         float* channel0, float* channel1, int numSamples,
                         const ChainSettings& settings,
                         FilterSection* const (&sections)[2][numSections],
                         float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                         int64_t& randomSeed) noexcept
{
    if (numSamples <= 0)
        return;

    const ActiveSections active = findActiveSections (settings);
    const SectionAccess access { settings, sections, active, channel1 != nullptr };

    if (path != KernelPath::sse2 && cpuHasAvx)
        runAvx (access, channel0, channel1, numSamples, allpassLastInput, allpassLastOutput, randomSeed);
    else
        runSse2 (access, channel0, channel1, numSamples, allpassLastInput, allpassLastOutput, randomSeed);
}

void processBlockFast (float* channel0, float* channel1, int numSamples,
                       const ChainSettings& settings,
                       FilterSection* const (&sections)[2][numSections],
                       float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                       int64_t& randomSeed) noexcept
{
    processBlockFastOn (KernelPath::automatic, channel0, channel1, numSamples, settings, sections,
                        allpassLastInput, allpassLastOutput, randomSeed);
}
