#include "ImageData.h"

#include "LumarinImages.h"

namespace Images
{
    const ImageData EditorBackground { LumarinImages::EditorBackground_png, LumarinImages::EditorBackground_pngSize };
    const ImageData SwitchStrip      { LumarinImages::SwitchStrip_png,      LumarinImages::SwitchStrip_pngSize };

    const ImageData* knobStrip (int number)
    {
        static const ImageData strips[] =
        {
            { LumarinImages::KnobStrip1_png,  LumarinImages::KnobStrip1_pngSize },
            { LumarinImages::KnobStrip2_png,  LumarinImages::KnobStrip2_pngSize },
            { LumarinImages::KnobStrip3_png,  LumarinImages::KnobStrip3_pngSize },
            { LumarinImages::KnobStrip4_png,  LumarinImages::KnobStrip4_pngSize },
            { LumarinImages::KnobStrip5_png,  LumarinImages::KnobStrip5_pngSize },
            { LumarinImages::KnobStrip6_png,  LumarinImages::KnobStrip6_pngSize },
            { LumarinImages::KnobStrip7_png,  LumarinImages::KnobStrip7_pngSize },
            { LumarinImages::KnobStrip8_png,  LumarinImages::KnobStrip8_pngSize },
            { LumarinImages::KnobStrip9_png,  LumarinImages::KnobStrip9_pngSize },
            { LumarinImages::KnobStrip10_png, LumarinImages::KnobStrip10_pngSize },
            { LumarinImages::KnobStrip11_png, LumarinImages::KnobStrip11_pngSize },
            { LumarinImages::KnobStrip12_png, LumarinImages::KnobStrip12_pngSize },
            { LumarinImages::KnobStrip13_png, LumarinImages::KnobStrip13_pngSize },
            { LumarinImages::KnobStrip14_png, LumarinImages::KnobStrip14_pngSize },
            { LumarinImages::KnobStrip15_png, LumarinImages::KnobStrip15_pngSize },
            { LumarinImages::KnobStrip16_png, LumarinImages::KnobStrip16_pngSize },
        };

        if (number < 1 || number > 16)
            return nullptr;

        return &strips[number - 1];
    }
}
