// The editor: its controls after construction, scaling, the handlers in both
// directions as a host observes them, and a pixel check of the panel.

#include "MessageLoop.h"
#include "Screenshot.h"

#include <editor/OstrelEqAudioProcessorEditor.h>
#include <editor/PanelLayout.h>
#include <resources/ImageData.h>

#include <gtest/gtest.h>

namespace
{
    /** Records what the host would be told, as the wrapper does (it is an
        AudioProcessorListener of the processor). */
    struct HostObserver  : juce::AudioProcessorListener
    {
        struct Event { char kind; int index; float value; };
        std::vector<Event> events;

        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { events.push_back ({ 'v', index, value }); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { events.push_back ({ 'b', index, 0.0f }); }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { events.push_back ({ 'e', index, 0.0f }); }
    };

    struct EditorTest  : ::testing::Test
    {
        EditorTest()
        {
            processor.addListener (&host);
        }

        ~EditorTest() override
        {
            editor.reset();
            processor.removeListener (&host);
            TestSupport::runPendingMessages();
        }

        void openEditor()
        {
            editor.reset (dynamic_cast<OstrelEqAudioProcessorEditor*> (processor.createEditor()));
            ASSERT_NE (editor, nullptr);
        }

        juce::Component* content() const  { return editor->getChildComponent (0); }

        template <typename T = juce::Component>
        T* child (const juce::String& name) const
        {
            for (auto* c : content()->getChildren())
                if (c->getName() == name)
                    return dynamic_cast<T*> (c);

            return nullptr;
        }

        juce::Slider* knob (const juce::String& name) const    { return child<juce::Slider> (name); }
        juce::Button* button (const juce::String& name) const  { return child<juce::Button> (name); }

        OstrelEqAudioProcessor processor;
        HostObserver host;
        std::unique_ptr<OstrelEqAudioProcessorEditor> editor;
    };
}

//==============================================================================
TEST_F (EditorTest, BuildsEveryKnobFromTheTable)
{
    processor.setParameter (0, 0.3f);
    openEditor();

    EXPECT_EQ (editor->getWidth(), 1024);
    EXPECT_EQ (editor->getHeight(), 209);
    EXPECT_EQ (content()->getName(), "content");
    EXPECT_EQ (content()->getBounds(), juce::Rectangle<int> (0, 0, 1024, 209));
    EXPECT_NE (dynamic_cast<OstrelLookAndFeel*> (&editor->getLookAndFeel()), nullptr);

    ASSERT_EQ (content()->getNumChildComponents(), 23);

    for (int i = 0; i < PanelLayout::numKnobs; ++i)
    {
        const auto& spec = PanelLayout::knobs[i];
        SCOPED_TRACE (spec.componentName);

        // Creation order is the table's.
        auto* k = dynamic_cast<juce::Slider*> (content()->getChildComponent (i));
        ASSERT_NE (k, nullptr);
        EXPECT_EQ (k->getName(), spec.componentName);
        EXPECT_EQ (k->getBounds(), juce::Rectangle<int> (spec.x, spec.y, spec.w, spec.h));
        EXPECT_EQ (k->getProperties()["parameter"].toString(), spec.parameter);
        EXPECT_EQ ((int) k->getProperties()["number"], spec.number);
        EXPECT_EQ (k->getSliderStyle(), juce::Slider::RotaryVerticalDrag);
        EXPECT_EQ (k->getTextBoxPosition(), juce::Slider::TextBoxBelow);
        EXPECT_TRUE (k->isTextBoxEditable());
        EXPECT_EQ (k->getTextBoxWidth(), 50);
        EXPECT_EQ (k->getTextBoxHeight(), 11);
        EXPECT_TRUE (k->isDoubleClickReturnEnabled());
        EXPECT_EQ (k->getDoubleClickReturnValue(), 0.5);
        EXPECT_EQ (k->getMinimum(), 0.0);
        EXPECT_EQ (k->getMaximum(), 1.0);
        EXPECT_EQ (k->getInterval(), 0.0);
        EXPECT_EQ (k->findColour (juce::Slider::textBoxTextColourId).getARGB(), 0xffd3d3d3u);
        EXPECT_EQ (k->findColour (juce::Slider::textBoxBackgroundColourId).getARGB(), 0x00ffffffu);
        EXPECT_EQ (k->findColour (juce::Slider::textBoxOutlineColourId).getARGB(), 0x00ffffffu);
        EXPECT_EQ (k->getValue(), (double) processor.getParameterByName (spec.parameter));
        EXPECT_TRUE (k->getTooltip().isEmpty());
    }

    EXPECT_EQ (knob ("LF")->getValue(), (double) 0.3f);
    EXPECT_TRUE (host.events.empty());   // opening tells the host nothing
}

TEST_F (EditorTest, BuildsEverySwitchAndTheVersionLabel)
{
    processor.setParameterByName ("LF_In", 0.999f);
    openEditor();

    for (int i = 0; i < PanelLayout::numSwitches; ++i)
    {
        const auto& spec = PanelLayout::switches[i];
        SCOPED_TRACE (spec.componentName);

        auto* b = dynamic_cast<juce::TextButton*> (content()->getChildComponent (PanelLayout::numKnobs + i));
        ASSERT_NE (b, nullptr);
        EXPECT_EQ (b->getName(), spec.componentName);
        EXPECT_EQ (b->getBounds(), juce::Rectangle<int> (spec.x, spec.y, 27, 31));
        EXPECT_TRUE (b->getClickingTogglesState());
        EXPECT_TRUE (b->getButtonText().isEmpty());
        EXPECT_EQ (b->getToggleState(), processor.getParameterByName (spec.parameter) == 1.0f);
    }

    EXPECT_FALSE (button ("LFIn")->getToggleState());   // 0.999 shows off
    EXPECT_TRUE (button ("HFIn")->getToggleState());
    EXPECT_FALSE (button ("Bypass")->getToggleState());

    juce::Label* label = nullptr;
    for (auto* c : editor->getChildren())
        if (auto* l = dynamic_cast<juce::Label*> (c))
            label = l;

    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getText(), "1.2.7");
    EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (9, 189, 50, 12));
    EXPECT_EQ (label->findColour (juce::Label::textColourId).getARGB(), 0xff555555u);
    EXPECT_EQ (label->getFont().getHeight(), 10.0f);
}

