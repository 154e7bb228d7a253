#pragma once

/** One second-order section in direct form I: its coefficients (a0 = 1) and
    its four memories. The processor keeps eighteen of these, nine per channel;
    the coefficient update writes only the first five fields, the audio
    callback only the last four.
*/
struct FilterSection
{
    double b0 = 0.0, b1 = 0.0, b2 = 0.0;   ///< feed-forward coefficients
    double a1 = 0.0, a2 = 0.0;             ///< feedback coefficients
    double y1 = 0.0, y2 = 0.0;             ///< last and second-to-last output
    double x1 = 0.0, x2 = 0.0;             ///< last and second-to-last input
};
