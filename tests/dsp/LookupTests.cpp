// The lookups against an independent double-precision bilinear interpolation
// of the tables, plus the exact values they promise on grid points and edges.

#include "dsp/BandResponseLookup.h"
#include "dsp/ResponseTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <random>
#include <vector>

namespace
{
    constexpr int gainColumns = 13;

    /** Plain bilinear interpolation over an axis and the 0..12 dB gain grid,
        with E(a, j) the entry at axis point a and gain column j. The point is
        placed in the last cell when it sits on the last axis point or at
        12 dB, so that no case needs handling of its own. */
    template <typename Entry>
    double bilinear (const std::vector<double>& axis, double p, double g, Entry E)
    {
        const int last = (int) axis.size() - 1;
        int a = 0;
        while (a < last - 1 && p >= axis[(size_t) a + 1])
            ++a;

        const double t = (p - axis[(size_t) a]) / (axis[(size_t) a + 1] - axis[(size_t) a]);
        const int j = std::min ((int) std::floor (g), gainColumns - 2);
        const double u = g - j;

        return (1 - t) * (1 - u) * E (a, j) + (1 - t) * u * E (a, j + 1)
             + t * (1 - u) * E (a + 1, j) + t * u * E (a + 1, j + 1);
    }

    std::vector<double> lowBandAxis()
    {
        std::vector<double> axis;
        for (int k = 0; k < 10; ++k)
            axis.push_back (30.0 * (k + 1));
        return axis;
    }

    std::vector<double> highBandAxis()
    {
        return std::vector<double> (highFreqBreakpoints, highFreqBreakpoints + 11);
    }

    std::vector<double> midQAxis()
    {
        return std::vector<double> (midQBreakpoints, midQBreakpoints + 11);
    }

    bool isGainField (int field) { return field == 1 || field == 4; }
}

//==============================================================================
struct BandCase
{
    const char* name;
    std::array<float, 6> (*lookUp) (float, float);
    const float (*table)[6];
    std::vector<double> axis;
};

std::ostream& operator<< (std::ostream& os, const BandCase& c) { return os << c.name; }

/** Both band lookups promise the same behaviour over their own axis and table. */
class BandLookupTest : public ::testing::TestWithParam<BandCase>
{
protected:
    const BandCase& band() const { return GetParam(); }
    int lastRow() const { return (int) band().axis.size() - 1; }
    float axisPoint (int row) const { return (float) band().axis[(size_t) row]; }
    float entry (int row, int column, int field) const { return band().table[gainColumns * row + column][field]; }

    /** The table's interpolated value, mirrored for a cut, in double. */
    double expected (double p, double gainDb, int field) const
    {
        const double v = bilinear (band().axis, p, std::fabs (gainDb),
                                   [&] (int a, int j) { return (double) entry (a, j, field); });
        return (gainDb < 0 && isGainField (field)) ? 1.0 - v : v;
    }
};

INSTANTIATE_TEST_SUITE_P (Bands, BandLookupTest, ::testing::Values (
    BandCase { "low", lookUpLowBand, lowBandTable, lowBandAxis() },
    BandCase { "high", lookUpHighBand, highBandTable, highBandAxis() }),
    [] (const auto& info) { return std::string (info.param.name); });

TEST_P (BandLookupTest, GridPointsReturnTheirEntries)
{
    for (int row = 0; row <= lastRow(); ++row)
        for (int column = 0; column < gainColumns; ++column)
            for (float sign : { 1.0f, -1.0f })
            {
                const auto v = band().lookUp (axisPoint (row), sign * (float) column);

                for (int field = 0; field < 6; ++field)
                {
                    // A mirrored gain is compared unmirrored: 1 − x loses the low bits of a small result.
                    const bool mirrored = sign < 0 && isGainField (field);
                    ASSERT_FLOAT_EQ (mirrored ? 1.0f - v[(size_t) field] : v[(size_t) field], entry (row, column, field))
                        << "row " << row << ", " << sign * column << " dB, field " << field;
                }
            }
}

