// The response tables: their invariants, the voiced anchor rows, the shape of
// the interpolated entries, and that every entry designs a stable section.

#include "SectionChecks.h"

#include "dsp/BellDesign.h"
#include "dsp/ResponseTables.h"
#include "dsp/ShelfAndPassDesigns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace sectionchecks;

namespace
{
    constexpr int gainColumns = 13;

    struct BandAnchor
    {
        int row, column;
        float fields[6];
    };

    const BandAnchor lowAnchors[] = {
        { 0, 0, { 0.10963f, 0.50000f, 0.61014f, 0.05723f, 0.50000f, 0.57223f } },
        { 0, 6, { 0.10319f, 0.74978f, 0.55279f, 0.07787f, 0.45538f, 0.56804f } },
        { 0, 12, { 0.10319f, 1.00000f, 0.42524f, 0.08747f, 0.39225f, 0.51570f } },
        { 4, 0, { 0.52783f, 0.50000f, 0.56795f, 0.35379f, 0.50000f, 0.43320f } },
        { 4, 6, { 0.51138f, 0.74307f, 0.56532f, 0.35379f, 0.55458f, 0.39460f } },
        { 4, 12, { 0.46029f, 0.98179f, 0.53814f, 0.31878f, 0.62773f, 0.34778f } },
        { 9, 0, { 0.93418f, 0.50000f, 0.28007f, 0.68404f, 0.50000f, 0.30832f } },
        { 9, 6, { 0.91179f, 0.74262f, 0.31759f, 0.68404f, 0.57746f, 0.27476f } },
        { 9, 12, { 0.86091f, 0.98132f, 0.34155f, 0.68404f, 0.64072f, 0.21105f } },
    };

    const BandAnchor highAnchors[] = {
        { 0, 0, { 0.09245f, 0.50000f, 0.64000f, 0.05700f, 0.50000f, 0.35000f } },
        { 0, 6, { 0.09935f, 0.57178f, 0.82557f, 0.06365f, 0.73918f, 0.35779f } },
        { 0, 12, { 0.09935f, 0.65182f, 0.82321f, 0.07526f, 0.97750f, 0.41268f } },
        { 6, 0, { 0.10000f, 0.50000f, 0.70573f, 0.12580f, 0.50000f, 0.40565f } },
        { 6, 6, { 0.22268f, 0.52827f, 0.70573f, 0.13484f, 0.74450f, 0.41067f } },
        { 6, 12, { 0.21958f, 0.55602f, 0.88005f, 0.15013f, 0.98952f, 0.41242f } },
        { 8, 0, { 0.29893f, 0.50000f, 0.88778f, 0.21000f, 0.50000f, 0.42978f } },
        { 8, 6, { 0.31859f, 0.48799f, 0.94112f, 0.23542f, 0.74826f, 0.41088f } },
        { 8, 12, { 0.35720f, 0.46717f, 0.94112f, 0.25158f, 0.99734f, 0.36991f } },
        { 10, 0, { 0.45000f, 0.50000f, 0.73000f, 0.50000f, 0.50000f, 0.10000f } },
        { 10, 6, { 0.48711f, 0.44719f, 0.73526f, 0.49252f, 0.69637f, 0.07696f } },
        { 10, 12, { 0.51066f, 0.39201f, 0.80932f, 0.49230f, 0.89044f, 0.07015f } },
    };

    // Per Q column: low-mid, mid, high-mid at 0 dB, then at 12 dB.
    const float midQAnchors[11][6] = {
        { 0.03363f, 0.03319f, 0.04062f, 0.05658f, 0.05356f, 0.06104f },
        { 0.05939f, 0.06309f, 0.06069f, 0.09012f, 0.09100f, 0.08789f },
        { 0.08331f, 0.09107f, 0.08226f, 0.12343f, 0.12521f, 0.11508f },
        { 0.11297f, 0.12200f, 0.10206f, 0.15693f, 0.16270f, 0.14394f },
        { 0.15121f, 0.15849f, 0.13919f, 0.21055f, 0.21376f, 0.18528f },
        { 0.20353f, 0.21912f, 0.17751f, 0.27674f, 0.28583f, 0.23908f },
        { 0.25324f, 0.27037f, 0.21845f, 0.34043f, 0.35394f, 0.29503f },
        { 0.30586f, 0.30816f, 0.26158f, 0.41523f, 0.40441f, 0.34748f },
        { 0.38839f, 0.37975f, 0.33465f, 0.50990f, 0.49798f, 0.43532f },
        { 0.48602f, 0.47895f, 0.41446f, 0.63835f, 0.63372f, 0.54814f },
        { 0.59508f, 0.57269f, 0.50220f, 0.77265f, 0.75045f, 0.66103f },
    };

