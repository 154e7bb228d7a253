#include "SavedState.h"

#include <cmath>

namespace
{
    constexpr juce::uint32 blobMagic = 0x21324356;
    constexpr int blobHeaderSize = 8;

    /** Parses a whole attribute text as a finite number, independently of the
        C locale (hosts may set one with a decimal comma). */
    std::optional<double> parseFiniteNumber (const juce::String& text)
    {
        auto trimmed = text.trim();

        if (trimmed.isEmpty())
            return {};

        auto start = trimmed.getCharPointer();
        auto end = start;
        const auto value = juce::CharacterFunctions::readDoubleValue (end);

        // The reader stops at the first character that cannot continue a
        // number and accepts a bare sign: insist on digits and nothing after.
        const bool hasDigits = juce::String (start, end).containsAnyOf ("0123456789");

        if (! hasDigits || ! end.isEmpty() || ! std::isfinite (value))
            return {};

        return value;
    }

    std::optional<int> parseProgramIndex (const juce::String& text)
    {
        auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("-0123456789") || trimmed.length() > 10)
            return {};

        const auto value = trimmed.getLargeIntValue();

        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            return {};

        return (int) value;
    }
}

namespace SavedState
{
    std::unique_ptr<juce::XmlElement> createElement (const ParameterValues& values, int currentProgram)
    {
        auto xml = std::make_unique<juce::XmlElement> (tagName);

        for (int i = 0; i < ParameterTable::numParameters; ++i)
            xml->setAttribute (juce::Identifier (ParameterTable::entries[i].name), values[i]);

        xml->setAttribute (programAttribute, currentProgram);
        return xml;
    }

    std::optional<Contents> read (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes <= blobHeaderSize)
            return {};

        const auto* bytes = static_cast<const char*> (data);

        if (juce::ByteOrder::littleEndianInt (bytes) != blobMagic)
            return {};

        const auto textLength = (juce::int64) juce::ByteOrder::littleEndianInt (bytes + 4);

        // A blob shorter than its header says is truncated: its text may parse
        // but could be missing values, so it is not trusted at all.
        if (textLength <= 0 || textLength > (juce::int64) sizeInBytes - blobHeaderSize)
            return {};

        auto xml = juce::parseXML (juce::String::fromUTF8 (bytes + blobHeaderSize, (int) textLength));

        if (xml == nullptr || ! xml->hasTagName (tagName))
            return {};

        Contents contents;

        for (int i = 0; i < ParameterTable::numParameters; ++i)
        {
            const juce::Identifier name (ParameterTable::entries[i].name);

            if (xml->hasAttribute (name.toString()))
                contents.values[i] = parseFiniteNumber (xml->getStringAttribute (name));
        }

        if (xml->hasAttribute (programAttribute))
            contents.currentProgram = parseProgramIndex (xml->getStringAttribute (programAttribute));

        return contents;
    }
}
