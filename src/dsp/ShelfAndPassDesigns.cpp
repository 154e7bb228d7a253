// The forms follow R. Bristow-Johnson, "Cookbook formulae for audio EQ biquad
// filter coefficients", with this equaliser's fixed choices: a 1.739-octave
// high-pass, a Q 0.5 low-pass, shelves with an explicit Q and a bell with its
// width in octaves. The order of every product and sum is kept as it is so the
// coefficients stay reproducible to the last bit.

#include "ShelfAndPassDesigns.h"

#include <cmath>

namespace
{
    constexpr double twoPi = 6.283185307179586;

    struct Angle
    {
        double w, sn, cs;
    };

    Angle angleOf (double frequencyHz, double sampleRate)
    {
        const double w = frequencyHz * twoPi / sampleRate;
        return { w, std::sin (w), std::cos (w) };
    }

    /** Amplitude of half the gain in dB, the cookbook's A. */
    double shelfAmplitude (double gainDb)
    {
        return std::pow (10.0, gainDb / 40.0);
    }
}

BiquadCoefficients designHighPass (double frequencyHz, double sampleRate)
{
    // (ln 2 / 2) · 1.739 octaves
    constexpr double halfLn2TimesBandwidth = 0.6026914734968725;

    const Angle a = angleOf (frequencyHz, sampleRate);
    const double alpha = std::sinh (a.w * halfLn2TimesBandwidth / a.sn) * a.sn;
    const double a0 = 1.0 + alpha;

    BiquadCoefficients c;
    c.b0 = 0.5 * (1.0 + a.cs) / a0;
    c.b1 = -(1.0 + a.cs) / a0;
    c.b2 = c.b0;
    c.a1 = -2.0 * a.cs / a0;
    c.a2 = (1.0 - alpha) / a0;
    return c;
}

BiquadCoefficients designLowPass (double frequencyHz, double sampleRate)
{
    const Angle a = angleOf (frequencyHz, sampleRate);
    const double a0 = 1.0 + a.sn;   // alpha = sin(w): Q 0.5

    BiquadCoefficients c;
    c.b0 = 0.5 * (1.0 - a.cs) / a0;
    c.b1 = (1.0 - a.cs) / a0;
    c.b2 = c.b0;
    c.a1 = -2.0 * a.cs / a0;
    c.a2 = (1.0 - a.sn) / a0;
    return c;
}

BiquadCoefficients designLowShelf (double frequencyHz, double gainDb, double q, double sampleRate)
{
    const Angle a = angleOf (frequencyHz, sampleRate);
    const double A = shelfAmplitude (gainDb);
    const double beta = (std::sqrt (A) / q) * a.sn;
    const double a0 = (A + 1.0) + (A - 1.0) * a.cs + beta;

    BiquadCoefficients c;
    c.b0 = A * ((A + 1.0) - (A - 1.0) * a.cs + beta) / a0;
    c.b1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * a.cs) / a0;
    c.b2 = A * ((A + 1.0) - (A - 1.0) * a.cs - beta) / a0;
    c.a1 = -2.0 * ((A - 1.0) + (A + 1.0) * a.cs) / a0;
    c.a2 = ((A + 1.0) + (A - 1.0) * a.cs - beta) / a0;
    return c;
}

BiquadCoefficients designHighShelf (double frequencyHz, double gainDb, double q, double sampleRate)
{
    const Angle a = angleOf (frequencyHz, sampleRate);
    const double A = shelfAmplitude (gainDb);
    const double beta = (std::sqrt (A) / q) * a.sn;
    const double a0 = (A + 1.0) - (A - 1.0) * a.cs + beta;

    BiquadCoefficients c;
    c.b0 = A * ((A + 1.0) + (A - 1.0) * a.cs + beta) / a0;
    c.b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * a.cs) / a0;
    c.b2 = A * ((A + 1.0) + (A - 1.0) * a.cs - beta) / a0;
    c.a1 = 2.0 * ((A - 1.0) - (A + 1.0) * a.cs) / a0;
    c.a2 = ((A + 1.0) - (A - 1.0) * a.cs - beta) / a0;
    return c;
}

BiquadCoefficients designPeakingOctaves (double frequencyHz, double gainDb, double bandwidthOctaves, double sampleRate)
{
    constexpr double halfLn2 = 0.34657359027997264;

    const Angle a = angleOf (frequencyHz, sampleRate);
    const double A = shelfAmplitude (gainDb);
    const double alpha = std::sinh (bandwidthOctaves * halfLn2 * a.w / a.sn) * a.sn;
    const double a0 = 1.0 + alpha / A;

    BiquadCoefficients c;
    c.b0 = (1.0 + alpha * A) / a0;
    c.b1 = -2.0 * a.cs / a0;
    c.b2 = (1.0 - alpha * A) / a0;
    c.a1 = c.b1;
    c.a2 = (1.0 - alpha / A) / a0;
    return c;
}

BiquadCoefficients identitySection()
{
    BiquadCoefficients c;
    c.b0 = 1.0;
    return c;
}
