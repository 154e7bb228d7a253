#pragma once

#include "BiquadCoefficients.h"

#include <complex>

/** The transfer function of one section, H(z) = (b0 + b1·z⁻¹ + b2·z⁻²) / (1 + a1·z⁻¹ + a2·z⁻²),
    evaluated on the unit circle at z = e^(j·omega), omega in radians per sample. */
std::complex<double> responseAt (const BiquadCoefficients& c, double omega);

/** |H(e^(j·omega))|, the linear gain of the section at omega. */
double magnitudeAt (const BiquadCoefficients& c, double omega);

/** The gain of the section at omega in dB, 20·log10 |H|. */
double magnitudeDbAt (const BiquadCoefficients& c, double omega);

/** Radians per sample of a frequency in Hz at the given sample rate. */
double omegaOf (double frequencyHz, double sampleRate);
