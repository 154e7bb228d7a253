#pragma once

/** The five coefficients of one second-order section, a0 normalised to 1:

        y[n] = b0·x[n] + b1·x[n−1] + b2·x[n−2] − a1·y[n−1] − a2·y[n−2]

    Every filter design returns one of these; the audio path copies them into
    its section records.
*/
struct BiquadCoefficients
{
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

    bool operator== (const BiquadCoefficients& other) const noexcept
    {
        return b0 == other.b0 && b1 == other.b1 && b2 == other.b2
            && a1 == other.a1 && a2 == other.a2;
    }

    bool operator!= (const BiquadCoefficients& other) const noexcept { return ! operator== (other); }
};
