// The compiled-in images: they decode through the image cache at the sizes
// the editor and the look and feel rely on, with transparency where controls
// overlap the panel, knob pointers where the frame index says, and the
// panel's knob wells under the knobs of PanelLayout.

#include <editor/PanelLayout.h>
#include <resources/ImageData.h>

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace
{
    constexpr int framesPerStrip = 99;
    constexpr double axisBelowTop = 32.0;    // the knob's axis, in every frame and on the panel

    juce::Image decode (const ImageData& data)
    {
        return juce::ImageCache::getFromMemory (data.data, data.size);
    }

    struct Point { double x, y; };

    /** Centroid, in continuous coordinates (pixel centres at +0.5), of the
        pixels of a rectangle that satisfy a predicate on their colour. */
    template <typename Predicate>
    std::optional<Point> centroid (const juce::Image& image, juce::Rectangle<int> area, Predicate&& keep, int& count)
    {
        double sx = 0, sy = 0;
        count = 0;
        area = area.getIntersection (image.getBounds());

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (keep (x, y, image.getPixelAt (x, y)))
                {
                    sx += x + 0.5;
                    sy += y + 0.5;
                    ++count;
                }

        if (count == 0)
            return std::nullopt;

        return Point { sx / count, sy / count };
    }

    /** Clockwise angle from straight up, in degrees, of p about the centre c. */
    double clockwiseFromUp (Point p, Point c)
    {
        return juce::radiansToDegrees (std::atan2 (p.x - c.x, c.y - p.y));
    }

    double angleDifference (double a, double b)
    {
        return std::remainder (a - b, 360.0);
    }

    const PanelLayout::KnobSpec& knobWithStrip (int number)
    {
        for (const auto& k : PanelLayout::knobs)
            if (k.number == number)
                return k;

        ADD_FAILURE() << "no knob uses strip " << number;
        return PanelLayout::knobs[0];
    }
}

//==============================================================================
// Sizes and frame arrangement.

TEST (ImageResources, EveryImageDecodesAtItsExactSize)
{
    struct Expected { const char* name; const ImageData* data; int width, height; };

    std::vector<Expected> images {
        { "EditorBackground", &Images::EditorBackground, PanelLayout::width, PanelLayout::height },
        { "SwitchStrip", &Images::SwitchStrip, 27, 62 },
    };

    // Each knob is exactly one frame of its strip in size.
    for (const auto& k : PanelLayout::knobs)
    {
        static juce::String names[17];
        names[k.number] = "KnobStrip" + juce::String (k.number);
        images.push_back ({ names[k.number].toRawUTF8(), Images::knobStrip (k.number), k.w, k.h * framesPerStrip });
    }

    ASSERT_EQ (images.size(), 18u);

    for (const auto& e : images)
    {
        SCOPED_TRACE (e.name);
        ASSERT_NE (e.data, nullptr);
        const auto image = decode (*e.data);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), e.width);
        EXPECT_EQ (image.getHeight(), e.height);
    }
}

TEST (ImageResources, KnobStripHeightsHoldWhole99FrameSets)
{
    for (int n = 1; n <= 16; ++n)
    {
        SCOPED_TRACE ("KnobStrip" + std::to_string (n));
        const auto image = decode (*Images::knobStrip (n));
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getHeight() % framesPerStrip, 0);
        EXPECT_EQ (image.getHeight() / framesPerStrip, knobWithStrip (n).h);
    }
}

//==============================================================================
// Transparency: the panel shows around the knobs and the lamps, never through it.

TEST (ImageResources, KnobFramesAreTransparentAtTheCornersAndSolidAtTheAxis)
{
    for (int n = 1; n <= 16; ++n)
    {
        SCOPED_TRACE ("KnobStrip" + std::to_string (n));
        const auto image = decode (*Images::knobStrip (n));
        ASSERT_TRUE (image.isValid());
        const int w = image.getWidth();
        const int fh = image.getHeight() / framesPerStrip;

        for (int f = 0; f < framesPerStrip; ++f)
        {
            const int top = f * fh;

            for (auto [x, y] : { std::pair { 0, 0 }, { w - 1, 0 }, { 0, fh - 1 }, { w - 1, fh - 1 } })
                ASSERT_EQ (image.getPixelAt (x, top + y).getAlpha(), 0) << "frame " << f << " corner " << x << "," << y;

            ASSERT_EQ (image.getPixelAt (w / 2, top + (int) axisBelowTop).getAlpha(), 255) << "frame " << f;
        }
    }
}

TEST (ImageResources, SwitchStatesAreTransparentAroundTheButtonAsTheLookAndFeelShowsThem)
{
    const auto image = decode (Images::SwitchStrip);
    ASSERT_TRUE (image.isValid());

    // Off: rows 0..30; on: rows h - 2 = 29 .. 59 (the look and feel's window).
    for (int top : { 0, 29 })
    {
        SCOPED_TRACE ("window from row " + std::to_string (top));

        for (auto [x, y] : { std::pair { 0, 0 }, { 26, 0 }, { 0, 30 }, { 26, 30 } })
            EXPECT_EQ (image.getPixelAt (x, top + y).getAlpha(), 0) << x << "," << y;

        EXPECT_EQ (image.getPixelAt (13, top + 14).getAlpha(), 255);
    }

    // Rows 29-30 appear at the top of the on window; they must not show the off button.
    for (int y = 29; y <= 30; ++y)
        for (int x = 0; x < 27; ++x)
            EXPECT_EQ (image.getPixelAt (x, y).getAlpha(), 0) << x << "," << y;
}

