// The panel's drawing style: filmstrip frames for knobs, the two switch
// states, the value box's layout, colours and editing, menus and combo boxes.

#include "MessageLoop.h"

#include <controls/MyLabel.h>
#include <controls/OstrelLookAndFeel.h>
#include <resources/ImageData.h>

#include <gtest/gtest.h>

namespace
{
    juce::Image decode (const ImageData* data)
    {
        return juce::ImageCache::getFromMemory (data->data, data->size);
    }

    bool samePixels (const juce::Image& a, const juce::Image& b)
    {
        if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
            return false;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;

        return true;
    }

    bool isFullyTransparent (const juce::Image& image)
    {
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() != 0)
                    return false;

        return true;
    }

    /** What drawRotarySlider paints for a knob of this strip number at this position. */
    juce::Image drawKnob (OstrelLookAndFeel& lf, juce::var number, float position, int w = 73, int h = 78)
    {
        juce::Slider knob;
        knob.setSize (w, h);
        if (! number.isVoid())
            knob.getProperties().set ("number", number);

        juce::Image canvas (juce::Image::ARGB, w, h, true);
        juce::Graphics g (canvas);
        lf.drawRotarySlider (g, 0, 0, w, h, position, 0.0f, 1.0f, knob);
        return canvas;
    }

    /** Frame k of a strip, cut out of the strip image. */
    juce::Image frameOf (int number, int k)
    {
        const auto strip = decode (Images::knobStrip (number));
        const int h = strip.getHeight() / 99;
        return strip.getClippedImage ({ 0, k * h, strip.getWidth(), h }).createCopy();
    }
}

