#pragma once

#include <juce_graphics/juce_graphics.h>

/** Screenshots of the X display the tests run on (Xvfb), taken with xwd and
    decoded here, so a test can see what a user would. */
namespace Screenshot
{
    /** Decodes an XWD dump (ZPixmap, 24 or 32 bits per pixel, true colour).
        Returns an invalid image for anything else. */
    inline juce::Image decodeXwd (const juce::MemoryBlock& data)
    {
        const auto* bytes = static_cast<const juce::uint8*> (data.getData());
        const auto size = data.getSize();

        if (size < 100)
            return {};

        auto field = [bytes] (int i) { return juce::ByteOrder::bigEndianInt (bytes + 4 * i); };

        const auto headerSize   = field (0);
        const auto format       = field (2);
        const auto width        = (int) field (4);
        const auto height       = (int) field (5);
        const auto byteOrder    = field (7);
        const auto bitsPerPixel = field (11);
        const auto bytesPerLine = field (12);
        const auto redMask      = field (14);
        const auto greenMask    = field (15);
        const auto blueMask     = field (16);
        const auto numColours   = field (19);

        const auto pixelsStart = (size_t) headerSize + 12 * (size_t) numColours;

        if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24) || width <= 0 || height <= 0
             || pixelsStart + (size_t) bytesPerLine * (size_t) height > size)
            return {};

        auto channel = [] (juce::uint32 pixel, juce::uint32 mask)
        {
            if (mask == 0)
                return (juce::uint8) 0;

            int shift = 0;
            while (((mask >> shift) & 1u) == 0)
                ++shift;

            return (juce::uint8) ((pixel & mask) >> shift);
        };

        juce::Image image (juce::Image::RGB, width, height, false);
        const int step = (int) bitsPerPixel / 8;

        for (int y = 0; y < height; ++y)
        {
            const auto* row = bytes + pixelsStart + (size_t) y * bytesPerLine;

            for (int x = 0; x < width; ++x)
            {
                const auto* p = row + x * step;
                juce::uint32 pixel = 0;

                for (int b = 0; b < step; ++b)
                    pixel |= (juce::uint32) p[b] << (byteOrder == 0 ? 8 * b : 8 * (step - 1 - b));

                image.setPixelAt (x, y, juce::Colour (channel (pixel, redMask), channel (pixel, greenMask), channel (pixel, blueMask)));
            }
        }

        return image;
    }

    /** The whole screen, or an invalid image when xwd is not available. */
    inline juce::Image captureScreen()
    {
        const auto dump = juce::File::createTempFile (".xwd");
        const auto command = "xwd -root -silent -out \"" + dump.getFullPathName() + "\"";

        if (std::system (command.toRawUTF8()) != 0)
            return {};

        juce::MemoryBlock data;
        dump.loadFileAsData (data);
        dump.deleteFile();
        return decodeXwd (data);
    }

    /** Writes a PNG where a person can find it after the tests ran. */
    inline juce::File savePng (const juce::Image& image, const juce::String& name)
    {
        const auto file = juce::File (LUMARIN_SNAPSHOT_DIR).getChildFile (name);
        file.getParentDirectory().createDirectory();
        file.deleteFile();

        juce::FileOutputStream out (file);
        juce::PNGImageFormat().writeImageToStream (image, out);
        return file;
    }
}