    const int lowAnchorRows[] = { 0, 4, 9 };
    const int highAnchorRows[] = { 0, 6, 8, 10 };
    const int anchorColumns[] = { 0, 6, 12 };

    bool isBetween (float v, float a, float b) { return std::min (a, b) <= v && v <= std::max (a, b); }

    /** Every entry of a band table between two anchor rows (in its own
        column) or, on an anchor row, between two anchor columns, lies
        between the two: the fill never overshoots. */
    template <size_t numAnchorRows>
    void expectNoOvershoot (const float (*table)[6], const int (&anchorRows)[numAnchorRows])
    {
        auto e = [table] (int row, int column, int field) { return table[gainColumns * row + column][field]; };

        for (int field = 0; field < 6; ++field)
        {
            for (size_t a = 0; a + 1 < numAnchorRows; ++a)
                for (int row = anchorRows[a] + 1; row < anchorRows[a + 1]; ++row)
                    for (int column = 0; column < gainColumns; ++column)
                        EXPECT_TRUE (isBetween (e (row, column, field), e (anchorRows[a], column, field), e (anchorRows[a + 1], column, field)))
                            << "row " << row << ", column " << column << ", field " << field;

            for (int row : anchorRows)
                for (size_t c = 0; c + 1 < 3; ++c)
                    for (int column = anchorColumns[c] + 1; column < anchorColumns[c + 1]; ++column)
                        EXPECT_TRUE (isBetween (e (row, column, field), e (row, anchorColumns[c], field), e (row, anchorColumns[c + 1], field)))
                            << "row " << row << ", column " << column << ", field " << field;
        }
    }
}

TEST (ResponseTables, EveryEntryIsNormalised)
{
    for (const auto& entry : lowBandTable)
        for (float v : entry)
            ASSERT_TRUE (v >= 0.0f && v <= 1.0f) << v;

    for (const auto& entry : highBandTable)
        for (float v : entry)
            ASSERT_TRUE (v >= 0.0f && v <= 1.0f) << v;

    for (const auto& entry : midQTable)
        for (float v : entry)
            ASSERT_TRUE (v >= 0.0f && v <= 1.0f) << v;
}

TEST (ResponseTables, ZeroDbColumnHasBothGainsAtZeroDb)
{
    for (int row = 0; row < 10; ++row)
    {
        EXPECT_EQ (lowBandTable[gainColumns * row][1], 0.5f) << "low row " << row;
        EXPECT_EQ (lowBandTable[gainColumns * row][4], 0.5f) << "low row " << row;
    }

    for (int row = 0; row < 11; ++row)
    {
        EXPECT_EQ (highBandTable[gainColumns * row][1], 0.5f) << "high row " << row;
        EXPECT_EQ (highBandTable[gainColumns * row][4], 0.5f) << "high row " << row;
    }
}

TEST (ResponseTables, MidQIsTheSameAtZeroAndOneDb)
{
    for (int m = 0; m < 11; ++m)
        for (int band = 0; band < 3; ++band)
            EXPECT_EQ (midQTable[m][band], midQTable[11 + m][band]) << "column " << m << ", band " << band;
}

TEST (ResponseTables, AnchorRowsAreExact)
{
    for (const auto& a : lowAnchors)
        for (int field = 0; field < 6; ++field)
            EXPECT_EQ (lowBandTable[gainColumns * a.row + a.column][field], a.fields[field]) << "low " << a.row << "/" << a.column;

    for (const auto& a : highAnchors)
        for (int field = 0; field < 6; ++field)
            EXPECT_EQ (highBandTable[gainColumns * a.row + a.column][field], a.fields[field]) << "high " << a.row << "/" << a.column;

    for (int m = 0; m < 11; ++m)
        for (int band = 0; band < 3; ++band)
        {
            EXPECT_EQ (midQTable[m][band], midQAnchors[m][band]) << "0 dB, column " << m;
            EXPECT_EQ (midQTable[11 * 12 + m][band], midQAnchors[m][3 + band]) << "12 dB, column " << m;
        }
}