TEST (LookAndFeel, FrameIndexCoversOneNinetyNinthOfTheRangeEach)
{
    struct Case { float position; int frame; };

    const Case cases[] =
    {
        { 0.0f, 0 },
        { std::nextafter (1.0f / 99.0f, 0.0f), 0 },
        { std::nextafter (1.0f / 99.0f, 1.0f), 1 },
        { 0.5f, 49 },
        { 0.999f, 98 },
        { std::nextafter (1.0f, 0.0f), 98 },
        { 1.0f, 98 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (OstrelLookAndFeel::frameIndexFor (c.position), c.frame) << c.position;
}

TEST (LookAndFeel, KnobsDrawTheirOwnStripsFrameAtNaturalSize)
{
    OstrelLookAndFeel lf;

    // Strip 2 is the LF knob's: 73 × 78 frames.
    EXPECT_TRUE (samePixels (drawKnob (lf, 2, 0.0f), frameOf (2, 0)));
    EXPECT_TRUE (samePixels (drawKnob (lf, 2, 0.5f), frameOf (2, 49)));
    EXPECT_TRUE (samePixels (drawKnob (lf, 2, 1.0f), frameOf (2, 98)));
    EXPECT_FALSE (samePixels (frameOf (2, 0), frameOf (2, 98)));

    // The knob's own size does not scale the frame.
    const auto big = drawKnob (lf, 2, 0.5f, 120, 120);
    EXPECT_TRUE (samePixels (big.getClippedImage ({ 0, 0, 73, 78 }).createCopy(), frameOf (2, 49)));
    EXPECT_TRUE (isFullyTransparent (big.getClippedImage ({ 73, 0, 47, 120 }).createCopy()));
}

TEST (LookAndFeel, KnobsWithoutAValidNumberDrawNoImage)
{
    OstrelLookAndFeel lf;

    for (const auto& number : { juce::var(), juce::var (0), juce::var (17), juce::var (-3) })
        EXPECT_TRUE (isFullyTransparent (drawKnob (lf, number, 0.5f))) << number.toString();
}

TEST (LookAndFeel, SwitchesShowOffFromRowZeroAndOnFromTwoRowsAbove)
{
    OstrelLookAndFeel lf;
    const auto strip = decode (&Images::SwitchStrip);

    for (const bool on : { false, true })
    {
        juce::TextButton button;
        button.setSize (27, 31);
        button.setToggleState (on, juce::dontSendNotification);

        juce::Image canvas (juce::Image::ARGB, 27, 31, true);
        {
            juce::Graphics g (canvas);
            // Highlight and press flags change nothing.
            lf.drawButtonBackground (g, button, juce::Colours::red, true, true);
        }

        const auto expected = strip.getClippedImage ({ 0, on ? 29 : 0, 27, 31 }).createCopy();
        EXPECT_TRUE (samePixels (canvas, expected)) << (on ? "on" : "off");
    }
}

TEST (LookAndFeel, ValueBoxSitsAtRowSixtyEightOrBesideTheKnob)
{
    OstrelLookAndFeel lf;

    struct Case
    {
        juce::Slider::SliderStyle style;
        juce::Slider::TextEntryBoxPosition position;
        int w, h, boxW, boxH;
        juce::Rectangle<int> expected;
    };

    using S = juce::Slider;

    const Case cases[] =
    {
        { S::RotaryVerticalDrag, S::TextBoxBelow, 73, 78, 50, 11, { 11, 68, 50, 11 } },
        { S::RotaryVerticalDrag, S::TextBoxBelow, 65, 81, 50, 11, { 7, 68, 50, 11 } },
        { S::RotaryVerticalDrag, S::TextBoxBelow, 40, 20, 50, 11, { 0, 68, 40, 5 } },   // below the component
        { S::RotaryVerticalDrag, S::TextBoxAbove, 73, 78, 50, 11, { 11, 0, 50, 11 } },
        { S::RotaryVerticalDrag, S::TextBoxLeft,  73, 78, 50, 11, { 0, 33, 43, 11 } },
        { S::RotaryVerticalDrag, S::TextBoxRight, 73, 78, 50, 11, { 30, 33, 43, 11 } },
        { S::RotaryVerticalDrag, S::NoTextBox,    73, 78, 50, 11, {} },
        { S::LinearBar,          S::TextBoxBelow, 73, 20, 50, 11, { 0, 0, 73, 20 } },
        { S::LinearBarVertical,  S::TextBoxLeft,  20, 73, 50, 11, { 0, 0, 20, 73 } },
    };

    for (const auto& c : cases)
    {
        juce::Slider slider;
        slider.setSliderStyle (c.style);
        slider.setTextBoxStyle (c.position, false, c.boxW, c.boxH);
        slider.setSize (c.w, c.h);

        const auto layout = lf.getSliderLayout (slider);
        EXPECT_EQ (layout.sliderBounds, juce::Rectangle<int> (0, 0, c.w, c.h));
        EXPECT_EQ (layout.textBoxBounds, c.expected) << c.w << "x" << c.h << " position " << (int) c.position;
    }
}

TEST (LookAndFeel, ValueBoxColoursFontAndEditing)
{
    OstrelLookAndFeel lf;

    struct Case { juce::Slider::SliderStyle style; juce::uint32 labelBackground, editorBackground; };

    const Case cases[] =
    {
        { juce::Slider::RotaryVerticalDrag, 0x00ffffff, 0xffffffff },
        { juce::Slider::LinearBarVertical,  0x00ffffff, 0xffffffff },   // only LinearBar counts as a bar
        { juce::Slider::LinearBar,          0x00000000, 0xb2ffffff },
    };

    for (const auto& c : cases)
    {
        juce::Slider slider;
        slider.setSliderStyle (c.style);
        slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xffd3d3d3));
        slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0x00ffffff));
        slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00ffffff));

        std::unique_ptr<juce::Label> box (lf.createSliderTextBox (slider));
        ASSERT_NE (dynamic_cast<MyLabel*> (box.get()), nullptr);

        EXPECT_EQ (box->getName(), "n");
        EXPECT_EQ (box->getJustificationType(), juce::Justification::centred);
        EXPECT_EQ (box->findColour (juce::Label::textColourId).getARGB(), 0xffd3d3d3u);
        EXPECT_EQ (box->findColour (juce::Label::backgroundColourId).getARGB(), c.labelBackground);
        EXPECT_EQ (box->findColour (juce::Label::outlineColourId).getARGB(), 0x00ffffffu);
        EXPECT_EQ (box->findColour (juce::TextEditor::textColourId).getARGB(), 0xff000000u);
        EXPECT_EQ (box->findColour (juce::TextEditor::backgroundColourId).getARGB(), c.editorBackground);
        EXPECT_EQ (box->findColour (juce::TextEditor::outlineColourId).getARGB(), 0x00ffffffu);
        EXPECT_EQ (box->getFont().getHeight(), 12.0f);
        EXPECT_FALSE (box->isEditableOnSingleClick());
        EXPECT_TRUE (box->isEditableOnDoubleClick());
        EXPECT_FALSE (box->doesLossOfFocusDiscardChanges());
    }
}

