#include "ReferenceChain.h"

#include "RandomSequence.h"

namespace
{
    double runSection (FilterSection& memory, const BiquadCoefficients& c, double x) noexcept
    {
        const double y = ((c.b0 * x + c.b1 * memory.x1) + c.b2 * memory.x2)
                           - c.a1 * memory.y1 - c.a2 * memory.y2;
        memory.x2 = memory.x1;
        memory.x1 = x;
        memory.y2 = memory.y1;
        memory.y1 = y;
        return y;
    }

    void processChannel (float* samples, int numSamples, const ChainSettings& settings,
                         FilterSection* const (&sections)[numSections],
                         float& allpassLastInput, float& allpassLastOutput, int64_t& seed) noexcept
    {
        const float c = settings.allpassCoefficient;

        for (int i = 0; i < numSamples; ++i)
        {
            double x = (double) (samples[i] * settings.outputGain);

            const double r1 = RandomSequence::nextDouble (seed);
            const double r2 = RandomSequence::nextDouble (seed);
            const double r3 = RandomSequence::nextDouble (seed);

            const double t2 = r1 * Colouring::secondHarmonic * x * x;
            const double t3 = r2 * Colouring::thirdHarmonic * x * x * x;
            const double t5 = r3 * Colouring::fifthHarmonic * x * x * x * x * x;
            x = (t5 + (t3 + t2)) + x;

            if (! settings.bypassed)
                for (int s = 0; s < numSections; ++s)
                    if (settings.isSectionOn (s))
                        x = runSection (*sections[s], settings.sections[s], x);

            const float v = (float) x;
            const float out = c * allpassLastOutput + (allpassLastInput - c * v);
            allpassLastInput = v;
            allpassLastOutput = out;
            samples[i] = out;
        }
    }
}

void processBlockReference (float* channel0, float* channel1, int numSamples,
                            const ChainSettings& settings,
                            FilterSection* const (&sections)[2][numSections],
                            float (&allpassLastInput)[2], float (&allpassLastOutput)[2],
                            int64_t& randomSeed)
{
    if (numSamples <= 0)
        return;

    processChannel (channel0, numSamples, settings, sections[0],
                    allpassLastInput[0], allpassLastOutput[0], randomSeed);

    if (channel1 != nullptr)
        processChannel (channel1, numSamples, settings, sections[1],
                        allpassLastInput[1], allpassLastOutput[1], randomSeed);
}
