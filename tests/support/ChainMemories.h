#pragma once

#include <processor/ChainSettings.h>
#include <processor/FilterSection.h>

#include <cstdint>
#include <cstring>

/** The state one run of the audio kernel works on, owned by a test or a
    benchmark: both channels' section records with the pointer table the
    kernels take, the all-pass memories and the generator seed. Copies are
    deep and point at their own records. */
struct ChainMemories
{
    FilterSection records[2][numSections];
    FilterSection* pointers[2][numSections];
    float allpassLastInput[2] = {};
    float allpassLastOutput[2] = {};
    int64_t seed = 0;

    ChainMemories() { link(); }
    ChainMemories (const ChainMemories& other) { *this = other; }

    ChainMemories& operator= (const ChainMemories& other)
    {
        std::memcpy (records, other.records, sizeof (records));
        std::memcpy (allpassLastInput, other.allpassLastInput, sizeof (allpassLastInput));
        std::memcpy (allpassLastOutput, other.allpassLastOutput, sizeof (allpassLastOutput));
        seed = other.seed;
        link();
        return *this;
    }

    void link()
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int s = 0; s < numSections; ++s)
                pointers[ch][s] = &records[ch][s];
    }
};
