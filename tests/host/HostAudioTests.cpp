// Audio through the real bundle: the response of the whole chain, measured
// from an impulse, against the response computed from the filter designs.

#include "HostFixture.h"

#include <dsp/FrequencyResponse.h>
#include <processor/CoefficientDesign.h>

#include <complex>

namespace
{
    /** The DFT of a real signal at one frequency. */
    std::complex<double> dftAt (const std::vector<float>& x, double omega)
    {
        std::complex<double> sum;
        const std::complex<double> step (std::cos (-omega), std::sin (-omega));
        std::complex<double> w (1.0, 0.0);

        for (const auto sample : x)
        {
            sum += (double) sample * w;
            w *= step;

            if (std::abs (std::abs (w) - 1.0) > 1.0e-9)   // keep the rotation on the circle
                w /= std::abs (w);
        }

        return sum;
    }

    /** The magnitude the designs promise for the chain (gain, enabled
        sections; the all-pass has unit gain). */
    double designedMagnitude (const ChainSettings& s, double omega)
    {
        double magnitude = s.outputGain;

        if (! s.bypassed)
            for (int k = 0; k < numSections; ++k)
                if (s.isSectionOn (k))
                    magnitude *= magnitudeAt (s.sections[k], omega);

        return magnitude;
    }

    struct Setting { int index; float value; };
}

TEST_F (HostFixture, ImpulseResponseMatchesTheDesignedChain)
{
    // Every section in, each band lifting or cutting somewhere audible.
    const Setting settings[] =
    {
        { 0, 0.4f }, { 1, 0.85f }, { 2, 0.3f }, { 3, 0.2f }, { 4, 0.6f },
        { 5, 0.45f }, { 6, 0.75f }, { 7, 0.1f }, { 8, 0.35f }, { 9, 0.8f }, { 10, 0.5f },
        { 11, 0.2f }, { 12, 0.3f }, { 13, 0.6f },
        { 18, 1.0f },            // LPHP_In: high-pass and low-pass in
        { 23, 0.2f }, { 24, 0.5f },
    };

    ParameterValues values;
    for (int i = 0; i < ParameterTable::numParameters; ++i)
        values[i] = ParameterTable::entries[i].defaultValue;

    for (const auto& s : settings)
    {
        parameter (s.index).setValueNotifyingHost (s.value);
        values[s.index] = (double) s.value;
    }

    runSilentBlock();   // the host delivers the changes with this block

    // A small impulse: the colouring's share is then below float resolution.
    constexpr int length = 1 << 16;
    constexpr float amplitude = 1.0e-3f;
    std::vector<float> response;
    response.reserve (length);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    // Silence first, so every memory starts from zero.
    for (int i = 0; i < 200; ++i)
    {
        buffer.clear();
        plugin->processBlock (buffer, midi);
    }

    for (int done = 0; done < length; done += blockSize)
    {
        buffer.clear();
        if (done == 0)
            buffer.setSample (0, 0, amplitude), buffer.setSample (1, 0, amplitude);

        plugin->processBlock (buffer, midi);

        for (int i = 0; i < blockSize; ++i)
            response.push_back (buffer.getSample (0, i) / amplitude);

        // Both channels run the same chain.
        ASSERT_NEAR (buffer.getSample (1, 0), buffer.getSample (0, 0), 1.0e-6f);
    }

    const auto expected = designChain (values, (float) sampleRate);

    for (double f = 20.0; f < 20000.0; f *= 1.25)
    {
        const double omega = omegaOf (f, sampleRate);
        const double measuredDb = 20.0 * std::log10 (std::abs (dftAt (response, omega)));
        const double designedDb = 20.0 * std::log10 (designedMagnitude (expected, omega));
        EXPECT_NEAR (measuredDb, designedDb, 0.05) << f << " Hz";
    }

    // And the chain really does something: the response is far from flat.
    const auto at = [&] (double hz) { return 20.0 * std::log10 (designedMagnitude (expected, omegaOf (hz, sampleRate))); };
    double lowest = 100.0, highest = -100.0;
    for (double f = 30.0; f < 16000.0; f *= 1.1)
        lowest = std::min (lowest, at (f)), highest = std::max (highest, at (f));
    EXPECT_GT (highest - lowest, 6.0);
}

TEST_F (HostFixture, HostBypassAndPluginBypassDiffer)
{
    // The plug-in's own Bypass keeps gain, colouring and the all-pass: a
    // click through it is phase-shifted, not the dry input.
    parameter (14).setValueNotifyingHost (1.0f);
    runSilentBlock();

    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    buffer.setSample (0, 0, 0.5f);
    juce::MidiBuffer midi;
    plugin->processBlock (buffer, midi);

    EXPECT_NEAR (buffer.getSample (0, 0), 0.5f * 0.7995827f, 2.0e-5f);   // colouring is at most ~1e-5 here
    EXPECT_NE (buffer.getSample (0, 1), 0.0f);
}
