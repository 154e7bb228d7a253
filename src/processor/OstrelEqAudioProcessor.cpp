#include "OstrelEqAudioProcessor.h"

#include "CoefficientDesign.h"
#include "EqualiserKernel.h"
#include "ParameterText.h"
#include "SavedState.h"
#include "../editor/OstrelEqAudioProcessorEditor.h"

#include <cmath>

//==============================================================================
OstrelEqAudioProcessor::OstrelEqAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput  ("Input",  juce::AudioChannelSet::stereo(), false)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), false))
{
    random.setSeedRandomly();

    for (const auto& entry : ParameterTable::entries)
        parameters.set (entry.name, entry.storedWhole ? juce::var ((int) entry.defaultValue)
                                                      : juce::var (entry.defaultValue));

    defaultParameters = parameters;
    active.outputGain = 1.0f;

    for (auto* group : { highPass, lowShelf, lowBell, lowMidBell, midBell, highMidBell, highBell, highShelf, lowPass })
        for (int channel = 0; channel < 2; ++channel)
            group[channel] = std::make_unique<FilterSection>();

    for (int channel = 0; channel < 2; ++channel)
    {
        auto* sections = chain[channel];
        sections[highPassSection]    = highPass[channel].get();
        sections[lowShelfSection]    = lowShelf[channel].get();
        sections[lowBellSection]     = lowBell[channel].get();
        sections[lowPassSection]     = lowPass[channel].get();
        sections[highShelfSection]   = highShelf[channel].get();
        sections[highBellSection]    = highBell[channel].get();
        sections[lowMidBellSection]  = lowMidBell[channel].get();
        sections[midBellSection]     = midBell[channel].get();
        sections[highMidBellSection] = highMidBell[channel].get();
    }

    sampleRate = 44100.0f;
    random.setSeedRandomly();

    programs = std::make_unique<ProgramSlot[]> (numProgramSlots);

    for (int slot = 0; slot < numProgramSlots; ++slot)
        for (int i = 0; i < parameters.size(); ++i)
            programs[slot].values.set (parameters.getName (i), *parameters.getVarPointerAt (i));

    currentProgram = 0;
}

OstrelEqAudioProcessor::~OstrelEqAudioProcessor()
{
    for (auto* group : { highPass, lowShelf, lowBell, lowMidBell, midBell, highMidBell, highBell, highShelf, lowPass })
        for (int channel = 0; channel < 2; ++channel)
            group[channel].reset();

    programs.reset();
}

//==============================================================================
const juce::String OstrelEqAudioProcessor::getName() const   { return "Lumarin"; }
double OstrelEqAudioProcessor::getTailLengthSeconds() const  { return 0.0; }
bool OstrelEqAudioProcessor::acceptsMidi() const             { return false; }
bool OstrelEqAudioProcessor::producesMidi() const            { return false; }
bool OstrelEqAudioProcessor::hasEditor() const               { return true; }
void OstrelEqAudioProcessor::releaseResources()              {}

juce::AudioProcessorEditor* OstrelEqAudioProcessor::createEditor()
{
    return new OstrelEqAudioProcessorEditor (*this);
}

juce::int32 OstrelEqAudioProcessor::getAAXPluginIDForMainBusConfig (const juce::AudioChannelSet& mainInputLayout,
                                                                    const juce::AudioChannelSet&,
                                                                    bool idForAudioSuite) const
{
    const auto base = idForAudioSuite ? (juce::int32) 0x6a796161   // 'jyaa'
                                      : (juce::int32) 0x6a636161;  // 'jcaa'
    return base + (mainInputLayout == juce::AudioChannelSet::mono() ? 1 : 0);
}

//==============================================================================
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

int OstrelEqAudioProcessor::getNumParameters()
{
    return ParameterTable::numParameters;
}

