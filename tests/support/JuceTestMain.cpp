// Test entry point for everything that uses the framework: the framework's
// message thread is the test's own thread, as it is for a host's editor.

#include <gmock/gmock.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    testing::InitGoogleMock (&argc, argv);
    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