TEST_F (EditorTest, ReusedKnobClassesShowTheirOwnRangesAtOnce)
{
    processor.setParameterByName ("HighpassFreq", 0.0f);
    processor.setParameterByName ("LowpassFreq", 0.0f);
    openEditor();

    auto boxText = [] (juce::Slider* k)
    {
        for (auto* c : k->getChildren())
            if (auto* l = dynamic_cast<juce::Label*> (c))
                return l->getText();
        return juce::String();
    };

    EXPECT_EQ (boxText (knob ("Highpass")), "10.0 Hz");
    EXPECT_EQ (boxText (knob ("Lowpass")), "5.0 kHz");
    EXPECT_EQ (boxText (knob ("LMF")), "225.0 Hz");
    EXPECT_EQ (boxText (knob ("HF")), "13.8 kHz");
}

//==============================================================================
TEST_F (EditorTest, ScalesDownToFitAndCentres)
{
    openEditor();

    struct Case { int w, h; float scale, dx, dy; };

    const Case cases[] =
    {
        { 1024, 209, 1.0f,       0.0f,    0.0f },
        {  512, 209, 0.5f,       0.0f,   52.25f },
        {  800, 300, 0.78125f,   0.0f,   68.359375f },
        { 1200, 400, 1.0f,      88.0f,   95.5f },
        { 1024, 150, 0.7177033f, 144.53589f, 0.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.w) + "x" + juce::String (c.h));
        editor->setSize (c.w, c.h);
        const auto t = content()->getTransform();

        EXPECT_FLOAT_EQ (t.mat00, c.scale);
        EXPECT_FLOAT_EQ (t.mat11, c.scale);
        EXPECT_EQ (t.mat01, 0.0f);
        EXPECT_EQ (t.mat10, 0.0f);
        EXPECT_NEAR (t.mat02, c.dx, 1.0e-3f);
        EXPECT_NEAR (t.mat12, c.dy, 1.0e-3f);
        EXPECT_EQ (content()->getBounds(), juce::Rectangle<int> (0, 0, 1024, 209));

        // The version label is not scaled or moved.
        for (auto* child : editor->getChildren())
            if (dynamic_cast<juce::Label*> (child) != nullptr)
                EXPECT_EQ (child->getPosition(), juce::Point<int> (9, 189));
    }

    // A zero size leaves the last transform in place.
    editor->setSize (800, 300);
    const auto before = content()->getTransform();
    editor->setSize (0, 300);
    EXPECT_TRUE (content()->getTransform() == before);
    editor->setSize (800, 0);
    EXPECT_TRUE (content()->getTransform() == before);
}

