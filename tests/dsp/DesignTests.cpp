// Checks the filter designs by what they promise, measured from the magnitude
// response of the coefficients they return.

#include "SectionChecks.h"

#include "dsp/BellDesign.h"
#include "dsp/FrequencyResponse.h"
#include "dsp/ShelfAndPassDesigns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <ostream>

using namespace sectionchecks;

namespace
{
    BiquadCoefficients bell (float gainDb, float omega, float q)
    {
        BiquadCoefficients c;
        designBell (c.b0, c.b1, c.b2, c.a1, c.a2, gainDb, omega, q);
        return c;
    }

    /** Bandwidth in octaves that a width control q stands for. */
    double octavesOfQ (double q)
    {
        return 2.0 * std::asinh (1.0 / (2.0 * q)) / std::log (2.0);
    }

    /** The analogue bell H(s) = (s² + G·W·s + w0²) / (s² + W·s + w0²) whose
        centre is w0, whose band edges (where the gain is √G) are w0 / q
        apart, evaluated at s = j·w. */
    double analogueBellMagnitude (double peakGain, double w0, double q, double w)
    {
        const double W = (w0 / q) / std::sqrt (peakGain);
        const std::complex<double> s (0.0, w);
        return std::abs ((s * s + peakGain * W * s + w0 * w0) / (s * s + W * s + w0 * w0));
    }

    float omegaFloat (double frequencyHz, double sampleRate)
    {
        return (float) (2.0 * pi * frequencyHz / sampleRate);
    }
}

//==============================================================================
struct BellCase
{
    float gainDb;
    double frequencyHz;
    float q;
    double sampleRate;
};

std::ostream& operator<< (std::ostream& os, const BellCase& c)
{
    return os << c.gainDb << " dB at " << c.frequencyHz << " Hz, q " << c.q << ", " << c.sampleRate << " Hz";
}

class BellDesignTest : public ::testing::TestWithParam<BellCase>
{
protected:
    float omega() const { return omegaFloat (GetParam().frequencyHz, GetParam().sampleRate); }
    BiquadCoefficients lift() const { return bell (GetParam().gainDb, omega(), GetParam().q); }
    BiquadCoefficients cut() const { return bell (-GetParam().gainDb, omega(), GetParam().q); }
};

INSTANTIATE_TEST_SUITE_P (AcrossTheUsedRanges, BellDesignTest, ::testing::Values (
    BellCase { 12.0f, 16000.0, 1.5f, 44100.0 },
    BellCase { 6.0f, 1000.0, 0.7f, 48000.0 },
    BellCase { 3.0f, 100.0, 0.1f, 44100.0 },
    BellCase { 12.0f, 50.0, 3.1f, 192000.0 },
    BellCase { 0.02f, 2000.0, 1.0f, 44100.0 },
    BellCase { 9.0f, 8000.0, 2.0f, 96000.0 },
    BellCase { 1.0f, 400.0, 2.1f, 44100.0 },
    BellCase { 12.0f, 16000.0, 0.1f, 48000.0 }));

TEST_P (BellDesignTest, LiftHasExactlyTheRequestedGainAtTheCentre)
{
    EXPECT_NEAR (magnitudeDbAt (lift(), omega()), GetParam().gainDb, 1.0e-9);
}

TEST_P (BellDesignTest, LiftHasHalfTheGainInDbAtTheLowerBandEdge)
{
    const double edge = omega() * std::pow (2.0, -0.5 * octavesOfQ (GetParam().q));

    // The width is converted to octaves in single precision, which moves the
    // edge by about 1e-7 of its frequency.
    EXPECT_NEAR (magnitudeDbAt (lift(), edge), 0.5 * GetParam().gainDb, 2.0e-5);
}

TEST_P (BellDesignTest, NyquistGainIsThatOfTheAnalogueBell)
{
    const double G = std::pow (10.0, GetParam().gainDb / 20.0);
    const double expectedDb = 20.0 * std::log10 (analogueBellMagnitude (G, omega(), GetParam().q, pi));

    EXPECT_NEAR (magnitudeDbAt (lift(), pi), expectedDb, 1.0e-4);
}

TEST_P (BellDesignTest, LiftIsUnityAtDc)
{
    EXPECT_NEAR (magnitudeDbAt (lift(), 1.0e-7), 0.0, 1.0e-6);
}

TEST_P (BellDesignTest, CutTimesLiftIsFlatAtEveryFrequency)
{
    const BiquadCoefficients up = lift(), down = cut();

    for (double w : omegaSweep())
        ASSERT_NEAR (magnitudeAt (up, w) * magnitudeAt (down, w), 1.0, 1.0e-9) << "at omega " << w;

    EXPECT_NEAR (magnitudeDbAt (down, omega()), -GetParam().gainDb, 1.0e-9);
}

TEST (BellDesign, HighBellKeepsAboutSixDbAtNyquist)
{
    // Where a classic bilinear bell would be forced down to 0 dB.
    const BiquadCoefficients c = bell (12.0f, omegaFloat (16000.0, 44100.0), 1.5f);
    EXPECT_NEAR (magnitudeDbAt (c, pi), 6.0, 0.5);
}