TEST_P (BandLookupTest, HalfwayPointsAreTheMeanOfTheirNeighbours)
{
    for (int row = 0; row < lastRow(); ++row)
        for (int column = 0; column < gainColumns - 1; ++column)
        {
            const float midFrequency = 0.5f * (axisPoint (row) + axisPoint (row + 1));
            const auto betweenRows = band().lookUp (midFrequency, (float) column);
            const auto betweenColumns = band().lookUp (axisPoint (row), (float) column + 0.5f);

            for (int field = 0; field < 6; ++field)
            {
                const double rowMean = 0.5 * ((double) entry (row, column, field) + entry (row + 1, column, field));
                const double columnMean = 0.5 * ((double) entry (row, column, field) + entry (row, column + 1, field));

                ASSERT_NEAR (betweenRows[(size_t) field], rowMean, 1.0e-6) << "rows " << row << "/" << row + 1 << ", " << column << " dB";
                ASSERT_NEAR (betweenColumns[(size_t) field], columnMean, 1.0e-6) << "row " << row << ", " << column << ".5 dB";
            }
        }
}

TEST_P (BandLookupTest, MatchesBilinearInterpolationOfTheTable)
{
    std::mt19937 random (20240611);
    std::uniform_real_distribution<float> frequency ((float) band().axis.front(), (float) band().axis.back());
    std::uniform_real_distribution<float> gain (-12.0f, 12.0f);

    for (int i = 0; i < 5000; ++i)
    {
        // Every tenth point sits on a gain or frequency edge.
        const float f = i % 10 == 1 ? axisPoint (lastRow()) : frequency (random);
        const float g = i % 10 == 2 ? 12.0f : i % 10 == 3 ? -12.0f : gain (random);
        const auto v = band().lookUp (f, g);

        for (int field = 0; field < 6; ++field)
            ASSERT_NEAR (v[(size_t) field], expected (f, g, field), 2.0e-6) << f << " Hz, " << g << " dB, field " << field;
    }
}

TEST_P (BandLookupTest, CutMirrorsBothGainsAndKeepsFrequenciesAndWidths)
{
    for (float f : { axisPoint (0), 0.3f * axisPoint (0) + 0.7f * axisPoint (1), axisPoint (5) + 1.0f, axisPoint (lastRow()) })
        for (float g : { 0.4f, 3.0f, 7.25f, 11.9f, 12.0f })
        {
            const auto lift = band().lookUp (f, g), cut = band().lookUp (f, -g);

            for (int field = 0; field < 6; ++field)
                EXPECT_EQ (cut[(size_t) field], isGainField (field) ? 1.0f - lift[(size_t) field] : lift[(size_t) field])
                    << f << " Hz, " << g << " dB, field " << field;
        }
}

TEST_P (BandLookupTest, LastRowAloneIsUsedAtAndAboveTheTopFrequency)
{
    const float top = axisPoint (lastRow());

    for (float g : { 0.0f, 0.5f, 5.75f, 11.5f, -3.25f })
    {
        const auto atTop = band().lookUp (top, g);

        for (int field = 0; field < 6; ++field)
        {
            const int j = (int) std::floor (std::fabs (g));
            const double u = std::fabs (g) - j;
            double v = (1 - u) * entry (lastRow(), j, field) + u * entry (lastRow(), j + 1, field);
            v = g < 0 && isGainField (field) ? 1.0 - v : v;

            EXPECT_NEAR (atTop[(size_t) field], v, 1.0e-6) << g << " dB, field " << field;
        }

        EXPECT_EQ (band().lookUp (top * 1.2f, g), atTop);
    }

    // The top corner is the entry itself, unchanged.
    const auto corner = band().lookUp (top, 12.0f);
    for (int field = 0; field < 6; ++field)
        EXPECT_EQ (corner[(size_t) field], entry (lastRow(), 12, field));
}

TEST_P (BandLookupTest, TwelveDbUsesTheTwelveDbColumnOnly)
{
    for (int row = 0; row < lastRow(); ++row)
    {
        const float f = 0.75f * axisPoint (row) + 0.25f * axisPoint (row + 1);
        const auto v = band().lookUp (f, 12.0f);

        for (int field = 0; field < 6; ++field)
        {
            const double e = 0.75 * entry (row, 12, field) + 0.25 * entry (row + 1, 12, field);
            EXPECT_NEAR (v[(size_t) field], e, 1.0e-6) << "row " << row << ", field " << field;
        }
    }
}

