#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** A minimal VST3 host: loads a built plug-in bundle through the framework's
    VST3 hosting, as a DAW does, and reports what a host sees of it. Used by
    the host-level tests and by the lumarin-info tool. Call from the message
    thread, with the framework initialised (juce::ScopedJuceInitialiser_GUI).
*/
namespace PluginHost
{
    /** The plug-in descriptions a host's scan of the bundle finds. */
    juce::OwnedArray<juce::PluginDescription> scan (const juce::File& bundle);

    /** Loads the first plug-in of the bundle, with both buses enabled as
        stereo and prepared for the given rate and block size. Returns nullptr
        and sets `error` when that fails. */
    std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle,
                                                     double sampleRate,
                                                     int blockSize,
                                                     juce::String& error);

    /** Runs the message loop for a while, delivering pending messages. */
    void pumpMessages (int milliseconds);

    /** A human-readable account of what a host sees: identity, buses,
        parameters with defaults and texts, programs, latency. */
    juce::String describe (const juce::PluginDescription& description, juce::AudioPluginInstance& instance);
}
