#pragma once

#include <juce_events/juce_events.h>

#if ! JUCE_MODAL_LOOPS_PERMITTED
namespace juce
{
    // The framework's own dispatcher of one queued message (Linux); without
    // modal loops it is the only way to run the loop from a test.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}
#endif

namespace TestSupport
{
    /** Delivers every message that is pending on the message thread, as the
        framework's loop would between two events. */
    inline void runPendingMessages()
    {
       #if JUCE_MODAL_LOOPS_PERMITTED
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
       #else
        for (int i = 0; i < 1000 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
        {}
       #endif
    }
}
