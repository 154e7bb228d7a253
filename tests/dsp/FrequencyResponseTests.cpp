// The response evaluation underlies every design test, so pin its sign
// conventions down on sections whose responses are known in closed form.

#include "dsp/FrequencyResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace
{
    constexpr double pi = 3.141592653589793;
}

TEST (FrequencyResponse, OneSampleDelayIsEToTheMinusJOmega)
{
    BiquadCoefficients delay;
    delay.b1 = 1.0;

    for (double w : { 0.1, 1.0, 2.5 })
    {
        const std::complex<double> h = responseAt (delay, w);
        EXPECT_NEAR (h.real(), std::cos (w), 1.0e-15);
        EXPECT_NEAR (h.imag(), -std::sin (w), 1.0e-15);
    }
}

TEST (FrequencyResponse, FeedbackCoefficientsEnterWithAPlusSignInTheDenominator)
{
    // y[n] = x[n] + 0.5·y[n−1] is a1 = −0.5: gain 2 at DC, 2/3 at Nyquist.
    BiquadCoefficients onePole;
    onePole.b0 = 1.0;
    onePole.a1 = -0.5;

    EXPECT_NEAR (magnitudeAt (onePole, 0.0), 2.0, 1.0e-15);
    EXPECT_NEAR (magnitudeAt (onePole, pi), 2.0 / 3.0, 1.0e-15);
    EXPECT_NEAR (magnitudeDbAt (onePole, 0.0), 20.0 * std::log10 (2.0), 1.0e-12);
}

TEST (FrequencyResponse, OmegaOfHalfTheSampleRateIsPi)
{
    EXPECT_DOUBLE_EQ (omegaOf (22050.0, 44100.0), pi);
    EXPECT_DOUBLE_EQ (omegaOf (1000.0, 48000.0), 2.0 * pi * 1000.0 / 48000.0);
}
