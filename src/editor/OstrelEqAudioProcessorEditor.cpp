#include "OstrelEqAudioProcessorEditor.h"

#include "PanelLayout.h"
#include "../resources/ImageData.h"

namespace
{
    const juce::Colour valueTextColour   { 0xffd3d3d3 };
    const juce::Colour invisibleColour   { 0x00ffffff };
    const juce::Colour panelMarginColour { 0xff555555 };

    // The order in which a refresh re-reads the values.
    const char* const knobRefreshOrder[] =
    {
        "Outgain", "HighpassFreq", "LowGain", "LowFreq", "LowMidGain", "LowMidFreq", "LowMidQ",
        "MidGain", "MidFreq", "MidQ", "HighMidGain", "HighMidFreq", "HighMidQ",
        "HighGain", "HighFreq", "LowpassFreq"
    };

    const char* const switchRefreshOrder[] =
    {
        "Bypass", "LF_In", "LMF_In", "MF_In", "HMF_In", "HF_In", "LPHP_In"
    };

    template <typename SliderType>
    juce::Slider* make (std::unique_ptr<SliderType>& owner, const PanelLayout::KnobSpec& spec)
    {
        owner = std::make_unique<SliderType> (spec.componentName);
        return owner.get();
    }
}

//==============================================================================
OstrelEqAudioProcessorEditor::OstrelEqAudioProcessorEditor (OstrelEqAudioProcessor& p)
    : juce::AudioProcessorEditor (p), processor (&p)
{
    processor->addChangeListener (this);

    content = std::make_unique<juce::Component> ("content");
    addAndMakeVisible (*content);
    content->setBounds (0, 0, PanelLayout::width, PanelLayout::height);
    setSize (PanelLayout::width, PanelLayout::height);

    lookAndFeel = std::make_unique<OstrelLookAndFeel>();

    for (int i = 0; i < PanelLayout::numKnobs; ++i)
        createKnob (i);

    for (int i = 0; i < PanelLayout::numSwitches; ++i)
        createSwitch (i);

    versionLabel.setText ("1.2.7", juce::dontSendNotification);
    versionLabel.setColour (juce::Label::textColourId, juce::Colour (0xff555555));
    versionLabel.setFont (juce::Font (10.0f, juce::Font::plain));
    versionLabel.setBounds (9, getHeight() - 20, 50, 12);
    addAndMakeVisible (versionLabel);

    setLookAndFeel (lookAndFeel.get());
}

OstrelEqAudioProcessorEditor::~OstrelEqAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
    processor->removeChangeListener (this);

    // Then the members go in reverse order of declaration: the content
    // component first (its children are only detached), the knobs and
    // switches after it.
}

//==============================================================================
juce::Slider* OstrelEqAudioProcessorEditor::createKnob (int tableIndex)
{
    const auto& spec = PanelLayout::knobs[tableIndex];
    const juce::String name (spec.componentName);
    juce::Slider* knob = nullptr;

    if      (name == "Outgain")  knob = make (outgain, spec);
    else if (name == "Highpass") knob = make (highpass, spec);
    else if (name == "LFGain")   knob = make (lfGain, spec);
    else if (name == "LF")       knob = make (lf, spec);
    else if (name == "LMFGain")  knob = make (lmfGain, spec);
    else if (name == "LMF")      knob = make (lmf, spec);
    else if (name == "LMFWidth") knob = make (lmfWidth, spec);
    else if (name == "MFGain")   knob = make (mfGain, spec);
    else if (name == "MF")       knob = make (mf, spec);
    else if (name == "MFWidth")  knob = make (mfWidth, spec);
    else if (name == "HMFGain")  knob = make (hmfGain, spec);
    else if (name == "HMF")      knob = make (hmf, spec);
    else if (name == "HMFWidth") knob = make (hmfWidth, spec);
    else if (name == "HFGain")   knob = make (hfGain, spec);
    else if (name == "HF")       knob = make (hf, spec);
    else if (name == "Lowpass")  knob = make (lowpass, spec);

    jassert (knob != nullptr);
    content->addAndMakeVisible (knob);

    // The two reused classes show their own knob's range from the start:
    // set before the text box exists.
    if (spec.displayScale != 0.0)
    {
        if (auto* low = dynamic_cast<LowFreqSlider*> (knob))
        {
            low->displayOffset = spec.displayOffset;
            low->displayScale = spec.displayScale;
        }
        else if (auto* high = dynamic_cast<HighFreqSlider*> (knob))
        {
            high->displayOffset = spec.displayOffset;
            high->displayScale = spec.displayScale;
        }
    }

    knob->setBounds (spec.x, spec.y, spec.w, spec.h);
    knob->setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob->setTextBoxStyle (juce::Slider::TextBoxBelow, false, PanelLayout::valueBoxWidth, PanelLayout::valueBoxHeight);
    knob->getProperties().set ("parameter", juce::String (spec.parameter));
    knob->getProperties().set ("number", spec.number);
    knob->setDoubleClickReturnValue (true, 0.5);
    knob->setColour (juce::Slider::textBoxTextColourId, valueTextColour);
    knob->setColour (juce::Slider::textBoxBackgroundColourId, invisibleColour);
    knob->setColour (juce::Slider::textBoxOutlineColourId, invisibleColour);
    knob->addListener (this);
    knob->setRange (0.0, 1.0, 0.0);
    knob->setValue ((double) processor->getParameterByName (spec.parameter), juce::dontSendNotification);
    return knob;
}

