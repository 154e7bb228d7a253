// lumarin-info: loads a VST3 bundle as a host does and prints what the host sees.
//
//   lumarin-info [path/to/Lumarin.vst3]
//
// Without an argument it looks in ~/.vst3.

#include <PluginHost.h>

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI framework;

    const auto bundle = argc > 1 ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[1])
                                 : juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                                       .getChildFile (".vst3/Lumarin.vst3");

    juce::String error;
    auto instance = PluginHost::load (bundle, 48000.0, 512, error);

    if (instance == nullptr)
    {
        std::cerr << "lumarin-info: " << error << std::endl;
        return 1;
    }

    const auto found = PluginHost::scan (bundle);
    std::cout << PluginHost::describe (*found[0], *instance) << std::flush;

    instance->releaseResources();
    instance.reset();
    return 0;
}
