#pragma once

#include "ParameterTable.h"

#include <juce_core/juce_core.h>

#include <optional>

/** The saved-state blob: the framework's XML blob (magic number, length, the
    XML text, a zero byte) holding one MYPLUGINSETTINGS element with the 25
    parameter values by name and the current program index.
*/
namespace SavedState
{
    /** Tag of the element that holds the settings. */
    inline constexpr const char* tagName = "MYPLUGINSETTINGS";

    /** Attribute that holds the current program index. */
    inline constexpr const char* programAttribute = "current_program";

    /** Builds the settings element: one attribute per parameter in index
        order, then the current program. */
    std::unique_ptr<juce::XmlElement> createElement (const ParameterValues& values, int currentProgram);

    /** What a blob gives back. A value that was missing, not a number or not
        finite in the blob is absent, so the caller leaves it as it is. */
    struct Contents
    {
        std::optional<double> values[ParameterTable::numParameters];
        std::optional<int> currentProgram;
    };

    /** Reads a blob written by the framework's XML blob writer. Returns nothing
        for data that is empty, truncated, not such a blob, not XML or whose
        element has another tag. Unknown attributes are ignored. */
    std::optional<Contents> read (const void* data, int sizeInBytes);
}