//==============================================================================
TEST_F (EditorTest, DraggingAKnobSendsAGestureAroundTheValues)
{
    openEditor();
    editor->addToDesktop (0);
    editor->setVisible (true);

    auto* k = knob ("LFGain");
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto start = k->getLocalBounds().getCentre().toFloat();
    const auto now = juce::Time::getCurrentTime();

    auto event = [&] (juce::Point<float> at, bool dragged)
    {
        return juce::MouseEvent (source, at, juce::ModifierKeys::leftButtonModifier, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                 k, k, now, start, now, 1, dragged);
    };

    k->mouseDown (event (start, false));
    for (int dy = 5; dy <= 40; dy += 5)
        k->mouseDrag (event (start.translated (0.0f, (float) -dy), true));
    k->mouseUp (event (start.translated (0.0f, -40.0f), true));

    ASSERT_GE (host.events.size(), 3u);
    EXPECT_EQ (host.events.front().kind, 'b');
    EXPECT_EQ (host.events.front().index, 1);   // LowGain
    EXPECT_EQ (host.events.back().kind, 'e');
    EXPECT_EQ (host.events.back().index, 1);

    float last = 0.5f;
    for (size_t i = 1; i + 1 < host.events.size(); ++i)
    {
        EXPECT_EQ (host.events[i].kind, 'v');
        EXPECT_EQ (host.events[i].index, 1);
        EXPECT_GT (host.events[i].value, last - 1.0e-6f);   // dragging up raises it
        last = host.events[i].value;
    }

    EXPECT_GT (last, 0.5f);
    EXPECT_EQ (processor.getParameter (1), last);

    // The refreshes that follow set the knob to the stored value, silently.
    const auto eventsBefore = host.events.size();
    TestSupport::runPendingMessages();
    EXPECT_EQ (host.events.size(), eventsBefore);
    EXPECT_EQ (k->getValue(), (double) last);

    editor->removeFromDesktop();
}

TEST_F (EditorTest, DoubleClickSetsTheCentreAndTellsTheHost)
{
    openEditor();
    processor.setParameter (6, 0.9f);
    TestSupport::runPendingMessages();

    auto* k = knob ("MFGain");
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto at = k->getLocalBounds().getCentre().toFloat();
    const auto now = juce::Time::getCurrentTime();
    const juce::MouseEvent e (source, at, juce::ModifierKeys::leftButtonModifier, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, k, k, now, at, now, 2, false);
    k->mouseDoubleClick (e);

    EXPECT_EQ (processor.getParameter (6), 0.5f);

    // The host hears 0.5 for MidGain, framed as a gesture.
    ASSERT_EQ (host.events.size(), 3u);
    EXPECT_EQ (host.events[0].kind, 'b');
    EXPECT_EQ (host.events[1].kind, 'v');
    EXPECT_EQ (host.events[1].value, 0.5f);
    EXPECT_EQ (host.events[2].kind, 'e');
    for (const auto& e : host.events)
        EXPECT_EQ (e.index, 6);
}

TEST_F (EditorTest, ASwitchClickStoresOneOrZeroAndTellsTheHostNothing)
{
    openEditor();
    auto* b = button ("Bypass");

    b->triggerClick();
    TestSupport::runPendingMessages();
    EXPECT_EQ (processor.getParameterByName ("Bypass"), 1.0f);
    EXPECT_TRUE (processor.getLatestSettings().bypassed);
    EXPECT_TRUE (b->getToggleState());

    b->triggerClick();
    TestSupport::runPendingMessages();
    EXPECT_EQ (processor.getParameterByName ("Bypass"), 0.0f);
    EXPECT_FALSE (b->getToggleState());

    button ("LPHPIn")->triggerClick();
    TestSupport::runPendingMessages();
    EXPECT_EQ (processor.getParameterByName ("LPHP_In"), 1.0f);

    EXPECT_TRUE (host.events.empty());
}

TEST_F (EditorTest, HostChangesBeforeTheLoopRunsAllShowAfterOneRefresh)
{
    openEditor();
    TestSupport::runPendingMessages();

    processor.setParameter (2, 0.25f);     // LowMidFreq
    processor.setParameter (9, 0.1f);      // HighMidGain
    processor.setParameter (17, 0.5f);     // HMF_In: off
    processor.setParameter (19, 0.0f);     // Lowcut_In: no control
    host.events.clear();

    // Not yet: the broadcast is delivered by the message loop.
    EXPECT_EQ (knob ("LMF")->getValue(), 0.5);
    EXPECT_TRUE (button ("HMFIn")->getToggleState());

    TestSupport::runPendingMessages();
    EXPECT_EQ (knob ("LMF")->getValue(), 0.25);
    EXPECT_EQ (knob ("HMFGain")->getValue(), (double) 0.1f);
    EXPECT_FALSE (button ("HMFIn")->getToggleState());
    EXPECT_TRUE (host.events.empty());   // the refresh tells nobody
}

