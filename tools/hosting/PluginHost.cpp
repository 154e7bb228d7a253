#include "PluginHost.h"

namespace PluginHost
{
    juce::OwnedArray<juce::PluginDescription> scan (const juce::File& bundle)
    {
        juce::OwnedArray<juce::PluginDescription> found;
        juce::VST3PluginFormat format;
        format.findAllTypesForFile (found, bundle.getFullPathName());
        return found;
    }

    std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle,
                                                     double sampleRate,
                                                     int blockSize,
                                                     juce::String& error)
    {
        if (! bundle.exists())
        {
            error = "no plug-in at " + bundle.getFullPathName();
            return nullptr;
        }

        auto found = scan (bundle);

        if (found.isEmpty())
        {
            error = "no VST3 class found in " + bundle.getFullPathName();
            return nullptr;
        }

        juce::VST3PluginFormat format;
        auto instance = format.createInstanceFromDescription (*found[0], sampleRate, blockSize, error);

        if (instance == nullptr)
            return nullptr;

        // Buses are not active by default: a host activates what it uses.
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (juce::AudioChannelSet::stereo());
        layout.outputBuses.add (juce::AudioChannelSet::stereo());

        if (! instance->setBusesLayout (layout))
        {
            error = "the plug-in refused a stereo in, stereo out layout";
            return nullptr;
        }

        instance->enableAllBuses();
        instance->prepareToPlay (sampleRate, blockSize);
        return instance;
    }

    void pumpMessages (int milliseconds)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    static juce::String describeBuses (juce::AudioProcessor& processor, bool isInput)
    {
        juce::StringArray lines;

        for (int i = 0; i < processor.getBusCount (isInput); ++i)
        {
            auto* bus = processor.getBus (isInput, i);
            lines.add (juce::String (isInput ? "  input bus " : "  output bus ") + juce::String (i)
                       + ": \"" + bus->getName() + "\", " + bus->getCurrentLayout().getDescription()
                       + " (" + juce::String (bus->getNumberOfChannels()) + " channels)");
        }

        return lines.joinIntoString ("\n");
    }

    juce::String describe (const juce::PluginDescription& d, juce::AudioPluginInstance& instance)
    {
        juce::String text;
        text << "Plug-in:   " << d.name << "\n"
             << "Vendor:    " << d.manufacturerName << "\n"
             << "Version:   " << d.version << "\n"
             << "Format:    " << d.pluginFormatName << "\n"
             << "Category:  " << d.category << "\n"
             << "Instrument: " << (d.isInstrument ? "yes" : "no") << "\n"
             << "File:      " << d.fileOrIdentifier << "\n"
             << "Latency:   " << instance.getLatencySamples() << " samples\n"
             << "Tail:      " << instance.getTailLengthSeconds() << " s\n"
             << "MIDI:      " << (instance.acceptsMidi() ? "in " : "") << (instance.producesMidi() ? "out" : "")
             << ((instance.acceptsMidi() || instance.producesMidi()) ? "\n" : "none\n")
             << "Buses:\n" << describeBuses (instance, true) << "\n" << describeBuses (instance, false) << "\n";

        const auto& params = instance.getParameters();
        text << "Parameters (" << params.size() << "):\n";

        for (int i = 0; i < params.size(); ++i)
        {
            auto* p = params[i];
            text << "  " << juce::String (i).paddedLeft (' ', 2) << "  "
                 << p->getName (64).paddedRight (' ', 14)
                 << " default " << juce::String (p->getDefaultValue(), 4).paddedRight (' ', 8)
                 << " now \"" << p->getCurrentValueAsText() << "\"\n";
        }

        text << "Programs (" << instance.getNumPrograms() << "), current " << instance.getCurrentProgram() << ":";

        for (int i = 0; i < instance.getNumPrograms(); ++i)
            text << " [" << instance.getProgramName (i) << "]";

        text << "\n";
        return text;
    }
}
