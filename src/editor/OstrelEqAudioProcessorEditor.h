#pragma once

#include "../controls/GainSlider.h"
#include "../controls/HighFreqSlider.h"
#include "../controls/HighMidFreqSlider.h"
#include "../controls/LowFreqSlider.h"
#include "../controls/LowMidFreqSlider.h"
#include "../controls/MidFreqSlider.h"
#include "../controls/OstrelLookAndFeel.h"
#include "../controls/WidthSlider.h"
#include "../processor/OstrelEqAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in window: a 1024 × 209 panel with sixteen knobs and seven
    switches over a background image, scaled down uniformly (never up) and
    centred when the host gives it another size.

    Knob moves go to the host through the indexed parameter path, wrapped in
    change gestures; switches write the processor directly by name. Every
    change the processor broadcasts (whatever made it) refreshes all controls
    without notification.
*/
class OstrelEqAudioProcessorEditor  : public juce::AudioProcessorEditor,
                                      public juce::Slider::Listener,
                                      public juce::Button::Listener,
                                      public juce::ChangeListener
{
public:
    explicit OstrelEqAudioProcessorEditor (OstrelEqAudioProcessor&);
    ~OstrelEqAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void sliderValueChanged (juce::Slider*) override;
    void sliderDragStarted (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;
    void buttonClicked (juce::Button*) override;
    void changeListenerCallback (juce::ChangeBroadcaster*) override;

private:
    juce::Slider* createKnob (int tableIndex);
    juce::TextButton* createSwitch (int tableIndex);
    juce::Slider* findKnob (const juce::String& parameterName) const;
    juce::Button* findSwitch (const juce::String& parameterName) const;
    const char* parameterOfSwitch (juce::Button*) const;
    int parameterIndexOf (juce::Slider*) const;
    void refreshControls();

    OstrelEqAudioProcessor* processor;

    std::unique_ptr<GainSlider> outgain, lfGain, lmfGain, mfGain, hmfGain, hfGain;
    std::unique_ptr<WidthSlider> lmfWidth, mfWidth, hmfWidth;
    std::unique_ptr<juce::TextButton> bypass, lmfIn, mfIn, hmfIn, lphpIn, lfIn, hfIn;
    std::unique_ptr<LowFreqSlider> lf, highpass;
    std::unique_ptr<LowMidFreqSlider> lmf;
    std::unique_ptr<MidFreqSlider> mf;
    std::unique_ptr<HighMidFreqSlider> hmf;
    std::unique_ptr<HighFreqSlider> hf, lowpass;

    std::unique_ptr<OstrelLookAndFeel> lookAndFeel;
    juce::Label versionLabel { {}, {} };
    std::unique_ptr<juce::Component> content;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelEqAudioProcessorEditor)
};
