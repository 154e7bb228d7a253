// Speed of the audio kernel: the fast kernel against the plain reference on
// a 512-frame stereo block with all nine sections on, and the fast kernel on
// silence after loud input (decaying tails sink into subnormal numbers)
// against the same kernel on signal. Ratios are printed after the table.

#include "ChainMemories.h"
#include "processor/EqualiserKernel.h"
#include "processor/ReferenceChain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>
#include <xmmintrin.h>

namespace
{
    constexpr int blockSize = 512;
    constexpr double sampleRate = 44100.0;
    constexpr double pi = 3.14159265358979323846;

    //==========================================================================
    // Ordinary second-order designs, only to give the benchmark a realistic
    // chain (low corner frequencies decay slowly, which is what makes long
    // subnormal tails).
    enum class Shape { highPass, lowPass, lowShelf, highShelf, bell };

    BiquadCoefficients design (Shape shape, double frequency, double gainDb, double q)
    {
        const double w = 2.0 * pi * frequency / sampleRate;
        const double cw = std::cos (w), alpha = std::sin (w) / (2.0 * q);
        const double a = std::pow (10.0, gainDb / 40.0), root = 2.0 * std::sqrt (a) * alpha;
        double b0, b1, b2, a0, a1, a2;

        switch (shape)
        {
            case Shape::highPass:
                b0 = (1.0 + cw) / 2.0; b1 = -(1.0 + cw); b2 = b0;
                a0 = 1.0 + alpha; a1 = -2.0 * cw; a2 = 1.0 - alpha;
                break;
            case Shape::lowPass:
                b0 = (1.0 - cw) / 2.0; b1 = 1.0 - cw; b2 = b0;
                a0 = 1.0 + alpha; a1 = -2.0 * cw; a2 = 1.0 - alpha;
                break;
            case Shape::lowShelf:
                b0 = a * ((a + 1.0) - (a - 1.0) * cw + root);
                b1 = 2.0 * a * ((a - 1.0) - (a + 1.0) * cw);
                b2 = a * ((a + 1.0) - (a - 1.0) * cw - root);
                a0 = (a + 1.0) + (a - 1.0) * cw + root;
                a1 = -2.0 * ((a - 1.0) + (a + 1.0) * cw);
                a2 = (a + 1.0) + (a - 1.0) * cw - root;
                break;
            case Shape::highShelf:
                b0 = a * ((a + 1.0) + (a - 1.0) * cw + root);
                b1 = -2.0 * a * ((a - 1.0) + (a + 1.0) * cw);
                b2 = a * ((a + 1.0) + (a - 1.0) * cw - root);
                a0 = (a + 1.0) - (a - 1.0) * cw + root;
                a1 = 2.0 * ((a - 1.0) - (a + 1.0) * cw);
                a2 = (a + 1.0) - (a - 1.0) * cw - root;
                break;
            case Shape::bell:
            default:
                b0 = 1.0 + alpha * a; b1 = -2.0 * cw; b2 = 1.0 - alpha * a;
                a0 = 1.0 + alpha / a; a1 = -2.0 * cw; a2 = 1.0 - alpha / a;
                break;
        }

        return { b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0 };
    }

    ChainSettings allSectionsOn()
    {
        ChainSettings s;
        s.sections[highPassSection]    = design (Shape::highPass, 20.0, 0.0, 0.707);
        s.sections[lowShelfSection]    = design (Shape::lowShelf, 120.0, 4.0, 0.7);
        s.sections[lowBellSection]     = design (Shape::bell, 250.0, -3.0, 1.2);
        s.sections[lowPassSection]     = design (Shape::lowPass, 20000.0, 0.0, 0.707);
        s.sections[highShelfSection]   = design (Shape::highShelf, 9000.0, 2.5, 0.7);
        s.sections[highBellSection]    = design (Shape::bell, 5000.0, 3.0, 1.0);
        s.sections[lowMidBellSection]  = design (Shape::bell, 180.0, 5.0, 2.0);
        s.sections[midBellSection]     = design (Shape::bell, 1200.0, -4.0, 1.5);
        s.sections[highMidBellSection] = design (Shape::bell, 7000.0, 6.0, 3.0);
        s.outputGain = 1.0f;
        s.allpassCoefficient = -0.7995827f;
        s.passFiltersOn = s.lowCutOn = s.highCutOn = true;
        s.lowOn = s.highOn = s.lowMidOn = s.midOn = s.highMidOn = true;
        return s;
    }

    /** Memories and record pointers, copyable so a benchmark can restart
        every iteration from the same snapshot. */
    struct ChainState  : ChainMemories
    {
        ChainState() { seed = 0x2545f4914f6cdd1dLL; }

        bool hasSubnormalMemory() const
        {
            for (const auto& channel : records)
                for (const auto& r : channel)
                    for (double m : { r.x1, r.x2, r.y1, r.y2 })
                        if (std::fpclassify (m) == FP_SUBNORMAL)
                            return true;

            return false;
        }
    };

