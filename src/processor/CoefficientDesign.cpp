#include "CoefficientDesign.h"

#include "../dsp/BandResponseLookup.h"
#include "../dsp/BellDesign.h"
#include "../dsp/ShelfAndPassDesigns.h"

#include <cmath>

namespace
{
    using namespace ParameterTable;

    // The coefficient update's omega formulas use this short value of pi.
    constexpr double shortPi = 3.1415927;

    // The rate at which every design frequency is known to stay below Nyquist.
    constexpr double safeRate = 44100.0;

    // Highest design frequencies at the safe rate: the low-pass top, and the
    // high-mid bell top (the highest bell the program designs).
    constexpr double passLimitAtSafeRate = 22000.0;
    constexpr double bellLimitAtSafeRate = 16000.0;

    /** Below the safe rate, keeps a design frequency at the fraction of the
        rate that the same limit has at 44.1 kHz; above it, leaves it alone. */
    double limitFrequency (double frequencyHz, double limitAtSafeRate, double fs) noexcept
    {
        if (fs >= safeRate)
            return frequencyHz;

        const auto limit = limitAtSafeRate * (fs / safeRate);
        return frequencyHz < limit ? frequencyHz : limit;
    }

    float limitFrequency (float frequencyHz, double limitAtSafeRate, double fs) noexcept
    {
        return fs >= safeRate ? frequencyHz
                              : (float) limitFrequency ((double) frequencyHz, limitAtSafeRate, fs);
    }

    BiquadCoefficients bell (float gainDb, float omega, float q)
    {
        BiquadCoefficients c;
        designBell (c.b0, c.b1, c.b2, c.a1, c.a2, gainDb, omega, q);
        return c;
    }

    /** Gains within this many dB of zero get the identity instead of a bell,
        whose design divides by zero at 0 dB. */
    constexpr double bellGainThreshold = 0.01;

    struct MidBand
    {
        int freq, gain, q;
        double base, span;
    };

    constexpr MidBand midBands[3] =
    {
        { lowMidFreq,  lowMidGain,  lowMidQ,    50.0,   350.0 },
        { midFreq,     midGain,     midQ,      330.0,  2170.0 },
        { highMidFreq, highMidGain, highMidQ, 1800.0, 14200.0 },
    };

    constexpr int midSections[3] = { lowMidBellSection, midBellSection, highMidBellSection };
}

ChainSettings designChain (const ParameterValues& v, float sampleRate)
{
    ChainSettings s;
    const double fs = (double) sampleRate;

    // High-pass
    {
        const double f = 10.0 + 190.0 * v[highpassFreq];
        s.sections[highPassSection] = designHighPass (limitFrequency (f, passLimitAtSafeRate, fs), fs);
    }

    // Low section: a shelf and a bell from the low band table
    {
        const auto knobFreq = (float) (30.0 + 270.0 * v[lowFreq]);
        const auto knobGain = (float) (24.0 * v[lowGain] - 12.0);
        const auto e = lookUpLowBand (knobFreq, knobGain);

        const float shelfFreq = limitFrequency (270.0f * e[0] + 30.0f, passLimitAtSafeRate, fs);
        const float shelfGain = 24.0f * e[1] - 12.0f;
        const float shelfQ    = e[2] + 0.5f;
        s.sections[lowShelfSection] = designLowShelf (shelfFreq, shelfGain, shelfQ, fs);

        const float bellGain = 24.0f * e[4] - 12.0f;

        if (std::abs ((double) bellGain) > bellGainThreshold)
        {
            const float bellFreq = limitFrequency (350.0f * e[3] + 50.0f, bellLimitAtSafeRate, fs);
            const auto omega = (float) ((double) (2.0f * bellFreq) * shortPi / fs);
            const auto q = (float) ((double) (2.0f * e[5]) + 0.1);
            s.sections[lowBellSection] = bell (bellGain, omega, q);
        }
        else
        {
            s.sections[lowBellSection] = identitySection();
        }
    }

    // The three mid bells, their Q from the mid Q table
    for (int band = 0; band < 3; ++band)
    {
        const auto& m = midBands[band];
        const auto gain  = (float) (24.0 * v[m.gain] - 12.0);
        const auto qKnob = (float) (0.7 + 4.3 * v[m.q]);
        const auto x = lookUpMidQ (band, qKnob, gain);

        if (std::abs ((double) gain) > bellGainThreshold)
        {
            const auto q = (float) ((double) (3.0f * x) + 0.1);
            const double f = limitFrequency (m.base + m.span * v[m.freq], bellLimitAtSafeRate, fs);
            const auto omega = (float) (f * 2.0 * shortPi / fs);
            s.sections[midSections[band]] = bell (gain, omega, q);
        }
        else
        {
            s.sections[midSections[band]] = identitySection();
        }
    }

    // High section: a bell and a shelf from the high band table
    {
        const auto knobFreq = (float) (2500.0 + 22500.0 * v[highFreq]);
        const auto knobGain = (float) (24.0 * v[highGain] - 12.0);
        const auto e = lookUpHighBand (knobFreq, knobGain);

        const float bellFreq = limitFrequency (15670.0f * e[0] + 330.0f, bellLimitAtSafeRate, fs);
        const float bellGain = 24.0f * e[1] - 12.0f;
        const auto bandwidth = (double) (float) ((double) (2.0f * e[2]) + 0.1);
        s.sections[highBellSection] = designPeakingOctaves (bellFreq, bellGain, bandwidth, fs);

        const float shelfFreq = limitFrequency (22000.0f * e[3] + 1000.0f, passLimitAtSafeRate, fs);
        const float shelfGain = 24.0f * e[4] - 12.0f;
        const float shelfQ    = e[5] + 0.5f;
        s.sections[highShelfSection] = designHighShelf (shelfFreq, shelfGain, shelfQ, fs);
    }

    // Low-pass
    {
        const double f = 5000.0 + 17000.0 * v[lowpassFreq];
        s.sections[lowPassSection] = designLowPass (limitFrequency (f, passLimitAtSafeRate, fs), fs);
    }

    s.allpassCoefficient = fixedAllpassCoefficient;
    s.outputGain = (float) std::pow (10.0, 1.2 * v[outgain] - 0.6);

    s.bypassed      = isSwitchOn (v[bypass]);
    s.lowMidOn      = isSwitchOn (v[lmfIn]);
    s.midOn         = isSwitchOn (v[mfIn]);
    s.highMidOn     = isSwitchOn (v[hmfIn]);
    s.passFiltersOn = isSwitchOn (v[lphpIn]);
    s.lowOn         = isSwitchOn (v[lfIn]);
    s.highOn        = isSwitchOn (v[hfIn]);
    s.lowCutOn      = isSwitchOn (v[lowcutIn]);
    s.highCutOn     = isSwitchOn (v[highcutIn]);

    return s;
}
