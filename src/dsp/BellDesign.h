#pragma once

/** Designs one second-order peaking (bell) section whose gain at the Nyquist
    frequency equals that of the matching analogue bell, instead of being
    pulled to 0 dB as in the usual bilinear-transform bell.

    The section has exactly gainDb at omega, exactly gainDb / 2 at the lower
    band edge omega · 2^(−BW/2) (BW being the bandwidth in octaves derived
    from q), 0 dB at DC and the analogue bell's gain at π. A negative gainDb
    gives the exact reciprocal of the lift of the same magnitude, so a cut
    undoes the lift at every frequency.

    @param b0,b1,b2  receive the feed-forward coefficients (a0 is 1)
    @param a1,a2     receive the feedback coefficients; all five are always written
    @param gainDb    gain at the centre in dB; its magnitude must exceed 0.01 dB
                     (at 0 dB the design divides zero by zero)
    @param omega     centre frequency in radians per sample, strictly inside (0, π)
    @param q         width control, larger is narrower; used with 0.1 ≤ q ≤ 3.1

    Inputs outside these ranges give meaningless or non-finite coefficients;
    nothing is checked.
*/
void designBell (double& b0, double& b1, double& b2, double& a1, double& a2,
                 float gainDb, float omega, float q);