const juce::String OstrelEqAudioProcessor::getParameterName (int index)
{
    if (! juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        return {};

    return parameters.getName (index).toString();
}

float OstrelEqAudioProcessor::getParameter (int index)
{
    if (! juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        return 0.0f;

    const juce::SpinLock::ScopedLockType lock (storeLock);
    return (float) (double) parameters.getValueAt (index);
}

float OstrelEqAudioProcessor::getParameterDefaultValue (int index)
{
    if (! juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        return 0.0f;

    return (float) (double) defaultParameters.getValueAt (index);
}

void OstrelEqAudioProcessor::setParameter (int index, float newValue)
{
    // Indices past the table would add an entry to the store: hosts send
    // none, and nothing else may grow it.
    if (! juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        return;

    storeValue (index, (double) newValue);
    redesignAndBroadcast();
}

const juce::String OstrelEqAudioProcessor::getParameterText (int index)
{
    if (! juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        return parameterText ({}, 0.0);

    return parameterText (parameters.getName (index).toString(), (double) getParameter (index));
}

const juce::String OstrelEqAudioProcessor::getInputChannelName (int channelIndex) const   { return juce::String (channelIndex + 1); }
const juce::String OstrelEqAudioProcessor::getOutputChannelName (int channelIndex) const  { return juce::String (channelIndex + 1); }
bool OstrelEqAudioProcessor::isInputChannelStereoPair (int) const                         { return true; }
bool OstrelEqAudioProcessor::isOutputChannelStereoPair (int) const                        { return true; }

void OstrelEqAudioProcessor::setParameterNotifyingHostFromEditor (int index, float newValue)
{
    setParameterNotifyingHost (index, newValue);
}

void OstrelEqAudioProcessor::beginParameterGestureFromEditor (int index)
{
    if (juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        beginParameterChangeGesture (index);
}

void OstrelEqAudioProcessor::endParameterGestureFromEditor (int index)
{
    if (juce::isPositiveAndBelow (index, ParameterTable::numParameters))
        endParameterChangeGesture (index);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

//==============================================================================
float OstrelEqAudioProcessor::getParameterByName (const juce::String& name)
{
    const auto index = getParameterIndexByName (name);

    if (index < 0)
        return 0.0f;

    const juce::SpinLock::ScopedLockType lock (storeLock);
    return (float) (double) parameters.getValueAt (index);
}

void OstrelEqAudioProcessor::setParameterByName (const juce::String& name, float value)
{
    const auto index = getParameterIndexByName (name);

    // An unknown name would add an entry to the store and so a 26th parameter.
    if (index < 0)
        return;

    storeValue (index, (double) value);
    redesignAndBroadcast();
}

int OstrelEqAudioProcessor::getParameterIndexByName (const juce::String& name)
{
    // The keys never change after construction, so no lock is needed here.
    for (int i = 0; i < parameters.size(); ++i)
        if (parameters.getName (i).toString() == name)
            return i;

    return -1;
}

void OstrelEqAudioProcessor::storeValue (int index, double value)
{
    const juce::SpinLock::ScopedLockType lock (storeLock);

    // Assigning a double to an existing var neither allocates nor moves the entry.
    *parameters.getVarPointerAt (index) = value;
    *programs[currentProgram].values.getVarPointerAt (index) = value;
    ++storeVersion;
}

//==============================================================================
int OstrelEqAudioProcessor::getNumPrograms()     { return numHostPrograms; }
int OstrelEqAudioProcessor::getCurrentProgram()  { return currentProgram; }

void OstrelEqAudioProcessor::setCurrentProgram (int index)
{
    if (! juce::isPositiveAndBelow (index, numHostPrograms))
        return;

    {
        const juce::SpinLock::ScopedLockType lock (storeLock);
        currentProgram = index;

        const auto& slot = programs[index].values;

        // Copied by position: the slot holds the same names in the same order.
        for (int i = 0; i < parameters.size(); ++i)
            *parameters.getVarPointerAt (i) = i < slot.size() ? (double) slot.getValueAt (i) : 0.0;

        ++storeVersion;
    }

    redesignAndBroadcast();
    sendChangeMessage();
}

const juce::String OstrelEqAudioProcessor::getProgramName (int index)
{
    if (! juce::isPositiveAndBelow (index, numHostPrograms))
        return {};

    return programs[index].name;
}

void OstrelEqAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    if (juce::isPositiveAndBelow (index, numHostPrograms))
        programs[index].name = newName;
}

//==============================================================================
void OstrelEqAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    float rate;
    std::uint64_t version;
    const auto values = snapshotValues (rate, version);

    int program;
    {
        const juce::SpinLock::ScopedLockType lock (storeLock);
        program = currentProgram;
    }

    destData.reset();
    copyXmlToBinary (*SavedState::createElement (values, program), destData);
}

void OstrelEqAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto contents = SavedState::read (data, sizeInBytes);

    if (! contents.has_value())
        return;

    {
        const juce::SpinLock::ScopedLockType lock (storeLock);

        if (const auto program = contents->currentProgram; program.has_value()
                                                            && juce::isPositiveAndBelow (*program, numHostPrograms))
            currentProgram = *program;

        for (int i = 0; i < ParameterTable::numParameters; ++i)
        {
            if (const auto& value = contents->values[i]; value.has_value())
            {
                *parameters.getVarPointerAt (i) = *value;
                *programs[currentProgram].values.getVarPointerAt (i) = *value;
            }
        }

        ++storeVersion;
    }

    redesignAndBroadcast();
}

//==============================================================================
float OstrelEqAudioProcessor::getDesignSampleRate() const
{
    const juce::SpinLock::ScopedLockType lock (storeLock);
    return sampleRate;
}

void OstrelEqAudioProcessor::setRandomSeed (juce::int64 seed)
{
    random.setSeed (seed);
}

ChainSettings OstrelEqAudioProcessor::getLatestSettings() const
{
    const juce::SpinLock::ScopedLockType lock (storeLock);
    return latestSettings;
}

ParameterValues OstrelEqAudioProcessor::snapshotValues (float& rate, std::uint64_t& version) const
{
    ParameterValues values;
    const juce::SpinLock::ScopedLockType lock (storeLock);

    for (int i = 0; i < ParameterTable::numParameters; ++i)
        values[i] = (double) parameters.getValueAt (i);

    rate = sampleRate;
    version = storeVersion.load();
    return values;
}

void OstrelEqAudioProcessor::updateFilters (float newSampleRate)
{
    {
        const juce::SpinLock::ScopedLockType lock (storeLock);
        sampleRate = newSampleRate;
        ++storeVersion;
    }

    redesignAndBroadcast();
}

void OstrelEqAudioProcessor::redesignAndBroadcast()
{
    redesignFromStore();
    sendChangeMessage();
}

void OstrelEqAudioProcessor::redesignFromStore()
{
    // Combining update: the thread that holds updaterBusy designs and publishes
    // until its snapshot is the newest store version; a thread that finds the
    // flag taken returns at once and leaves its change to the holder. So no
    // thread waits, and once changes stop the published set is the one
    // designed from the final values. The ordering argument needs the default
    // sequentially consistent atomics: a writer bumps storeVersion before it
    // tries the flag, the holder clears the flag before it rereads the version.
    for (;;)
    {
        bool expected = false;

        if (! updaterBusy.compare_exchange_strong (expected, true))
            return;

        float rate;
        std::uint64_t version;
        const auto values = snapshotValues (rate, version);
        const auto settings = designChain (values, rate);

        exchange.publish (settings);

        {
            const juce::SpinLock::ScopedLockType lock (storeLock);
            latestSettings = settings;
        }

        updaterBusy.store (false);

        if (storeVersion.load() == version)
            return;
    }
}

//==============================================================================
void OstrelEqAudioProcessor::prepareToPlay (double newSampleRate, int)
{
    updateFilters ((float) newSampleRate);

    for (int channel = 0; channel < 2; ++channel)
    {
        allpassLastInput[channel] = 0.0f;
        allpassLastOutput[channel] = 0.0f;
    }
}

void OstrelEqAudioProcessor::applyPendingSettings() noexcept
{
    if (! exchange.fetch (active))
        return;

    // New coefficients, old memories: each section continues from its state.
    for (int channel = 0; channel < 2; ++channel)
    {
        for (int s = 0; s < numSections; ++s)
        {
            auto& section = *chain[channel][s];
            const auto& c = active.sections[s];
            section.b0 = c.b0;
            section.b1 = c.b1;
            section.b2 = c.b2;
            section.a1 = c.a1;
            section.a2 = c.a2;
        }
    }
}

void OstrelEqAudioProcessor::resetNonFiniteMemories() noexcept
{
    // One NaN or infinity in the input would otherwise stay in a recursive
    // memory for ever; clearing it lets the output recover by the next block.
    for (auto& channelSections : chain)
    {
        for (auto* section : channelSections)
        {
            if (! (std::isfinite (section->x1) && std::isfinite (section->x2)
                    && std::isfinite (section->y1) && std::isfinite (section->y2)))
                section->x1 = section->x2 = section->y1 = section->y2 = 0.0;
        }
    }

    for (int channel = 0; channel < 2; ++channel)
    {
        if (! (std::isfinite (allpassLastInput[channel]) && std::isfinite (allpassLastOutput[channel])))
            allpassLastInput[channel] = allpassLastOutput[channel] = 0.0f;
    }
}

void OstrelEqAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    // Runs on the audio thread. Guarantees: no allocation, no lock, no system
    // call, no logging and no filter design. The newest complete coefficient
    // set published by updateFilters (on any thread) is taken over at the
    // start of the block through a wait-free triple buffer, so a block never
    // sees a partly written set; the section memories carry over unchanged.
    // Subnormals are flushed for the block: the decaying tails of the
    // recursive sections would otherwise make silence cost twice a signal.
    const juce::ScopedNoDenormals noDenormals;
    const int numSamples = buffer.getNumSamples();

    if (numSamples == 0 || buffer.getNumChannels() == 0)
        return;

    applyPendingSettings();

    auto* left  = buffer.getWritePointer (0);
    auto* right = buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr;

    auto seed = (std::int64_t) random.getSeed();
    processBlockFast (left, right, numSamples, active, chain, allpassLastInput, allpassLastOutput, seed);
    random.setSeed ((juce::int64) seed);

    resetNonFiniteMemories();
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new OstrelEqAudioProcessor();
}
