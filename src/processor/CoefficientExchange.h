#pragma once

#include "ChainSettings.h"

#include <atomic>
#include <cstdint>

/** Hands complete coefficient sets from the coefficient update to the audio
    thread without a lock: a triple buffer.

    One writer at a time publishes (the processor's update flag serialises the
    writers, whichever threads they run on); the audio thread is the only
    reader. The reader always gets a whole set, never a mix of two, never
    waits, and sees the newest set published before it looked. Sets published
    in between may be skipped, never the last one.
*/
class CoefficientExchange
{
public:
    CoefficientExchange() = default;

    /** Writer side: makes a complete set available to the reader. */
    void publish (const ChainSettings& settings) noexcept
    {
        slots[backIndex] = settings;
        backIndex = middle.exchange (backIndex | freshFlag, std::memory_order_acq_rel) & indexMask;
    }

    /** Reader side (the audio thread): copies the newest set into `dest` when
        one has been published since the last fetch. Returns true if it did. */
    bool fetch (ChainSettings& dest) noexcept
    {
        if ((middle.load (std::memory_order_acquire) & freshFlag) == 0)
            return false;

        frontIndex = middle.exchange (frontIndex, std::memory_order_acq_rel) & indexMask;
        dest = slots[frontIndex];
        return true;
    }

private:
    static constexpr std::uint32_t indexMask = 3;
    static constexpr std::uint32_t freshFlag = 4;

    ChainSettings slots[3];
    std::uint32_t backIndex = 0;               // the writers' slot
    std::uint32_t frontIndex = 1;              // the reader's slot
    std::atomic<std::uint32_t> middle { 2 };   // the slot in between, and whether it is fresh
};