TEST (BellDesign, LowBellBehavesLikeAClassicBellAtNyquist)
{
    const BiquadCoefficients c = bell (12.0f, omegaFloat (100.0, 44100.0), 1.0f);
    EXPECT_NEAR (magnitudeDbAt (c, pi), 0.0, 1.0e-3);
}

TEST (BellDesign, PolesAndZerosStayInsideTheUnitCircle)
{
    // A lift's zeros are the cut's poles, so both must be inside for cuts to be stable.
    const double rates[] = { 44100.0, 48000.0, 96000.0, 192000.0 };
    const float qs[] = { 0.1f, 0.5f, 1.0f, 2.0f, 3.1f };
    const float gains[] = { 0.011f, 1.0f, 6.0f, 12.0f, -0.011f, -6.0f, -12.0f };

    for (double fs : rates)
        for (int i = 0; i < 24; ++i)
        {
            const double f = 50.0 * std::pow (16000.0 / 50.0, i / 23.0);

            for (float q : qs)
                for (float g : gains)
                {
                    const BiquadCoefficients c = bell (g, omegaFloat (f, fs), q);
                    ASSERT_LT (poleRadius (c), 1.0) << g << " dB, " << f << " Hz, q " << q << ", fs " << fs;
                    ASSERT_LT (largestRootRadius (c.b1 / c.b0, c.b2 / c.b0), 1.0) << g << " dB, " << f << " Hz, q " << q;
                }
        }
}

//==============================================================================
enum class GainDesign { lowShelf, highShelf, peakingOctaves };

struct GainDesignCase
{
    GainDesign kind;
    double frequencyHz;
    double gainDb;
    double width;          // shelf Q, or bandwidth in octaves for the peaking design
    double sampleRate;
};

std::ostream& operator<< (std::ostream& os, const GainDesignCase& c)
{
    const char* names[] = { "low shelf", "high shelf", "peaking" };
    return os << names[(int) c.kind] << " " << c.gainDb << " dB at " << c.frequencyHz << " Hz, width "
              << c.width << ", " << c.sampleRate << " Hz";
}

class GainDesignTest : public ::testing::TestWithParam<GainDesignCase>
{
protected:
    static BiquadCoefficients design (const GainDesignCase& c, double gainDb)
    {
        switch (c.kind)
        {
            case GainDesign::lowShelf:  return designLowShelf (c.frequencyHz, gainDb, c.width, c.sampleRate);
            case GainDesign::highShelf: return designHighShelf (c.frequencyHz, gainDb, c.width, c.sampleRate);
            case GainDesign::peakingOctaves: break;
        }
        return designPeakingOctaves (c.frequencyHz, gainDb, c.width, c.sampleRate);
    }

    BiquadCoefficients design (double gainDb) const { return design (GetParam(), gainDb); }
    double corner() const { return omegaOf (GetParam().frequencyHz, GetParam().sampleRate); }
};

INSTANTIATE_TEST_SUITE_P (AcrossTheUsedRanges, GainDesignTest, ::testing::Values (
    GainDesignCase { GainDesign::lowShelf, 30.0, 12.0, 0.5, 44100.0 },
    GainDesignCase { GainDesign::lowShelf, 150.0, 6.0, 1.0, 48000.0 },
    GainDesignCase { GainDesign::lowShelf, 300.0, 12.0, 1.5, 96000.0 },
    GainDesignCase { GainDesign::lowShelf, 60.0, 3.0, 0.7, 192000.0 },
    GainDesignCase { GainDesign::highShelf, 1000.0, 12.0, 0.5, 44100.0 },
    GainDesignCase { GainDesign::highShelf, 4000.0, 6.0, 1.0, 48000.0 },
    GainDesignCase { GainDesign::highShelf, 12000.0, 12.0, 0.57, 44100.0 },
    GainDesignCase { GainDesign::highShelf, 8000.0, 3.0, 1.5, 96000.0 },
    GainDesignCase { GainDesign::peakingOctaves, 1000.0, 6.0, 1.0, 44100.0 },
    GainDesignCase { GainDesign::peakingOctaves, 330.0, 12.0, 0.1, 48000.0 },
    GainDesignCase { GainDesign::peakingOctaves, 8000.0, 12.0, 2.1, 44100.0 },
    GainDesignCase { GainDesign::peakingOctaves, 3000.0, 3.0, 0.5, 96000.0 }));

TEST_P (GainDesignTest, HasThePromisedGainsAtDcCornerAndNyquist)
{
    const double g = GetParam().gainDb;
    const BiquadCoefficients c = design (g);

    double atDc = 0.0, atCorner = 0.0, atNyquist = 0.0;

    switch (GetParam().kind)
    {
        case GainDesign::lowShelf:       atDc = g;  atCorner = g / 2; atNyquist = 0; break;
        case GainDesign::highShelf:      atDc = 0;  atCorner = g / 2; atNyquist = g; break;
        case GainDesign::peakingOctaves: atDc = 0;  atCorner = g;     atNyquist = 0; break;
    }

    EXPECT_NEAR (magnitudeDbAt (c, 0.0), atDc, 1.0e-9);
    EXPECT_NEAR (magnitudeDbAt (c, corner()), atCorner, 1.0e-9);
    EXPECT_NEAR (magnitudeDbAt (c, pi), atNyquist, 1.0e-9);
}