TEST (LowBandLookup, ThirtyHertzAtZeroDbIsAShelfNearSixtyHertzWithBothGainsFlat)
{
    const auto v = lookUpLowBand (30.0f, 0.0f);

    EXPECT_NEAR (30.0f + 270.0f * v[0], 59.6f, 0.05f);
    EXPECT_EQ (24.0f * v[1] - 12.0f, 0.0f);
    EXPECT_EQ (24.0f * v[4] - 12.0f, 0.0f);
}

TEST (HighBandLookup, BottomFrequencyUsesRowZeroOnly)
{
    // 2500 Hz is the first cell with no weight on its upper row.
    for (float g : { 0.0f, 6.0f, 9.5f })
    {
        const auto bottom = lookUpHighBand (2500.0f, g);
        const int j = (int) g;
        const double u = g - j;

        for (int field = 0; field < 6; ++field)
            EXPECT_NEAR (bottom[(size_t) field], (1 - u) * highBandTable[j][field] + u * highBandTable[j + 1][field], 1.0e-6);

        EXPECT_EQ (lookUpHighBand (1000.0f, g), bottom);   // below the grid the knob reads as 2500 Hz
    }
}

//==============================================================================
class MidQLookupTest : public ::testing::TestWithParam<int> {};

static std::string midBandName (const ::testing::TestParamInfo<int>& info)
{
    static const char* const names[] = { "lowMid", "mid", "highMid" };
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P (Bands, MidQLookupTest, ::testing::Values (0, 1, 2), midBandName);

TEST_P (MidQLookupTest, GridPointsReturnTheirEntries)
{
    const int band = GetParam();

    for (int j = 0; j < gainColumns; ++j)
        for (int m = 0; m < 11; ++m)
            for (float sign : { 1.0f, -1.0f })
                ASSERT_FLOAT_EQ (lookUpMidQ (band, midQBreakpoints[m], sign * (float) j), midQTable[11 * j + m][band])
                    << "Q " << midQBreakpoints[m] << ", " << sign * j << " dB";
}

TEST_P (MidQLookupTest, MatchesBilinearInterpolationOfTheTable)
{
    const int band = GetParam();
    std::mt19937 random (7 + (unsigned) band);
    std::uniform_real_distribution<float> q (0.7f, 5.0f), gain (-12.0f, 12.0f);

    for (int i = 0; i < 5000; ++i)
    {
        const float qKnob = i % 10 == 1 ? 5.0f : q (random);
        const float g = i % 10 == 2 ? 12.0f : gain (random);
        const double e = bilinear (midQAxis(), qKnob, std::fabs (g), [band] (int m, int j) { return (double) midQTable[11 * j + m][band]; });

        ASSERT_NEAR (lookUpMidQ (band, qKnob, g), e, 2.0e-6) << "Q " << qKnob << ", " << g << " dB";
        ASSERT_EQ (lookUpMidQ (band, qKnob, -g), lookUpMidQ (band, qKnob, g)) << "Q " << qKnob << ", " << g << " dB";
    }
}

TEST_P (MidQLookupTest, BelowOneDbTheQDoesNotDependOnGain)
{
    const int band = GetParam();

    for (float qKnob : { 0.7f, 0.85f, 2.0f, 3.9f, 5.0f })
    {
        const float atZero = lookUpMidQ (band, qKnob, 0.0f);

        for (float g : { 0.25f, 0.5f, -0.75f, 0.999f })
            EXPECT_NEAR (lookUpMidQ (band, qKnob, g), atZero, 1.0e-7) << "Q " << qKnob << ", " << g << " dB";
    }
}

TEST_P (MidQLookupTest, AtTwelveDbEveryBreakpointIsNarrowerThanAtZeroDb)
{
    const int band = GetParam();

    for (int m = 0; m < 11; ++m)
    {
        const float at12 = lookUpMidQ (band, midQBreakpoints[m], 12.0f);
        EXPECT_FLOAT_EQ (at12, midQTable[11 * 12 + m][band]);
        EXPECT_GT (at12, lookUpMidQ (band, midQBreakpoints[m], 0.0f)) << "Q " << midQBreakpoints[m];
    }
}

TEST (MidQLookup, TopCornerIsTheEntryUnchanged)
{
    const float expected[] = { 0.77265f, 0.75045f, 0.66103f };

    for (int band = 0; band < 3; ++band)
    {
        EXPECT_EQ (lookUpMidQ (band, 5.0f, 12.0f), expected[band]);
        EXPECT_EQ (lookUpMidQ (band, 5.0f, -12.0f), expected[band]);
    }
}
