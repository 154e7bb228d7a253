// The editor of the real bundle in a real window, as a DAW opens it.

#include "HostFixture.h"
#include "Screenshot.h"

#include <editor/PanelLayout.h>

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    /** True where only the background shows: outside every knob, switch and
        the version label. */
    bool isBareBackground (int x, int y)
    {
        const juce::Point<int> p (x, y);

        for (const auto& k : PanelLayout::knobs)
            if (juce::Rectangle<int> (k.x, k.y, k.w, k.h).contains (p))
                return false;

        for (const auto& s : PanelLayout::switches)
            if (juce::Rectangle<int> (s.x, s.y, s.w, s.h).contains (p))
                return false;

        return ! juce::Rectangle<int> (9, 189, 50, 12).contains (p);
    }

    /** Mean absolute difference per channel between two same-sized images,
        over the bare background. */
    double meanDifference (const juce::Image& a, const juce::Image& b)
    {
        double total = 0.0;
        int count = 0;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
            {
                if (! isBareBackground (x, y))
                    continue;

                ++count;
                const auto p = a.getPixelAt (x, y);
                const auto q = b.getPixelAt (x, y);
                total += std::abs (p.getRed() - q.getRed()) + std::abs (p.getGreen() - q.getGreen())
                       + std::abs (p.getBlue() - q.getBlue());
            }

        return total / (3.0 * count);
    }

    /** How many distinct colours (quantised) a picture shows: a blank or
        single-colour window has very few. */
    int distinctColours (const juce::Image& image)
    {
        std::set<juce::uint32> seen;

        for (int y = 0; y < image.getHeight(); y += 2)
            for (int x = 0; x < image.getWidth(); x += 2)
                seen.insert (image.getPixelAt (x, y).getARGB() & 0x00f0f0f0);

        return (int) seen.size();
    }
}

TEST_F (HostFixture, EditorOpensInARealWindowShowingThePanel)
{
    std::unique_ptr<juce::AudioProcessorEditor> editor (plugin->createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 1024);
    EXPECT_EQ (editor->getHeight(), 209);

    // A plain top-level window at a known place, as a host's plug-in window.
    editor->setTopLeftPosition (40, 40);
    editor->addToDesktop (0);
    editor->setVisible (true);
    editor->toFront (false);

    for (int i = 0; i < 40; ++i)
        PluginHost::pumpMessages (50);

    const auto screen = Screenshot::captureScreen();
    ASSERT_TRUE (screen.isValid()) << "no screenshot (is xwd installed, is there a display?)";

    const auto onScreen = editor->getScreenBounds();
    const auto shot = screen.getClippedImage (onScreen);
    const auto file = Screenshot::savePng (shot, "host-editor.png");
    Screenshot::savePng (screen, "host-screen.png");
    std::cout << "screenshot: " << file.getFullPathName() << std::endl;

    ASSERT_EQ (shot.getWidth(), 1024);
    ASSERT_EQ (shot.getHeight(), 209);

    // Not blank, not a flat fill: the panel artwork with its knobs.
    EXPECT_GT (distinctColours (shot), 80);

    // And it is our panel: where no control sits, the screen shows exactly
    // the background artwork.
    const auto background = juce::ImageFileFormat::loadFrom (juce::File (LUMARIN_SOURCE_DIR "/src/resources/EditorBackground.png"))
                                .convertedToFormat (juce::Image::RGB);
    ASSERT_TRUE (background.isValid());

    juce::Image empty (juce::Image::RGB, 1024, 209, true);
    const auto panelDistance = meanDifference (shot, background);
    EXPECT_LT (panelDistance, 1.0);
    EXPECT_GT (meanDifference (empty, background), 10.0);

    // Closed as a host closes it: the plug-in's view is detached while the
    // window still exists.
    editor.reset();
    PluginHost::pumpMessages (50);
}