juce::TextButton* OstrelEqAudioProcessorEditor::createSwitch (int tableIndex)
{
    const auto& spec = PanelLayout::switches[tableIndex];
    const juce::String name (spec.componentName);

    std::unique_ptr<juce::TextButton>* owner = nullptr;

    if      (name == "Bypass") owner = &bypass;
    else if (name == "LFIn")   owner = &lfIn;
    else if (name == "LMFIn")  owner = &lmfIn;
    else if (name == "MFIn")   owner = &mfIn;
    else if (name == "HMFIn")  owner = &hmfIn;
    else if (name == "HFIn")   owner = &hfIn;
    else if (name == "LPHPIn") owner = &lphpIn;

    jassert (owner != nullptr);
    *owner = std::make_unique<juce::TextButton> (name);
    auto* button = owner->get();

    content->addAndMakeVisible (button);
    button->setBounds (spec.x, spec.y, spec.w, spec.h);
    button->setClickingTogglesState (true);
    button->setButtonText ({});
    button->addListener (this);
    button->setToggleState (processor->getParameterByName (spec.parameter) == 1.0f, juce::dontSendNotification);
    return button;
}

juce::Slider* OstrelEqAudioProcessorEditor::findKnob (const juce::String& parameterName) const
{
    for (auto* child : content->getChildren())
        if (auto* knob = dynamic_cast<juce::Slider*> (child))
            if (knob->getProperties()["parameter"].toString() == parameterName)
                return knob;

    return nullptr;
}

juce::Button* OstrelEqAudioProcessorEditor::findSwitch (const juce::String& parameterName) const
{
    for (const auto& spec : PanelLayout::switches)
        if (parameterName == spec.parameter)
            for (auto* child : content->getChildren())
                if (auto* button = dynamic_cast<juce::Button*> (child))
                    if (button->getName() == spec.componentName)
                        return button;

    return nullptr;
}

const char* OstrelEqAudioProcessorEditor::parameterOfSwitch (juce::Button* button) const
{
    const std::pair<juce::Button*, const char*> switches[] =
    {
        { bypass.get(), "Bypass" }, { lfIn.get(), "LF_In" },   { lmfIn.get(), "LMF_In" }, { mfIn.get(), "MF_In" },
        { hmfIn.get(), "HMF_In" },  { hfIn.get(), "HF_In" },   { lphpIn.get(), "LPHP_In" }
    };

    for (const auto& [candidate, parameter] : switches)
        if (candidate == button)
            return parameter;

    return nullptr;
}

int OstrelEqAudioProcessorEditor::parameterIndexOf (juce::Slider* slider) const
{
    return processor->getParameterIndexByName (slider->getProperties()["parameter"].toString());
}

//==============================================================================
void OstrelEqAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (panelMarginColour);
    g.addTransform (content->getTransform());

    const auto background = juce::ImageCache::getFromMemory (Images::EditorBackground.data, Images::EditorBackground.size);
    g.drawImageAt (background, 0, 0);
}

void OstrelEqAudioProcessorEditor::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    float scale = 1.0f;

    if (w < PanelLayout::width || h < PanelLayout::height)
        scale = (float) juce::jmin ((double) h / (double) PanelLayout::height, (double) w * 0.0009765625);

    const auto transform = juce::AffineTransform::scale (scale)
                               .translated (((float) w - (float) PanelLayout::width * scale) * 0.5f,
                                            ((float) h - (float) PanelLayout::height * scale) * 0.5f);

    if (transform.isSingularity())
        return;

    content->setTransform (transform);
    repaint();
}

//==============================================================================
// Knob moves take the framework's indexed host-notifying path, which is what
// the host observes; switches below do not.
void OstrelEqAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    const int index = parameterIndexOf (slider);
    processor->setParameterNotifyingHostFromEditor (index, (float) slider->getValue());
}

void OstrelEqAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    if (const int index = parameterIndexOf (slider); index >= 0)
        processor->beginParameterGestureFromEditor (index);
}

void OstrelEqAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    if (const int index = parameterIndexOf (slider); index >= 0)
        processor->endParameterGestureFromEditor (index);
}

void OstrelEqAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    // The button has already flipped its own state.
    if (const auto* parameter = parameterOfSwitch (button))
        processor->setParameterByName (parameter, button->getToggleState() ? 1.0f : 0.0f);
}

void OstrelEqAudioProcessorEditor::changeListenerCallback (juce::ChangeBroadcaster*)
{
    refreshControls();
}

void OstrelEqAudioProcessorEditor::refreshControls()
{
    for (const auto* parameter : knobRefreshOrder)
        if (auto* knob = findKnob (parameter))
            knob->setValue ((double) processor->getParameterByName (parameter), juce::dontSendNotification);

    for (const auto* parameter : switchRefreshOrder)
        if (auto* button = findSwitch (parameter))
            button->setToggleState (processor->getParameterByName (parameter) == 1.0f, juce::dontSendNotification);
}
