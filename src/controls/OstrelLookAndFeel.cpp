#include "OstrelLookAndFeel.h"

#include "MyLabel.h"
#include "../resources/ImageData.h"

namespace
{
    juce::Image fetch (const ImageData* image)
    {
        if (image == nullptr)
            return {};

        return juce::ImageCache::getFromMemory (image->data, image->size);
    }

    juce::Font smallFont (float height)
    {
        return juce::Font (height, juce::Font::plain);
    }
}

//==============================================================================
void OstrelLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool, bool)
{
    const auto strip = fetch (&Images::SwitchStrip);
    const int w = button.getWidth();
    const int h = button.getHeight();

    // The on state is taken from row h − 2, so the lit lamp sits two pixels
    // lower than the dark button.
    const int sourceY = button.getToggleState() ? h - 2 : 0;
    g.drawImage (strip, 0, 0, w, h, 0, sourceY, w, h);
}

void OstrelLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    g.setColour (button.findColour (juce::TextButton::textColourOnId));
    g.drawFittedText (button.getButtonText(), 0, 0, button.getWidth(), button.getHeight(),
                      juce::Justification::centred, 2, 0.0f);
}

juce::Font OstrelLookAndFeel::getPopupMenuFont()
{
    return smallFont (10.0f);
}

void OstrelLookAndFeel::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                                   int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 2 : 10;
        return;
    }

    idealHeight = 16;
    idealWidth = (int) std::ceil (getPopupMenuFont().getStringWidthFloat (text)) + 2 * 16;
}

void OstrelLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int, juce::ComboBox&)
{
    g.setColour (juce::Colour (0xff555555));
    g.fillRoundedRectangle (1.0f, 1.0f, (float) (width - 2), (float) (height - 2), 3.0f);
}

void OstrelLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (smallFont (10.0f));
}

//==============================================================================
int OstrelLookAndFeel::frameIndexFor (float sliderPosProportional) noexcept
{
    if (sliderPosProportional == 1.0f)
        return numKnobFrames - 1;

    const float scaled = sliderPosProportional * (float) numKnobFrames;
    return (int) scaled;
}

void OstrelLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int, int, float sliderPosProportional,
                                          float, float, juce::Slider& slider)
{
    const auto number = (int) slider.getProperties()["number"];
    const auto strip = fetch (Images::knobStrip (number));

    if (! strip.isValid())
        return;

    const int frameWidth = strip.getWidth();
    const int frameHeight = strip.getHeight() / numKnobFrames;
    const int frame = frameIndexFor (sliderPosProportional);

    g.drawImage (strip, x, y, frameWidth, frameHeight, 0, frame * frameHeight, frameWidth, frameHeight);
}

juce::Label* OstrelLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* box = new MyLabel ("n", {});
    box->setJustificationType (juce::Justification::centred);

    const bool isBar = slider.getSliderStyle() == juce::Slider::LinearBar;
    const auto background = slider.findColour (juce::Slider::textBoxBackgroundColourId);
    const auto outline = slider.findColour (juce::Slider::textBoxOutlineColourId);

    box->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    box->setColour (juce::Label::backgroundColourId, isBar ? juce::Colour (0x00000000) : background);
    box->setColour (juce::Label::outlineColourId, outline);
    box->setColour (juce::TextEditor::textColourId, juce::Colour (0xff000000));
    box->setColour (juce::TextEditor::backgroundColourId, background.withAlpha ((juce::uint8) (isBar ? 0xb2 : 0xff)));
    box->setColour (juce::TextEditor::outlineColourId, outline);

    box->setFont (smallFont (12.0f));

    // Edited on a double-click; losing focus commits the edit.
    box->setEditable (false, true, false);
    return box;
}

juce::Slider::SliderLayout OstrelLookAndFeel::getSliderLayout (juce::Slider& slider)
{
    const int width = slider.getWidth();
    const int height = slider.getHeight();
    const auto position = slider.getTextBoxPosition();

    const bool isBeside = position == juce::Slider::TextBoxLeft || position == juce::Slider::TextBoxRight;
    const int minXSpace = isBeside ? 30 : 0;
    const int minYSpace = isBeside ? 0 : 15;

    const int boxWidth  = juce::jmax (0, juce::jmin (slider.getTextBoxWidth(),  width - minXSpace));
    const int boxHeight = juce::jmax (0, juce::jmin (slider.getTextBoxHeight(), height - minYSpace));

    juce::Slider::SliderLayout layout;
    layout.sliderBounds = { 0, 0, width, height };

    const auto style = slider.getSliderStyle();

    if (position == juce::Slider::NoTextBox)
        layout.textBoxBounds = {};
    else if (style == juce::Slider::LinearBar || style == juce::Slider::LinearBarVertical)
        layout.textBoxBounds = { 0, 0, width, height };
    else if (position == juce::Slider::TextBoxLeft)
        layout.textBoxBounds = { 0, (height - boxHeight) / 2, boxWidth, boxHeight };
    else if (position == juce::Slider::TextBoxRight)
        layout.textBoxBounds = { width - boxWidth, (height - boxHeight) / 2, boxWidth, boxHeight };
    else if (position == juce::Slider::TextBoxAbove)
        layout.textBoxBounds = { (width - boxWidth) / 2, 0, boxWidth, boxHeight };
    else
        layout.textBoxBounds = { (width - boxWidth) / 2, valueBoxRow, boxWidth, boxHeight };

    return layout;
}
