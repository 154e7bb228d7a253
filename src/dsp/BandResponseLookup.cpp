// The arithmetic here is single precision throughout and the order of the
// products and sums is part of the result (the filter designs downstream see
// every last bit), so keep the expressions as they are written.

#include "BandResponseLookup.h"
#include "ResponseTables.h"

#include <cmath>

namespace
{
    constexpr int lastGainColumn = 12;

    /** Distances of a point from the two ends of its cell along both axes. */
    struct CellWeights
    {
        float toUpperAxis;   // p(k+1) − p
        float fromLowerAxis; // p − p(k)
        float toUpperGain;   // (j + 1) − g
        float fromLowerGain; // g − j
    };

    CellWeights weightsFor (float p, float pLower, float pUpper, float g, int j)
    {
        return { pUpper - p, p - pLower, (float) (j + 1) - g, g - (float) j };
    }

    /** Bilinear over the cell E(k, j), E(k, j+1), E(k+1, j), E(k+1, j+1). */
    float interpolateCell (const CellWeights& w, float e00, float e01, float e10, float e11, float axisSpacing)
    {
        return (w.toUpperAxis * w.toUpperGain * e00
                + w.toUpperAxis * w.fromLowerGain * e01
                + w.fromLowerAxis * w.toUpperGain * e10
                + w.fromLowerAxis * w.fromLowerGain * e11) / axisSpacing;
    }

    /** On the last gain column: only column j, across the two axis points. */
    float interpolateLastGain (const CellWeights& w, float e0, float e1, float axisSpacing)
    {
        return (w.toUpperAxis * w.toUpperGain * e0
                + w.fromLowerAxis * w.toUpperGain * e1) / axisSpacing;
    }

    /** On the last axis point: linear in gain between columns j and j+1. */
    float interpolateLastAxis (const CellWeights& w, float e0, float e1)
    {
        return w.toUpperGain * e0 + w.fromLowerGain * e1;
    }

    /** Shared body of the two band lookups: row rowLower and the one after it
        (or only rowLower when onLastRow) of a 13-column, six-field table. */
    std::array<float, 6> lookUpBand (const float (*table)[6], int rowLower, bool onLastRow,
                                     float p, float pLower, float pUpper, float axisSpacing,
                                     float gainDb)
    {
        float g = std::fabs (gainDb);
        const bool onLastGain = ! (g < (float) lastGainColumn);

        if (onLastGain)
            g = (float) lastGainColumn;

        const int j = onLastGain ? lastGainColumn : (int) std::floor (g);
        const CellWeights w = weightsFor (p, pLower, pUpper, g, j);

        const float* lowRow = table[13 * rowLower + j];
        std::array<float, 6> result {};

        for (int field = 0; field < 6; ++field)
        {
            if (onLastRow && onLastGain)
                result[field] = lowRow[field];
            else if (onLastRow)
                result[field] = interpolateLastAxis (w, lowRow[field], table[13 * rowLower + j + 1][field]);
            else if (onLastGain)
                result[field] = interpolateLastGain (w, lowRow[field], table[13 * (rowLower + 1) + j][field], axisSpacing);
            else
                result[field] = interpolateCell (w,
                                                 lowRow[field],
                                                 table[13 * rowLower + j + 1][field],
                                                 table[13 * (rowLower + 1) + j][field],
                                                 table[13 * (rowLower + 1) + j + 1][field],
                                                 axisSpacing);
        }

        // A cut mirrors both gains around 0 dB (0.5); the shapes stay those of the lift.
        if (gainDb < 0.0f)
        {
            result[1] = 1.0f - result[1];
            result[4] = 1.0f - result[4];
        }

        return result;
    }
}

std::array<float, 6> lookUpLowBand (float freqHz, float gainDb)
{
    constexpr float rowSpacingHz = 30.0f;
    constexpr int lastRow = 9;

    const float p = freqHz >= rowSpacingHz ? freqHz : rowSpacingHz;

    if (! (p < 300.0f))
        return lookUpBand (lowBandTable, lastRow, true, p, 0.0f, 0.0f, 0.0f, gainDb);

    int i = (int) std::floor (p / rowSpacingHz);
    i = i > lastRow ? lastRow : i;

    // Row i − 1 belongs to 30·i Hz, row i to 30·(i + 1) Hz.
    return lookUpBand (lowBandTable, i - 1, false, p,
                       (float) (30 * i), (float) (30 * (i + 1)), rowSpacingHz, gainDb);
}

std::array<float, 6> lookUpHighBand (float freqHz, float gainDb)
{
    constexpr int lastRow = 10;

    const float f = freqHz >= 2500.0f ? freqHz : 2500.0f;

    int n = 0;
    while (n < lastRow && f >= (float) highFreqBreakpoints[n + 1])
        ++n;

    if (n == lastRow)
        return lookUpBand (highBandTable, lastRow, true, f, 0.0f, 0.0f, 0.0f, gainDb);

    return lookUpBand (highBandTable, n, false, f,
                       (float) highFreqBreakpoints[n], (float) highFreqBreakpoints[n + 1],
                       (float) (highFreqBreakpoints[n + 1] - highFreqBreakpoints[n]), gainDb);
}

float lookUpMidQ (int band, float qKnob, float gainDb)
{
    constexpr int lastColumn = 10;

    const float q = qKnob >= midQBreakpoints[0] ? qKnob : midQBreakpoints[0];

    int m = 0;
    while (m < lastColumn && q >= midQBreakpoints[m + 1])
        ++m;

    float g = std::fabs (gainDb);
    const bool onLastGain = ! (g < (float) lastGainColumn);

    if (onLastGain)
        g = (float) lastGainColumn;

    const int j = onLastGain ? lastGainColumn : (int) std::floor (g);

    // Entry at Q column c and gain row r.
    auto E = [band] (int c, int r) { return midQTable[11 * r + c][band]; };

    if (m == lastColumn)
    {
        if (onLastGain)
            return E (lastColumn, lastGainColumn);

        const CellWeights w = weightsFor (q, 0.0f, 0.0f, g, j);
        return interpolateLastAxis (w, E (lastColumn, j), E (lastColumn, j + 1));
    }

    const CellWeights w = weightsFor (q, midQBreakpoints[m], midQBreakpoints[m + 1], g, j);
    const float spacing = midQBreakpoints[m + 1] - midQBreakpoints[m];

    if (onLastGain)
        return interpolateLastGain (w, E (m, j), E (m + 1, j), spacing);

    return interpolateCell (w, E (m, j), E (m, j + 1), E (m + 1, j), E (m + 1, j + 1), spacing);
}
