#pragma once

#include "dsp/BiquadCoefficients.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace sectionchecks
{
    constexpr double pi = 3.141592653589793;

    /** Largest magnitude of the roots of z² + c1·z + c2, found from the
        quadratic formula (the poles of a section when c1 = a1, c2 = a2, its
        zeros when c1 = b1/b0, c2 = b2/b0). */
    inline double largestRootRadius (double c1, double c2)
    {
        const std::complex<double> root = std::sqrt (std::complex<double> (c1 * c1 - 4.0 * c2, 0.0));
        const double r1 = std::abs ((-c1 + root) / 2.0);
        const double r2 = std::abs ((-c1 - root) / 2.0);
        return std::max (r1, r2);
    }

    inline double poleRadius (const BiquadCoefficients& c)
    {
        return largestRootRadius (c.a1, c.a2);
    }

    /** Frequencies from near DC to just below π, log-spaced so both ends of
        the audio band get points. */
    inline std::vector<double> omegaSweep (int count = 400)
    {
        std::vector<double> omegas;
        const double first = 1.0e-4, last = pi * 0.9999;

        for (int i = 0; i < count; ++i)
            omegas.push_back (first * std::pow (last / first, i / (double) (count - 1)));

        return omegas;
    }
}