TEST (LookAndFeel, DoubleClickOpensTheValueEditorWithAllTextSelected)
{
    OstrelLookAndFeel lf;
    juce::Slider knob;
    knob.setLookAndFeel (&lf);
    knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 50, 11);
    knob.setRange (0.0, 1.0, 0.0);
    knob.setValue (0.25);
    knob.setBounds (0, 0, 73, 78);
    knob.addToDesktop (0);
    knob.setVisible (true);

    auto* box = dynamic_cast<juce::Label*> (knob.getChildComponent (0));
    ASSERT_NE (box, nullptr);
    EXPECT_EQ (box->getBounds(), juce::Rectangle<int> (11, 68, 50, 11));

    // A single click does not open it.
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto centre = box->getLocalBounds().getCentre().toFloat();
    auto click = [&] (int clicks)
    {
        const auto now = juce::Time::getCurrentTime();
        const juce::MouseEvent e (source, centre, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, box, box, now, centre, now, clicks, false);
        auto& target = static_cast<juce::Component&> (*box);
        target.mouseDown (e);
        target.mouseUp (e);
        if (clicks == 2)
            target.mouseDoubleClick (e);
    };

    click (1);
    EXPECT_EQ (box->getCurrentTextEditor(), nullptr);

    click (2);
    auto* editor = box->getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);

    editor->grabKeyboardFocus();
    for (int i = 0; i < 20 && ! editor->hasKeyboardFocus (true); ++i)
        TestSupport::runPendingMessages();

    if (editor->hasKeyboardFocus (true))
        EXPECT_EQ (editor->getHighlightedRegion(), juce::Range<int> (0, editor->getTotalNumChars()));

    EXPECT_EQ (editor->getText(), knob.getTextFromValue (0.25));
    box->hideEditor (true);
    knob.removeFromDesktop();
    knob.setLookAndFeel (nullptr);
}

TEST (LookAndFeel, MenusAndComboBoxesAreSmallAndFlat)
{
    OstrelLookAndFeel lf;
    int w = 0, h = 0;

    lf.getIdealPopupMenuItemSize ({}, true, 0, w, h);
    EXPECT_EQ (w, 50); EXPECT_EQ (h, 10);
    lf.getIdealPopupMenuItemSize ({}, true, 25, w, h);
    EXPECT_EQ (w, 50); EXPECT_EQ (h, 12);

    for (const int standard : { 0, 10, 40 })
    {
        lf.getIdealPopupMenuItemSize ("Program 1", false, standard, w, h);
        EXPECT_EQ (h, 16);
        EXPECT_EQ (w, (int) std::ceil (juce::Font (10.0f).getStringWidthFloat ("Program 1")) + 32);
    }

    EXPECT_EQ (lf.getPopupMenuFont().getHeight(), 10.0f);

    juce::ComboBox box;
    box.setSize (60, 20);
    juce::Label label;
    lf.positionComboBoxText (box, label);
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (1, 1, 58, 18));
    EXPECT_EQ (label.getFont().getHeight(), 10.0f);

    juce::Image canvas (juce::Image::ARGB, 60, 20, true);
    {
        juce::Graphics g (canvas);
        lf.drawComboBox (g, 60, 20, true, 40, 0, 20, 20, box);
    }

    EXPECT_EQ (canvas.getPixelAt (0, 0).getAlpha(), 0);               // inset by one pixel
    EXPECT_EQ (canvas.getPixelAt (30, 10).getARGB(), 0xff555555u);    // dark grey body
    EXPECT_EQ (canvas.getPixelAt (50, 10).getARGB(), 0xff555555u);    // no arrow
}