    using Kernel = void (*) (float*, float*, int, const ChainSettings&, FilterSection* const (&)[2][numSections],
                             float (&)[2], float (&)[2], int64_t&);

    void fastOnSse2 (float* c0, float* c1, int n, const ChainSettings& s, FilterSection* const (&r)[2][numSections],
                     float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFastOn (KernelPath::sse2, c0, c1, n, s, r, i, o, seed);
    }

    void fastOnAvx (float* c0, float* c1, int n, const ChainSettings& s, FilterSection* const (&r)[2][numSections],
                    float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFastOn (KernelPath::avx, c0, c1, n, s, r, i, o, seed);
    }

    void fastAutomatic (float* c0, float* c1, int n, const ChainSettings& s, FilterSection* const (&r)[2][numSections],
                        float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockFast (c0, c1, n, s, r, i, o, seed);
    }

    void referenceKernel (float* c0, float* c1, int n, const ChainSettings& s, FilterSection* const (&r)[2][numSections],
                          float (&i)[2], float (&o)[2], int64_t& seed)
    {
        processBlockReference (c0, c1, n, s, r, i, o, seed);
    }

    struct StereoBlock
    {
        std::vector<float> left, right;
    };

    StereoBlock noiseBlock (float amplitude, unsigned seed)
    {
        std::mt19937 rng (seed);
        std::uniform_real_distribution<float> sample (-amplitude, amplitude);
        StereoBlock b { std::vector<float> (blockSize), std::vector<float> (blockSize) };

        for (int i = 0; i < blockSize; ++i)
        {
            b.left[(size_t) i] = sample (rng);
            b.right[(size_t) i] = sample (rng);
        }

        return b;
    }

    StereoBlock silentBlock()
    {
        return { std::vector<float> (blockSize, 0.0f), std::vector<float> (blockSize, 0.0f) };
    }

    void setFramesCounter (benchmark::State& state)
    {
        state.counters["ns_per_frame"] = benchmark::Counter (blockSize,
                                                             benchmark::Counter::kIsIterationInvariantRate
                                                                 | benchmark::Counter::kInvert);
    }

    /** One block per iteration from a fixed starting state; the state copy
        and the input copy are timed too, the same for every variant. */
    void runBlocks (benchmark::State& state, Kernel kernel, const ChainSettings& settings,
                    const ChainState& start, const StereoBlock& input)
    {
        ChainState chain;
        StereoBlock buffer = input;

        for (auto _ : state)
        {
            chain = start;
            std::memcpy (buffer.left.data(), input.left.data(), sizeof (float) * blockSize);
            std::memcpy (buffer.right.data(), input.right.data(), sizeof (float) * blockSize);
            kernel (buffer.left.data(), buffer.right.data(), blockSize, settings, chain.pointers,
                    chain.allpassLastInput, chain.allpassLastOutput, chain.seed);
            benchmark::DoNotOptimize (buffer.left.data());
            benchmark::DoNotOptimize (buffer.right.data());
            benchmark::ClobberMemory();
        }

        setFramesCounter (state);
    }

    /** The state a run of loud blocks leaves, and the states reached by
        silence after it: its first block, the first block whose output is
        subnormal in single precision, and the first whose section memories
        are subnormal in double precision. */
    struct Tails
    {
        ChainState loud, floatTail, doubleTail;
        int floatTailBlock = -1, doubleTailBlock = -1;
    };

    const Tails& tails()
    {
        static const Tails t = []
        {
            const ChainSettings settings = allSectionsOn();
            ChainState chain;
            Tails result;

            for (int b = 0; b < 20; ++b)
            {
                StereoBlock loud = noiseBlock (1.0f, 100u + (unsigned) b);
                processBlockFast (loud.left.data(), loud.right.data(), blockSize, settings, chain.pointers,
                                  chain.allpassLastInput, chain.allpassLastOutput, chain.seed);
            }

            result.loud = chain;

            for (int b = 0; b < 20000 && result.doubleTailBlock < 0; ++b)
            {
                const ChainState before = chain;
                StereoBlock quiet = silentBlock();
                processBlockFast (quiet.left.data(), quiet.right.data(), blockSize, settings, chain.pointers,
                                  chain.allpassLastInput, chain.allpassLastOutput, chain.seed);

                if (result.floatTailBlock < 0 && std::fpclassify (quiet.left.back()) == FP_SUBNORMAL)
                {
                    result.floatTail = before;
                    result.floatTailBlock = b;
                }

                if (chain.hasSubnormalMemory())
                {
                    result.doubleTail = before;
                    result.doubleTailBlock = b;
                }
            }

            return result;
        }();

        return t;
    }

    //==========================================================================
    void BM_AllSections (benchmark::State& state, Kernel kernel)
    {
        ChainState start;
        start.records[0][0].y1 = 0.1;   // any non-silent start
        runBlocks (state, kernel, allSectionsOn(), start, noiseBlock (0.7f, 7u));
    }

