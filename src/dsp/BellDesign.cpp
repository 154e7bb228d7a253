// Bell with prescribed Nyquist-frequency gain, after S. J. Orfanidis,
// "Digital Parametric Equalizer Design with Prescribed Nyquist-Frequency Gain",
// J. Audio Eng. Soc. 45(6), 1997. The Nyquist gain G1 is taken from the
// analogue bell of the same centre and width; the band edge is placed on the
// prewarped lower edge so that the half-dB point lands there exactly.
//
// Some steps are deliberately done in single precision (the tangent of the
// centre, the width-to-octaves conversion, omega squared): the resulting
// coefficients are part of the sound and must match bit for bit, so keep every
// float/double boundary and the order of each product as it is.

#include "BellDesign.h"

#include <cmath>

void designBell (double& b0, double& b1, double& b2, double& a1, double& a2,
                 float gainDb, float omega, float q)
{
    constexpr double ln2 = 0.6931471805599453;
    constexpr double piTimesRefRateSquared = 19194505335.282593;  // (π·44100)²
    constexpr double piTimesRefRate = 138544.23602330987;         // π·44100
    constexpr double refRate = 44100.0;

    const double d = (double) std::fabs (gainDb);

    const double G = std::pow (10.0, 0.05 * d);              // peak gain
    const double s = std::pow (10.0, 0.025 * d);
    const double GB2 = s * s;                                 // band-edge gain², geometric mean of 1 and G

    const float t = std::tan (0.5f * omega);

    // Width control to octaves: BW = 2·asinh(1 / 2q) / ln 2.
    const float h = 1.0f / (q + q);
    const float x = std::sqrt (h * h + 1.0f) + h;
    const double BW = 2.0 * (double) std::log (x) / ln2;

    const double lo = std::pow (2.0, -0.5 * BW);
    const double hi = std::pow (2.0, 0.5 * BW);

    const double omegaD = (double) omega;
    const double m = std::tan (lo * omegaD * 0.5);            // prewarped lower band edge

    // Analogue bandwidth at the fixed reference rate; the rate cancels in G1.
    const double dW = (hi - lo) * (omegaD * refRate);

    const double G2 = G * G;
    const double F00 = std::fabs (GB2 - 1.0);
    const double F = std::fabs (G2 - GB2);

    const double W = std::sqrt (F00 / F) * dW;

    const double u = piTimesRefRateSquared - (double) (omega * omega) * refRate * refRate;

    // Gain of the analogue bell at the Nyquist frequency.
    const double G1 = std::sqrt (((G * W) * (G * W) * piTimesRefRate * piTimesRefRate + u * u)
                                 / ((W * W) * piTimesRefRate * piTimesRefRate + u * u));

    const double G11 = std::fabs (G2 - G1 * G1);
    const double G00 = std::fabs (G2 - 1.0);

    const double td = (double) t;
    const double W2 = std::sqrt (G11 / G00) * td * td;

    const double Dv = (std::fabs (G2 - G1) - std::sqrt (G00 * G11)) * 2.0 * W2;

    const double m2 = m * m;
    const double A = std::sqrt ((m2 * Dv + (m2 - W2) * (m2 - W2) * GB2 - (G1 * m2 - W2) * (G1 * m2 - W2))
                                / (G2 * m2 - GB2 * m2));
    const double B = std::sqrt (G2 * (A * A) - Dv);

    const double n = 1.0 / (A + (W2 + 1.0));

    b0 = (G1 + W2 + B) * n;
    b1 = -2.0 * (G1 - W2) * n;
    b2 = (G1 - B + W2) * n;
    a1 = -2.0 * (1.0 - W2) * n;
    a2 = (W2 + 1.0 - A) * n;

    if (gainDb < 0.0f)
    {
        // A cut is the inverse of the lift: swap numerator and denominator and
        // renormalise so the new a0 is 1.
        const double oldB0 = b0, oldB1 = b1, oldB2 = b2, oldA1 = a1, oldA2 = a2;

        b0 = 1.0 / oldB0;
        b1 = oldA1 / oldB0;
        b2 = oldA2 / oldB0;
        a1 = oldB1 / oldB0;
        a2 = oldB2 / oldB0;
    }
}
