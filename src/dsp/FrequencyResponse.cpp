#include "FrequencyResponse.h"

#include <cmath>

std::complex<double> responseAt (const BiquadCoefficients& c, double omega)
{
    const std::complex<double> z1 = std::polar (1.0, -omega);   // z⁻¹
    const std::complex<double> z2 = z1 * z1;

    const std::complex<double> numerator = c.b0 + c.b1 * z1 + c.b2 * z2;
    const std::complex<double> denominator = 1.0 + c.a1 * z1 + c.a2 * z2;
    return numerator / denominator;
}

double magnitudeAt (const BiquadCoefficients& c, double omega)
{
    return std::abs (responseAt (c, omega));
}

double magnitudeDbAt (const BiquadCoefficients& c, double omega)
{
    return 20.0 * std::log10 (magnitudeAt (c, omega));
}

double omegaOf (double frequencyHz, double sampleRate)
{
    return 2.0 * 3.141592653589793 * frequencyHz / sampleRate;
}
