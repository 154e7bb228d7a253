// The signal path as the processor runs it: the coefficient update feeding
// the audio callback, bypass, channel handling, memories across redesigns,
// recovery from non-finite input, and changes arriving from two threads.

#include "ChainMemories.h"

#include <processor/OstrelEqAudioProcessor.h>
#include <processor/CoefficientDesign.h>
#include <processor/ReferenceChain.h>

#include <gtest/gtest.h>

#include <thread>

namespace
{
    constexpr double rate = 48000.0;
    constexpr int blockSize = 256;
    constexpr juce::int64 seed = 0x1234567;

    /** A deterministic test signal: a few sines and some noise. */
    juce::AudioBuffer<float> testSignal (int channels, int samples, float amplitude, int offset = 0)
    {
        juce::AudioBuffer<float> buffer (channels, samples);
        juce::Random noise (99 + offset);

        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < samples; ++i)
            {
                const double t = (double) (i + offset) / rate;
                const double s = std::sin (2.0 * juce::MathConstants<double>::pi * 97.0 * t + c)
                               + 0.5 * std::sin (2.0 * juce::MathConstants<double>::pi * 3100.0 * t)
                               + 0.2 * (noise.nextDouble() - 0.5);
                buffer.setSample (c, i, (float) (amplitude * s / 1.7));
            }

        return buffer;
    }

    void process (OstrelEqAudioProcessor& p, juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        p.processBlock (buffer, midi);
    }

    bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
            return false;

        for (int c = 0; c < a.getNumChannels(); ++c)
            if (std::memcmp (a.getReadPointer (c), b.getReadPointer (c), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;

        return true;
    }

    /** Runs the plain reference chain over a copy of the input with the
        processor's newest settings: what the processor must produce. */
    struct ReferenceRun  : ChainMemories
    {
        explicit ReferenceRun (int64_t s) { seed = s; }

        void run (juce::AudioBuffer<float>& buffer, const ChainSettings& settings)
        {
            const juce::ScopedNoDenormals sameModeAsTheCallback;
            processBlockReference (buffer.getWritePointer (0),
                                   buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr,
                                   buffer.getNumSamples(), settings, pointers, allpassLastInput, allpassLastOutput, seed);
        }
    };

    struct SignalPathTest  : ::testing::Test
    {
        SignalPathTest()
        {
            for (auto* p : { &a, &b })
            {
                p->setRandomSeed (seed);
                p->prepareToPlay (rate, blockSize);
            }
        }

        OstrelEqAudioProcessor a, b;
    };
}

//==============================================================================
TEST_F (SignalPathTest, ProcessesExactlyAsTheReferenceChainAcrossBlocksAndChanges)
{
    ReferenceRun reference (seed);

    // Every section switched in, gains away from zero.
    a.setParameterByName ("LPHP_In", 1.0f);
    for (const char* name : { "LowGain", "LowMidGain", "MidGain", "HighMidGain", "HighGain" })
        a.setParameterByName (name, 0.8f);

    for (int block = 0; block < 6; ++block)
    {
        if (block == 2) a.setParameter (5, 0.1f);                // a redesign between blocks
        if (block == 3) a.setParameterByName ("Bypass", 1.0f);
        if (block == 4) a.setParameterByName ("Bypass", 0.0f);   // memories resume
        if (block == 5) a.setParameterByName ("MF_In", 0.0f);

        auto input = testSignal (2, blockSize, 0.5f, block * blockSize);
        auto expected = input;

        process (a, input);
        reference.run (expected, a.getLatestSettings());
        ASSERT_TRUE (sameSamples (input, expected)) << "block " << block;
    }
}

TEST_F (SignalPathTest, RedesignWithUnchangedValuesKeepsEverySectionsMemory)
{
    a.setParameterByName ("LPHP_In", 1.0f);
    b.setParameterByName ("LPHP_In", 1.0f);

    auto first = testSignal (2, blockSize, 0.5f);
    auto firstCopy = first;
    process (a, first);
    process (b, firstCopy);

    // The same value again redesigns all nine sections with equal coefficients.
    a.setParameter (6, a.getParameter (6));

    auto second = testSignal (2, blockSize, 0.5f, blockSize);
    auto secondCopy = second;
    process (a, second);
    process (b, secondCopy);

    EXPECT_TRUE (sameSamples (second, secondCopy));
}

TEST_F (SignalPathTest, BypassStillAppliesGainColouringAndAllpass)
{
    a.setParameterByName ("Bypass", 1.0f);
    a.setParameter (13, 0.75f);   // +6 dB at the head

    auto buffer = testSignal (1, blockSize, 0.01f);   // small: colouring far below float resolution
    const auto input = buffer;
    process (a, buffer);

    const float gain = a.getLatestSettings().outputGain;
    const float c = fixedAllpassCoefficient;
    float lastIn = 0.0f, lastOut = 0.0f;
    double maxError = 0.0;

    for (int i = 0; i < blockSize; ++i)
    {
        const float v = input.getSample (0, i) * gain;
        const float out = c * lastOut + (lastIn - c * v);
        lastIn = v;
        lastOut = out;
        maxError = std::max (maxError, (double) std::abs (buffer.getSample (0, i) - out));
    }

    EXPECT_NEAR (gain, 1.9952623f, 1.0e-6f);
    EXPECT_LT (maxError, 1.0e-7);
    EXPECT_FALSE (sameSamples (buffer, input));   // not the dry input
}

