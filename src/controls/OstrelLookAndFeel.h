#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The panel's drawing style.

    Knobs are one frame of a pre-rendered 99-frame filmstrip, picked by the
    knob's "number" property and its position and drawn at natural size;
    buttons are one of the two states of the switch image; a knob's value box
    is a MyLabel at a fixed row inside the knob (y = 68); popup menus and combo
    boxes get small fonts and flat shapes. Everything else is LookAndFeel_V3.
*/
class OstrelLookAndFeel  : public juce::LookAndFeel_V3
{
public:
    OstrelLookAndFeel() = default;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    juce::Font getPopupMenuFont() override;

    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    juce::Label* createSliderTextBox (juce::Slider&) override;

    juce::Slider::SliderLayout getSliderLayout (juce::Slider&) override;

    /** Number of frames in every knob filmstrip. */
    static constexpr int numKnobFrames = 99;

    /** The filmstrip frame shown at a proportional knob position: 1/99 of
        the range per frame, the maximum on the last frame. */
    static int frameIndexFor (float sliderPosProportional) noexcept;

    /** Row at which a knob's value box sits when it is below the knob. */
    static constexpr int valueBoxRow = 68;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelLookAndFeel)
};
