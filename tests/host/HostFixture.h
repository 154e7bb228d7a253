#pragma once

#include "MessageLoop.h"

#include <PluginHost.h>

#include <gtest/gtest.h>

/** Loads the built VST3 bundle the way a DAW does: scanned and instantiated
    through the framework's VST3 hosting, both buses enabled, prepared. */
struct HostFixture  : ::testing::Test
{
    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;

    static juce::File bundle()  { return juce::File (LUMARIN_VST3_BUNDLE); }

    void SetUp() override
    {
        juce::String error;
        plugin = PluginHost::load (bundle(), sampleRate, blockSize, error);
        ASSERT_NE (plugin, nullptr) << error;
    }

    void TearDown() override
    {
        if (plugin != nullptr)
            plugin->releaseResources();

        plugin.reset();
    }

    /** The host's parameter for one of the plug-in's own 25 (by index). */
    juce::AudioProcessorParameter& parameter (int index)  { return *plugin->getParameters()[index]; }

    /** Runs one block of silence, so parameter changes queued by the host
        reach the plug-in's processor. */
    void runSilentBlock()
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        buffer.clear();
        juce::MidiBuffer midi;
        plugin->processBlock (buffer, midi);
    }

    /** The saved state as the host stores it (the wrapper's own format). */
    juce::MemoryBlock hostState()
    {
        juce::MemoryBlock block;
        plugin->getStateInformation (block);
        return block;
    }

    /** The plug-in component's own state inside the host's record (the
        host keeps it base64-encoded in an XML element). */
    juce::MemoryBlock componentState()
    {
        const auto state = hostState();
        juce::MemoryBlock component;

        if (auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize()))
            if (auto* child = xml->getChildByName ("IComponent"))
                component.fromBase64Encoding (child->getAllSubText());

        return component;
    }

    static bool containsText (const juce::MemoryBlock& block, const char* text)
    {
        const auto needle = juce::MemoryBlock (text, std::strlen (text));
        const auto* bytes = static_cast<const char*> (block.getData());
        return std::search (bytes, bytes + block.getSize(),
                            static_cast<const char*> (needle.getData()),
                            static_cast<const char*> (needle.getData()) + needle.getSize()) != bytes + block.getSize();
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};