TEST_P (GainDesignTest, NegativeGainIsTheReciprocalOfThePositive)
{
    const BiquadCoefficients up = design (GetParam().gainDb), down = design (-GetParam().gainDb);

    for (double w : omegaSweep())
        ASSERT_NEAR (magnitudeAt (up, w) * magnitudeAt (down, w), 1.0, 1.0e-9) << "at omega " << w;
}

TEST_P (GainDesignTest, ZeroGainIsTheIdentityResponse)
{
    const BiquadCoefficients c = design (0.0);

    for (double w : omegaSweep())
        ASSERT_NEAR (std::abs (responseAt (c, w) - 1.0), 0.0, 1.0e-12) << "at omega " << w;
}

TEST_P (GainDesignTest, BoostAndCutAreStable)
{
    EXPECT_LT (poleRadius (design (GetParam().gainDb)), 1.0);
    EXPECT_LT (poleRadius (design (-GetParam().gainDb)), 1.0);
}

TEST (PeakingOctaves, HalfGainPointsAreTheRequestedOctavesApart)
{
    struct Case { double f, bw, fs; } cases[] = {
        { 1000.0, 1.0, 44100.0 }, { 330.0, 0.1, 48000.0 }, { 3000.0, 2.1, 96000.0 }, { 8000.0, 1.0, 44100.0 } };

    for (const auto& k : cases)
    {
        const BiquadCoefficients c = designPeakingOctaves (k.f, 6.0, k.bw, k.fs);
        const double w0 = omegaOf (k.f, k.fs);

        // Bisect each flank of the bell for the 3 dB point.
        auto halfGainBetween = [&] (double below, double above)
        {
            for (int i = 0; i < 200; ++i)
            {
                const double mid = 0.5 * (below + above);
                ((magnitudeDbAt (c, mid) - 3.0) * (magnitudeDbAt (c, below) - 3.0) > 0.0 ? below : above) = mid;
            }
            return below;
        };

        const double lower = halfGainBetween (1.0e-6, w0), upper = halfGainBetween (w0, pi * (1.0 - 1.0e-12));

        // The bilinear warping is compensated only approximately, so allow 2 %.
        EXPECT_NEAR (std::log2 (upper / lower), k.bw, 0.02 * k.bw) << k.f << " Hz, " << k.bw << " octaves";
    }
}

//==============================================================================
TEST (PassDesigns, LowPassIsMinusSixDbAtItsCornerWithCoincidentPoles)
{
    for (double fs : { 44100.0, 48000.0, 96000.0, 192000.0 })
        for (double f : { 5000.0, 10000.0, 15000.0, 22000.0 })
        {
            if (f >= 0.5 * fs)
                continue;

            const BiquadCoefficients c = designLowPass (f, fs);
            SCOPED_TRACE (testing::Message() << f << " Hz at " << fs << " Hz");

            EXPECT_NEAR (magnitudeAt (c, omegaOf (f, fs)), 0.5, 1.0e-9);
            EXPECT_NEAR (magnitudeAt (c, 0.0), 1.0, 1.0e-12);
            EXPECT_NEAR (magnitudeAt (c, pi), 0.0, 1.0e-12);
            EXPECT_NEAR (c.a1 * c.a1 - 4.0 * c.a2, 0.0, 1.0e-12);   // critically damped: no resonance
            EXPECT_LT (poleRadius (c), 1.0);
        }
}

TEST (PassDesigns, HighPassCornerGainIsItsEquivalentQ)
{
    for (double fs : { 44100.0, 48000.0, 96000.0, 192000.0 })
        for (double f : { 10.0, 50.0, 100.0, 200.0 })
        {
            const BiquadCoefficients c = designHighPass (f, fs);
            SCOPED_TRACE (testing::Message() << f << " Hz at " << fs << " Hz");

            // 1.739 octaves is Q 1 / (2·sinh(ln 2 / 2 · 1.739)) = 0.7814 far below Nyquist.
            EXPECT_NEAR (magnitudeAt (c, omegaOf (f, fs)), 0.7814, 1.0e-3);
            EXPECT_NEAR (magnitudeAt (c, 0.0), 0.0, 1.0e-12);
            EXPECT_NEAR (magnitudeAt (c, pi), 1.0, 1.0e-12);
            EXPECT_LT (poleRadius (c), 1.0);
        }
}

TEST (PassDesigns, IdentitySectionPassesEveryFrequencyUnchanged)
{
    const BiquadCoefficients c = identitySection();

    for (double w : omegaSweep (50))
        ASSERT_EQ (responseAt (c, w), std::complex<double> (1.0, 0.0)) << "at omega " << w;
}
