// The cost of one coefficient update: the complete redesign of all nine
// sections that every parameter change runs, against one bell design alone
// as the baseline of the same run.

#include <processor/CoefficientDesign.h>
#include <dsp/BellDesign.h>

#include <benchmark/benchmark.h>

namespace
{
    ParameterValues typicalValues()
    {
        ParameterValues v;
        for (int i = 0; i < ParameterTable::numParameters; ++i)
            v[i] = ParameterTable::entries[i].defaultValue;

        // Every bell designed, not the 0 dB identity.
        for (const int g : { ParameterTable::lowGain, ParameterTable::lowMidGain, ParameterTable::midGain,
                             ParameterTable::highMidGain, ParameterTable::highGain })
            v[g] = 0.8;

        return v;
    }

    void BM_OneBellDesign (benchmark::State& state)
    {
        double b0, b1, b2, a1, a2;
        float gain = 7.2f;

        for (auto _ : state)
        {
            designBell (b0, b1, b2, a1, a2, gain, 0.2f, 1.3f);
            benchmark::DoNotOptimize (b0);
            benchmark::ClobberMemory();
        }
    }

    void BM_UpdateFilters (benchmark::State& state)
    {
        auto v = typicalValues();
        int n = 0;

        for (auto _ : state)
        {
            v[ParameterTable::midFreq] = (n++ & 1) ? 0.3 : 0.7;   // a knob moving
            auto s = designChain (v, 48000.0f);
            benchmark::DoNotOptimize (s);
        }
    }
}

BENCHMARK (BM_OneBellDesign);
BENCHMARK (BM_UpdateFilters)->Unit (benchmark::kMicrosecond);