TEST_F (SignalPathTest, OutgainActsBeforeTheColouring)
{
    // Bypassed, so only gain, colouring and the all-pass remain. Colouring
    // before the gain would keep its share of the output whatever the gain;
    // after the gain its share grows at least in proportion to it.
    auto colouringAt = [this] (float outgain)
    {
        OstrelEqAudioProcessor p;
        p.setRandomSeed (seed);
        p.prepareToPlay (rate, blockSize);
        p.setParameterByName ("Bypass", 1.0f);
        p.setParameter (13, outgain);

        juce::AudioBuffer<float> buffer (1, blockSize);
        buffer.clear();
        buffer.setSample (0, 0, 0.25f);   // one sample of DC-free probe
        const auto gain = p.getLatestSettings().outputGain;
        process (p, buffer);

        // Linear part of the first output sample: −c · gain · x.
        const double linear = -(double) fixedAllpassCoefficient * gain * 0.25;
        return std::abs (buffer.getSample (0, 0) - linear) / std::abs (linear);
    };

    const auto low = colouringAt (0.5f);
    const auto high = colouringAt (1.0f);
    EXPECT_GT (low, 0.0);
    EXPECT_GT (high, low * 3.0);   // the gain rises 3.98 times
}

TEST_F (SignalPathTest, MonoAndMultichannelBuffers)
{
    auto mono = testSignal (1, blockSize, 0.5f);
    auto monoExpected = mono;
    process (a, mono);

    ReferenceRun reference (seed);
    reference.run (monoExpected, a.getLatestSettings());
    EXPECT_TRUE (sameSamples (mono, monoExpected));

    auto wide = testSignal (4, blockSize, 0.5f);
    const auto wideInput = wide;
    process (b, wide);

    for (int c = 2; c < 4; ++c)
        EXPECT_EQ (std::memcmp (wide.getReadPointer (c), wideInput.getReadPointer (c), sizeof (float) * blockSize), 0);
}

TEST_F (SignalPathTest, TheTwoChannelsDrawDifferentColouring)
{
    a.setParameter (13, 1.0f);
    juce::AudioBuffer<float> buffer (2, blockSize);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < blockSize; ++i)
            buffer.setSample (c, i, 0.9f);

    process (a, buffer);
    EXPECT_NE (std::memcmp (buffer.getReadPointer (0), buffer.getReadPointer (1), sizeof (float) * blockSize), 0);
}

TEST_F (SignalPathTest, AnEmptyBlockChangesNothingNotEvenTheGenerator)
{
    juce::AudioBuffer<float> empty (2, 0);
    process (a, empty);

    auto x = testSignal (2, blockSize, 0.5f);
    auto y = x;
    process (a, x);
    process (b, y);
    EXPECT_TRUE (sameSamples (x, y));
}

TEST_F (SignalPathTest, SilenceInGivesSilenceOut)
{
    a.setParameterByName ("LPHP_In", 1.0f);
    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    process (a, buffer);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < blockSize; ++i)
            ASSERT_EQ (buffer.getSample (c, i), 0.0f);
}

TEST_F (SignalPathTest, RecoversFromANonFiniteInputSample)
{
    a.setParameterByName ("LPHP_In", 1.0f);

    for (const float poison : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        auto bad = testSignal (2, blockSize, 0.5f);
        bad.setSample (0, 10, poison);
        bad.setSample (1, 20, -poison);
        process (a, bad);

        auto next = testSignal (2, blockSize, 0.5f, blockSize);
        process (a, next);

        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_TRUE (std::isfinite (next.getSample (c, i))) << c << " " << i;

        EXPECT_GT (next.getMagnitude (0, blockSize), 0.05f);
    }
}

TEST_F (SignalPathTest, NoUpdateIsLostWhenTwoThreadsChangeParametersWhileAudioRuns)
{
    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };

    // The "audio thread": processes blocks and applies host automation
    // before each, as the framework's wrapper does.
    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 64);
        juce::Random r (1);

        while (! stop)
        {
            a.setParameter (r.nextInt (13), r.nextFloat());
            buffer.clear();
            buffer.setSample (0, 0, 0.5f);
            process (a, buffer);
            ++blocks;
        }
    });

    // The "message thread": editor changes and program switches.
    juce::Random r (2);

    for (int i = 0; i < 3000 || blocks < 200; ++i)
    {
        a.setParameter (r.nextInt (25), r.nextFloat());
        a.setParameterByName ("Bypass", (float) r.nextInt (2));

        if (i % 500 == 0)
            a.setCurrentProgram (r.nextInt (10));
    }

    stop = true;
    audio.join();

    // Once the changes stop, what is published is the design of the final values.
    ParameterValues finalValues;
    for (int i = 0; i < ParameterTable::numParameters; ++i)
        finalValues[i] = (double) a.getParameter (i);

    const auto expected = designChain (finalValues, (float) rate);
    const auto latest = a.getLatestSettings();

    for (int s = 0; s < numSections; ++s)
        EXPECT_EQ (latest.sections[s], expected.sections[s]) << "section " << s;

    EXPECT_EQ (latest.bypassed, expected.bypassed);
    EXPECT_EQ (latest.outputGain, expected.outputGain);
}