TEST_F (EditorTest, AProgramChangeMovesEveryControl)
{
    processor.setCurrentProgram (5);
    for (int i = 0; i < 25; ++i)
        processor.setParameter (i, i % 2 == 0 ? 0.0f : 1.0f);

    processor.setCurrentProgram (0);
    openEditor();

    processor.setCurrentProgram (5);
    TestSupport::runPendingMessages();

    for (const auto& spec : PanelLayout::knobs)
        EXPECT_EQ (knob (spec.componentName)->getValue(), (double) processor.getParameterByName (spec.parameter)) << spec.componentName;

    for (const auto& spec : PanelLayout::switches)
        EXPECT_EQ (button (spec.componentName)->getToggleState(), processor.getParameterByName (spec.parameter) == 1.0f) << spec.componentName;

    EXPECT_EQ (knob ("LF")->getValue(), 0.0);
    EXPECT_EQ (knob ("LFGain")->getValue(), 1.0);
}

TEST_F (EditorTest, ClosingWithABroadcastPendingIsSafe)
{
    openEditor();
    processor.setParameter (3, 0.7f);
    editor.reset();
    TestSupport::runPendingMessages();   // the pending delivery finds no editor

    openEditor();
    EXPECT_EQ (knob ("LMFGain")->getValue(), (double) 0.7f);
}

//==============================================================================
TEST_F (EditorTest, SnapshotShowsTheRightFramesAndSwitchStates)
{
    processor.setParameterByName ("Outgain", 1.0f);
    processor.setParameterByName ("MidFreq", 0.0f);
    processor.setParameterByName ("HighGain", 0.5f);
    processor.setParameterByName ("LPHP_In", 1.0f);
    processor.setParameterByName ("Bypass", 0.0f);
    openEditor();

    const auto shot = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f).convertedToFormat (juce::Image::ARGB);
    Screenshot::savePng (shot, "editor-snapshot.png");

    // What the panel should show: the background, each knob's frame and each
    // switch's state composited at their bounds.
    juce::Image expected (juce::Image::ARGB, 1024, 209, true);
    {
        juce::Graphics g (expected);
        g.drawImageAt (juce::ImageCache::getFromMemory (Images::EditorBackground.data, Images::EditorBackground.size), 0, 0);

        for (const auto& spec : PanelLayout::knobs)
        {
            const auto strip = juce::ImageCache::getFromMemory (Images::knobStrip (spec.number)->data, Images::knobStrip (spec.number)->size);
            const int frame = OstrelLookAndFeel::frameIndexFor ((float) processor.getParameterByName (spec.parameter));
            g.drawImage (strip, spec.x, spec.y, spec.w, spec.h, 0, frame * spec.h, spec.w, spec.h);
        }

        const auto switches = juce::ImageCache::getFromMemory (Images::SwitchStrip.data, Images::SwitchStrip.size);
        for (const auto& spec : PanelLayout::switches)
        {
            const bool on = processor.getParameterByName (spec.parameter) == 1.0f;
            g.drawImage (switches, spec.x, spec.y, 27, 31, 0, on ? 29 : 0, 27, 31);
        }
    }

    // Compare outside the value boxes (rows 68 to 78 of each knob), which
    // carry text drawn on top.
    auto inValueBox = [] (int x, int y)
    {
        for (const auto& spec : PanelLayout::knobs)
            if (x >= spec.x && x < spec.x + spec.w && y >= spec.y + 67 && y <= spec.y + 79)
                return true;
        return false;
    };

    int mismatches = 0, compared = 0;

    for (int y = 0; y < 209; ++y)
        for (int x = 0; x < 1024; ++x)
        {
            if (inValueBox (x, y) || (x < 60 && y > 185))   // and the version label
                continue;

            ++compared;
            const auto a = shot.getPixelAt (x, y);
            const auto b = expected.getPixelAt (x, y);

            if (std::abs (a.getRed() - b.getRed()) > 2 || std::abs (a.getGreen() - b.getGreen()) > 2
                 || std::abs (a.getBlue() - b.getBlue()) > 2)
                ++mismatches;
        }

    EXPECT_GT (compared, 150000);
    EXPECT_EQ (mismatches, 0);

    // The knobs really show different frames: the Outgain knob at its
    // maximum does not look like it would at its minimum.
    const auto strip1 = juce::ImageCache::getFromMemory (Images::knobStrip (1)->data, Images::knobStrip (1)->size);
    const auto firstFrame = strip1.getClippedImage ({ 0, 0, 79, 80 });
    const auto lastFrame = strip1.getClippedImage ({ 0, 98 * 80, 79, 80 });
    int differing = 0;
    for (int y = 0; y < 62; ++y)
        for (int x = 0; x < 79; ++x)
            differing += firstFrame.getPixelAt (x, y) != lastFrame.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (differing, 30);
}
