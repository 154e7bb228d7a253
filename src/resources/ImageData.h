#pragma once

/** The panel's images, compiled into the plug-in: each one the complete bytes
    of a PNG file and its length. Decode them with juce::ImageCache::getFromMemory
    at the moment of drawing; the cache keeps the decoded image. */
struct ImageData
{
    const void* data;
    int size;
};

namespace Images
{
    extern const ImageData EditorBackground;   ///< 1024 × 209 front panel
    extern const ImageData SwitchStrip;        ///< 27 × 62: off state above, on state below

    /** The knob filmstrip with the given number (1 to 16, 99 frames stacked
        vertically); nullptr for any other number. */
    const ImageData* knobStrip (int number);
}
