// The coefficient update's design step: which section gets which design from
// which knobs, the bell threshold, the switch rule, and stability at every
// sample rate a host may run.

#include <processor/CoefficientDesign.h>

#include <dsp/BellDesign.h>
#include <dsp/FrequencyResponse.h>
#include <dsp/ShelfAndPassDesigns.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
    using namespace ParameterTable;

    ParameterValues defaults()
    {
        ParameterValues v;
        for (int i = 0; i < numParameters; ++i)
            v[i] = entries[i].defaultValue;
        return v;
    }

    ParameterValues withAllGainsAt (double value)
    {
        auto v = defaults();
        for (const int g : { lowGain, lowMidGain, midGain, highMidGain, highGain })
            v[g] = value;
        return v;
    }

    /** Log-spaced probe frequencies up to just below Nyquist. */
    std::vector<double> probes (double fs)
    {
        std::vector<double> omegas;
        for (double f = 10.0; f < 0.499 * fs; f *= 1.15)
            omegas.push_back (omegaOf (f, fs));
        return omegas;
    }

    /** Poles of 1 + a1 z⁻¹ + a2 z⁻² strictly inside the unit circle. */
    bool isStable (const BiquadCoefficients& c)
    {
        return std::abs (c.a2) < 1.0 && std::abs (c.a1) < 1.0 + c.a2;
    }

    bool isFinite (const BiquadCoefficients& c)
    {
        return std::isfinite (c.b0) && std::isfinite (c.b1) && std::isfinite (c.b2)
            && std::isfinite (c.a1) && std::isfinite (c.a2);
    }
}

TEST (CoefficientDesign, AtZeroDbOnlyThePassFiltersShapeTheSound)
{
    const auto s = designChain (withAllGainsAt (0.5), 48000.0f);

    for (const int bell : { lowBellSection, lowMidBellSection, midBellSection, highMidBellSection })
        EXPECT_EQ (s.sections[bell], identitySection()) << bell;

    for (const double omega : probes (48000.0))
    {
        for (const int k : { lowShelfSection, highShelfSection, highBellSection })
            EXPECT_NEAR (magnitudeAt (s.sections[k], omega), 1.0, 1.0e-12) << k;
    }

    // The pass filters do: high-pass well below its 20.8 Hz corner, low-pass near Nyquist.
    EXPECT_LT (magnitudeAt (s.sections[highPassSection], omegaOf (5.0, 48000.0)), 0.1);
    EXPECT_LT (magnitudeAt (s.sections[lowPassSection], omegaOf (23900.0, 48000.0)), 0.1);
}

TEST (CoefficientDesign, BellsBelowAHundredthOfADbAreTheIdentity)
{
    struct Case { double gainDb; bool designed; };

    // The knob value that the mapping 24·v − 12 turns into these gains.
    const Case cases[] = { { 0.01, false }, { -0.01, false }, { 0.005, false }, { 0.0101, true }, { -0.0101, true } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.gainDb);
        auto v = defaults();
        v[midGain] = (c.gainDb + 12.0) / 24.0;
        v[lowGain] = (c.gainDb + 12.0) / 24.0;
        const auto s = designChain (v, 44100.0f);

        EXPECT_EQ (s.sections[midBellSection] != identitySection(), c.designed);
    }
}

TEST (CoefficientDesign, AMidCutIsTheExactReciprocalOfTheLift)
{
    auto lift = defaults();
    auto cut = defaults();
    lift[midGain] = 0.75;   // +6 dB
    cut[midGain] = 0.25;    // −6 dB

    const auto up = designChain (lift, 44100.0f).sections[midBellSection];
    const auto down = designChain (cut, 44100.0f).sections[midBellSection];

    EXPECT_NEAR (magnitudeDbAt (up, omegaOf (1415.0, 44100.0)), 6.0, 1.0e-3);

    for (const double omega : probes (44100.0))
        EXPECT_NEAR (magnitudeAt (up, omega) * magnitudeAt (down, omega), 1.0, 1.0e-9);
}

TEST (CoefficientDesign, MidKnobsSetTheBellCentre)
{
    struct Case { int freq, gain; int section; double centreHz; };

    const Case cases[] =
    {
        { lowMidFreq,  lowMidGain,  lowMidBellSection,    50.0 + 350.0 * 0.3 },
        { midFreq,     midGain,     midBellSection,      330.0 + 2170.0 * 0.3 },
        { highMidFreq, highMidGain, highMidBellSection, 1800.0 + 14200.0 * 0.3 },
    };

    for (const auto& c : cases)
    {
        auto v = defaults();
        v[c.freq] = 0.3;
        v[c.gain] = 1.0;   // +12 dB
        const auto bell = designChain (v, 96000.0f).sections[c.section];

        // Exactly the knob gain at the knob frequency (up to the single-precision omega).
        EXPECT_NEAR (magnitudeDbAt (bell, omegaOf (c.centreHz, 96000.0)), 12.0, 1.0e-3) << c.section;
        EXPECT_LT (magnitudeDbAt (bell, omegaOf (c.centreHz * 4.0, 96000.0)), 6.0);
    }
}

