#pragma once

#include "ChainSettings.h"
#include "CoefficientExchange.h"
#include "FilterSection.h"
#include "ParameterTable.h"
#include "ProgramSlot.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>

/** The Lumarin equaliser: the object a host talks to.

    It owns the 25 parameter values, the program slots, the saved state, the
    eighteen filter sections and the coefficient update that designs them, and
    it runs the audio callback. Every change of the sound takes one path: the
    value is stored (in the parameter store and the current program slot),
    then updateFilters redesigns everything and broadcasts a change.

    Threads: host automation calls setParameter on the audio thread or the
    message thread, the editor calls from the message thread. The parameter
    store is guarded by a short spin lock held only while numbers are copied;
    designs are handed to the audio thread through a lock-free triple buffer
    (see updateFilters and processBlock).
*/
class OstrelEqAudioProcessor  : public juce::AudioProcessor,
                                public juce::ChangeBroadcaster
{
public:
    OstrelEqAudioProcessor();
    ~OstrelEqAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    //==============================================================================
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    juce::int32 getAAXPluginIDForMainBusConfig (const juce::AudioChannelSet& mainInputLayout,
                                                const juce::AudioChannelSet& mainOutputLayout,
                                                bool idForAudioSuite) const override;

    //==============================================================================
    // The host reaches the parameters by index, through the framework's
    // indexed parameter interface.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    int getNumParameters() override;
    const juce::String getParameterName (int index) override;
    float getParameter (int index) override;
    float getParameterDefaultValue (int index) override;
    void setParameter (int index, float newValue) override;
    const juce::String getParameterText (int index) override;

    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    /** The editor's path for knob moves: the framework's indexed
        setParameterNotifyingHost, so the host hears of the new value. An index
        outside the set does nothing. */
    void setParameterNotifyingHostFromEditor (int index, float newValue);

    /** The framework's indexed change gestures around a knob drag. */
    void beginParameterGestureFromEditor (int index);
    void endParameterGestureFromEditor (int index);

    //==============================================================================
    /** The stored value of the named parameter as a 32-bit float; 0 when no
        parameter has that name. */
    float getParameterByName (const juce::String& name);

    /** Stores a value under a parameter name (live and in the current program)
        and runs the coefficient update, without telling the host. A name that
        is not a parameter is ignored. */
    void setParameterByName (const juce::String& name, float value);

    /** Index of the named parameter, or -1. */
    int getParameterIndexByName (const juce::String& name);

    /** Redesigns every section from the whole parameter store for the given
        sample rate and broadcasts a change. Safe to call on any thread, also
        while the audio callback runs: it never waits for another thread and
        never allocates; if another thread is updating at the same moment,
        that thread picks this change up before it finishes. */
    void updateFilters (float newSampleRate);

    /** The newest coefficient set the update has designed (the one the next
        audio block will use). For inspection on the message thread. */
    ChainSettings getLatestSettings() const;

    /** Restarts the colouring stage's generator from a known seed, for
        reproducible renders. Call while no block is being processed. */
    void setRandomSeed (juce::int64 seed);

    /** The sample rate the coefficients are designed for. */
    float getDesignSampleRate() const;

private:
    //==============================================================================
    void storeValue (int index, double value);
    ParameterValues snapshotValues (float& rate, std::uint64_t& version) const;
    void redesignFromStore();
    void redesignAndBroadcast();   // updateFilters at the stored rate
    void applyPendingSettings() noexcept;
    void resetNonFiniteMemories() noexcept;

    using SectionPtr = std::unique_ptr<FilterSection>;

    //==============================================================================
    juce::NamedValueSet parameters;
    juce::NamedValueSet defaultParameters;

    // The section records: channel 0 and 1 of each section.
    SectionPtr lowShelf[2], lowBell[2], lowMidBell[2], midBell[2], highMidBell[2], highBell[2], highShelf[2];
    SectionPtr highPass[2];
    SectionPtr lowPass[2];

    float allpassLastOutput[2] {};
    float allpassLastInput[2] {};

    // Audio-thread side of the settings: the all-pass coefficient, the head
    // gain (outputGain) and the switch flags that the running callback uses.
    ChainSettings active;

    float sampleRate = 44100.0f;

    juce::Random random;

    std::unique_ptr<ProgramSlot[]> programs;
    int currentProgram = 0;

    //==============================================================================
    static constexpr int numProgramSlots = 11;
    static constexpr int numHostPrograms = 10;

    // The sections of each channel in the order the callback runs them.
    FilterSection* chain[2][numSections] {};

    // Guards the numbers in the parameter store, the program slots' values,
    // sampleRate and latestSettings. Held only while numbers are copied.
    mutable juce::SpinLock storeLock;
    std::atomic<std::uint64_t> storeVersion { 0 };

    // Set while one thread designs; the others leave their change to it.
    std::atomic<bool> updaterBusy { false };

    CoefficientExchange exchange;
    ChainSettings latestSettings;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelEqAudioProcessor)
};