TEST (ResponseTables, BandTablesNeverOvershootTheirAnchors)
{
    expectNoOvershoot (lowBandTable, lowAnchorRows);
    expectNoOvershoot (highBandTable, highAnchorRows);
}

TEST (ResponseTables, MidQGrowsWithGainAndWithTheQKnob)
{
    // Bells narrow as the gain rises, and turning the Q knob up never widens them.
    for (int band = 0; band < 3; ++band)
        for (int j = 0; j < gainColumns; ++j)
            for (int m = 0; m < 11; ++m)
            {
                const float v = midQTable[11 * j + m][band];

                if (j > 0)
                {
                    EXPECT_GE (v, midQTable[11 * (j - 1) + m][band]) << "band " << band << ", " << j << " dB, column " << m;
                }

                if (m > 0)
                {
                    EXPECT_GT (v, midQTable[11 * j + m - 1][band]) << "band " << band << ", " << j << " dB, column " << m;
                }
            }
}

TEST (ResponseTables, BreakpointsAscend)
{
    EXPECT_TRUE (std::is_sorted (highFreqBreakpoints, highFreqBreakpoints + 11, std::less_equal<int>()));
    EXPECT_TRUE (std::is_sorted (midQBreakpoints, midQBreakpoints + 11, std::less_equal<float>()));
}

//==============================================================================
/** The table entries, mapped to physical values, span the ranges the designs
    are used in; every one must give stable sections at the usual rates. */
class TableDesignStability : public ::testing::TestWithParam<double> {};

INSTANTIATE_TEST_SUITE_P (SampleRates, TableDesignStability, ::testing::Values (44100.0, 48000.0, 96000.0, 192000.0));

TEST_P (TableDesignStability, EveryEntryDesignsStableSections)
{
    const double fs = GetParam();

    auto bellIsStable = [] (float gainDb, double frequencyHz, float q, double fs)
    {
        BiquadCoefficients c;
        designBell (c.b0, c.b1, c.b2, c.a1, c.a2, gainDb, (float) (2.0 * pi * frequencyHz / fs), q);
        return poleRadius (c) < 1.0;
    };

    for (float sign : { 1.0f, -1.0f })
    {
        for (const auto& e : lowBandTable)
        {
            const float shelfGain = sign * (24.0f * e[1] - 12.0f), bellGain = sign * (24.0f * e[4] - 12.0f);
            EXPECT_LT (poleRadius (designLowShelf (270.0f * e[0] + 30.0f, shelfGain, e[2] + 0.5f, fs)), 1.0);

            if (std::fabs (bellGain) > 0.01f)
            {
                EXPECT_TRUE (bellIsStable (bellGain, 350.0f * e[3] + 50.0f, 2.0f * e[5] + 0.1f, fs));
            }
        }

        for (const auto& e : highBandTable)
        {
            const float bellGain = sign * (24.0f * e[1] - 12.0f), shelfGain = sign * (24.0f * e[4] - 12.0f);
            EXPECT_LT (poleRadius (designPeakingOctaves (15670.0f * e[0] + 330.0f, bellGain, 2.0f * e[2] + 0.1f, fs)), 1.0);
            EXPECT_LT (poleRadius (designHighShelf (22000.0f * e[3] + 1000.0f, shelfGain, e[5] + 0.5f, fs)), 1.0);
        }

        // Each mid band over its own frequency range, at the table's widest and narrowest Q.
        const double lowestHz[] = { 50.0, 330.0, 1800.0 }, highestHz[] = { 400.0, 2500.0, 16000.0 };

        for (int band = 0; band < 3; ++band)
            for (int j = 1; j < gainColumns; ++j)
                for (int m : { 0, 10 })
                    for (double f : { lowestHz[band], highestHz[band] })
                        EXPECT_TRUE (bellIsStable (sign * (float) j, f, 3.0f * midQTable[11 * j + m][band] + 0.1f, fs))
                            << "band " << band << ", " << j << " dB, column " << m << ", " << f << " Hz";
    }
}