    BENCHMARK_CAPTURE (BM_AllSections, Reference, referenceKernel);
    BENCHMARK_CAPTURE (BM_AllSections, FastSse2, fastOnSse2);
    BENCHMARK_CAPTURE (BM_AllSections, FastAvx, fastOnAvx);
    BENCHMARK_CAPTURE (BM_AllSections, Fast, fastAutomatic);

    enum Phase { signal, silenceAfterLoud, silenceFloatTail, silenceDoubleTail };

    void BM_Tail (benchmark::State& state, Kernel kernel, Phase phase, bool flushDenormals)
    {
        const Tails& t = tails();
        const ChainState& start = phase == silenceFloatTail  ? t.floatTail
                                : phase == silenceDoubleTail ? t.doubleTail
                                                             : t.loud;

        if ((phase == silenceFloatTail && t.floatTailBlock < 0) || (phase == silenceDoubleTail && t.doubleTailBlock < 0))
        {
            state.SkipWithError ("tail not reached");
            return;
        }

        const unsigned int savedControl = _mm_getcsr();

        if (flushDenormals)
            _mm_setcsr (savedControl | 0x8040);   // flush-to-zero and denormals-are-zero

        runBlocks (state, kernel, allSectionsOn(), start, phase == signal ? noiseBlock (1.0f, 9u) : silentBlock());
        _mm_setcsr (savedControl);

        if (phase == silenceFloatTail)
            state.counters["after_blocks"] = t.floatTailBlock;
        else if (phase == silenceDoubleTail)
            state.counters["after_blocks"] = t.doubleTailBlock;
    }

    BENCHMARK_CAPTURE (BM_Tail, FastSignal, fastAutomatic, signal, false);
    BENCHMARK_CAPTURE (BM_Tail, FastSilenceAfterLoud, fastAutomatic, silenceAfterLoud, false);
    BENCHMARK_CAPTURE (BM_Tail, FastSilenceFloatTail, fastAutomatic, silenceFloatTail, false);
    BENCHMARK_CAPTURE (BM_Tail, FastSilenceDoubleTail, fastAutomatic, silenceDoubleTail, false);
    BENCHMARK_CAPTURE (BM_Tail, FastSignalFlushed, fastAutomatic, signal, true);
    BENCHMARK_CAPTURE (BM_Tail, FastSilenceDoubleTailFlushed, fastAutomatic, silenceDoubleTail, true);
    BENCHMARK_CAPTURE (BM_Tail, ReferenceSignal, referenceKernel, signal, false);
    BENCHMARK_CAPTURE (BM_Tail, ReferenceSilenceDoubleTail, referenceKernel, silenceDoubleTail, false);

    //==========================================================================
    /** The console table, then the ratios between rows of the same run. */
    class RatioReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns (const std::vector<Run>& runs) override
        {
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration && ! run.error_occurred)
                    if (auto c = run.counters.find ("ns_per_frame"); c != run.counters.end())
                        nsPerFrame[run.benchmark_name()] = c->second.value;

            ConsoleReporter::ReportRuns (runs);
        }

        void Finalize() override
        {
            ConsoleReporter::Finalize();
            std::printf ("\nRatios (same run):\n");
            ratio ("speed-up, fast vs reference (all sections, stereo 512)", "BM_AllSections/Reference", "BM_AllSections/Fast");
            ratio ("speed-up, fast sse2 vs reference", "BM_AllSections/Reference", "BM_AllSections/FastSse2");
            ratio ("speed-up, fast avx vs reference", "BM_AllSections/Reference", "BM_AllSections/FastAvx");
            ratio ("cost, silence just after loud / signal (fast)", "BM_Tail/FastSilenceAfterLoud", "BM_Tail/FastSignal");
            ratio ("cost, silence, subnormal float tail / signal (fast)", "BM_Tail/FastSilenceFloatTail", "BM_Tail/FastSignal");
            ratio ("cost, silence, subnormal double tail / signal (fast)", "BM_Tail/FastSilenceDoubleTail", "BM_Tail/FastSignal");
            ratio ("cost, same with FTZ/DAZ / signal with FTZ/DAZ (fast)", "BM_Tail/FastSilenceDoubleTailFlushed", "BM_Tail/FastSignalFlushed");
            ratio ("cost, silence, subnormal double tail / signal (reference)", "BM_Tail/ReferenceSilenceDoubleTail", "BM_Tail/ReferenceSignal");
        }

    private:
        std::map<std::string, double> nsPerFrame;

        void ratio (const char* label, const std::string& numerator, const std::string& denominator)
        {
            const auto n = nsPerFrame.find (numerator), d = nsPerFrame.find (denominator);

            if (n != nsPerFrame.end() && d != nsPerFrame.end() && d->second > 0.0)
                std::printf ("  %-60s %6.2f\n", label, n->second / d->second);
        }
    };
}

int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();
    return 0;
}