TEST (ImageResources, LitLampSitsWhereTheDarkButtonSits)
{
    const auto image = decode (Images::SwitchStrip);
    ASSERT_TRUE (image.isValid());
    int count = 0;

    const auto button = centroid (image, { 0, 0, 27, 31 },
                                  [] (int, int, juce::Colour c) { return c.getAlpha() == 255; }, count);
    ASSERT_TRUE (button.has_value());
    EXPECT_LT (image.getPixelAt ((int) button->x, (int) button->y).getBrightness(), 0.3f) << "the off button is dark";

    const auto lamp = centroid (image, { 0, 29, 27, 31 },
                                [] (int, int, juce::Colour c)
                                {
                                    return c.getAlpha() == 255 && juce::jmin (c.getRed(), c.getGreen(), c.getBlue()) >= 235;
                                }, count);
    ASSERT_TRUE (lamp.has_value()) << "no lit white lens in the on state";

    EXPECT_NEAR (lamp->x, button->x, 0.5);
    EXPECT_NEAR (lamp->y - 29.0, button->y, 0.5);
}

TEST (ImageResources, BackgroundIsOpaqueEverywhere)
{
    const auto image = decode (Images::EditorBackground);
    ASSERT_TRUE (image.isValid());

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            ASSERT_EQ (image.getPixelAt (x, y).getAlpha(), 255) << x << "," << y;
}

//==============================================================================
// Geometry: pointer travel and the wells under the knobs.

TEST (ImageResources, PointerTurnsFromLowerLeftThroughUpToLowerRight)
{
    // A strip of each cap colour and of the narrowest, widest and tallest frames.
    for (int n : { 1, 2, 5, 9, 12, 13 })
    {
        SCOPED_TRACE ("KnobStrip" + std::to_string (n));
        const auto image = decode (*Images::knobStrip (n));
        ASSERT_TRUE (image.isValid());
        const int fh = image.getHeight() / framesPerStrip;

        for (int frame : { 0, 49, 98 })
        {
            const Point axis { image.getWidth() / 2.0, frame * fh + axisBelowTop };
            int count = 0;

            // The white dot: near-white, opaque, on the cap (well inside the body).
            const auto dot = centroid (image, { 0, frame * fh, image.getWidth(), fh },
                                       [axis] (int x, int y, juce::Colour c)
                                       {
                                           return c.getAlpha() == 255
                                               && juce::jmin (c.getRed(), c.getGreen(), c.getBlue()) >= 215
                                               && std::hypot (x + 0.5 - axis.x, y + 0.5 - axis.y) < 17.0;
                                       }, count);

            ASSERT_TRUE (dot.has_value()) << "frame " << frame << ": no white dot";
            EXPECT_GE (count, 6) << "frame " << frame;

            const double expected = -135.0 + 270.0 * frame / 98.0;
            EXPECT_NEAR (angleDifference (clockwiseFromUp (*dot, axis), expected), 0.0, 3.0) << "frame " << frame;
        }
    }
}

TEST (ImageResources, BackgroundWellsAreCentredOnTheKnobAxes)
{
    const auto image = decode (Images::EditorBackground);
    ASSERT_TRUE (image.isValid());

    for (const auto& k : PanelLayout::knobs)
    {
        SCOPED_TRACE (k.componentName);
        const Point axis { k.x + k.w / 2.0, k.y + axisBelowTop };
        int count = 0;

        const auto well = centroid (image, { k.x - 10, k.y - 10, k.w + 20, k.h + 20 },
                                    [axis] (int x, int y, juce::Colour c)
                                    {
                                        return std::hypot (x + 0.5 - axis.x, y + 0.5 - axis.y) < 36.0
                                            && juce::jmax (c.getRed(), c.getGreen(), c.getBlue()) < 20;
                                    }, count);

        ASSERT_TRUE (well.has_value()) << "no dark well";
        // A well wide enough to hold the 60-pixel knob body.
        EXPECT_GT (count, (int) (0.9 * juce::MathConstants<double>::pi * 31.0 * 31.0));
        EXPECT_NEAR (well->x, axis.x, 0.5);
        EXPECT_NEAR (well->y, axis.y, 0.5);
    }
}

TEST (ImageResources, ValueBoxesLieOnDarkPanelForTheLightGreyText)
{
    const auto image = decode (Images::EditorBackground);
    ASSERT_TRUE (image.isValid());

    for (const auto& k : PanelLayout::knobs)
    {
        SCOPED_TRACE (k.componentName);
        const int bx = k.x + (k.w - PanelLayout::valueBoxWidth) / 2;
        const int by = k.y + PanelLayout::valueBoxTop;
        float brightest = 0.0f;

        for (int y = by; y < by + PanelLayout::valueBoxHeight; ++y)
            for (int x = bx; x < bx + PanelLayout::valueBoxWidth; ++x)
                brightest = juce::jmax (brightest, image.getPixelAt (x, y).getBrightness());

        // The text is 0xFFD3D3D3 (brightness 0.83): the panel must stay well below it.
        EXPECT_LT (brightest, 0.35f);
    }
}