TEST (CoefficientDesign, TheSwitchRuleAndTheHeadGain)
{
    auto v = defaults();
    v[lfIn] = 0.999;
    v[hfIn] = 1.0;
    v[bypass] = 0.5;
    v[outgain] = 0.0;
    const auto s = designChain (v, 44100.0f);

    EXPECT_FALSE (s.lowOn);
    EXPECT_TRUE (s.highOn);
    EXPECT_FALSE (s.bypassed);
    EXPECT_TRUE (s.lowCutOn && s.highCutOn && s.lowMidOn && s.midOn && s.highMidOn);
    EXPECT_FALSE (s.passFiltersOn);
    EXPECT_FLOAT_EQ (s.outputGain, 0.25118864f);
    EXPECT_EQ (s.allpassCoefficient, -0.7995827f);
}

TEST (CoefficientDesign, NothingIsLimitedAtCdRateAndAbove)
{
    auto v = defaults();
    v[lowpassFreq] = 1.0;   // 22 kHz
    v[highMidFreq] = 1.0;   // 16 kHz
    v[highMidGain] = 1.0;

    for (const float fs : { 44100.0f, 48000.0f, 96000.0f })
    {
        const auto s = designChain (v, fs);
        EXPECT_EQ (s.sections[lowPassSection], designLowPass (22000.0, fs));

        BiquadCoefficients bell;
        const auto omega = (float) (16000.0 * 2.0 * 3.1415927 / (double) fs);
        const auto x = s.sections[highMidBellSection];
        designBell (bell.b0, bell.b1, bell.b2, bell.a1, bell.a2, 12.0f, omega, (float) ((double) (3.0f * 0.66103f) + 0.1));
        EXPECT_NEAR (magnitudeDbAt (x, omegaOf (16000.0, fs)), 12.0, 1.0e-3);
    }
}

TEST (CoefficientDesign, EverySectionIsStableAndFiniteAtEveryRateAndSetting)
{
    const float rates[] = { 8000.0f, 11025.0f, 16000.0f, 22050.0f, 32000.0f, 44100.0f,
                            48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f, 384000.0f };

    std::mt19937 generator (7);
    std::uniform_real_distribution<double> unit (0.0, 1.0);

    std::vector<ParameterValues> settings;

    // The corners of the knob ranges, then random settings in between.
    for (const double corner : { 0.0, 1.0 })
    {
        auto v = defaults();
        for (int i = 0; i < numParameters; ++i)
            if (i < outgain || i == highpassFreq || i == lowpassFreq)
                v[i] = corner;
        settings.push_back (v);
    }

    for (int n = 0; n < 400; ++n)
    {
        auto v = defaults();
        for (int i = 0; i < numParameters; ++i)
            if (i < outgain || i == highpassFreq || i == lowpassFreq)
                v[i] = unit (generator);
        settings.push_back (v);
    }

    for (const auto fs : rates)
        for (const auto& v : settings)
        {
            const auto s = designChain (v, fs);

            for (int k = 0; k < numSections; ++k)
            {
                ASSERT_TRUE (isFinite (s.sections[k])) << "rate " << fs << " section " << k;
                ASSERT_TRUE (isStable (s.sections[k])) << "rate " << fs << " section " << k;
            }
        }
}

TEST (CoefficientDesign, LowRatesKeepTheTopSectionsBelowNyquist)
{
    auto v = defaults();
    v[lowpassFreq] = 1.0;
    v[highMidFreq] = 1.0;
    v[highMidGain] = 1.0;

    const auto s = designChain (v, 32000.0f);

    // The low-pass still passes the low band and cuts towards Nyquist.
    EXPECT_NEAR (magnitudeAt (s.sections[lowPassSection], omegaOf (100.0, 32000.0)), 1.0, 1.0e-3);
    EXPECT_LT (magnitudeAt (s.sections[lowPassSection], omegaOf (15990.0, 32000.0)), 0.1);

    // The high-mid bell still lifts, below Nyquist.
    EXPECT_GT (magnitudeDbAt (s.sections[highMidBellSection], omegaOf (11000.0, 32000.0)), 9.0);
}
