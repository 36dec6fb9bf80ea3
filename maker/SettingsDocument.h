#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string>

/** The pieces of the settings document that do not depend on a processor: unwrapping and parsing
    a saved block safely, and the descriptive values a save records.

    Threads: any; nothing here keeps state.
*/
class SettingsDocument
{
public:
    /** Parses a block wrapped the way AudioProcessor::copyXmlToBinary wraps it. Returns null for
        a block too short, with a wrong magic number, a length of zero or less, text that does not
        parse, or elements nested deeper than any settings document (which would otherwise
        recurse the parser without bound). */
    static std::unique_ptr<juce::XmlElement> Parse (const void* data, int sizeInBytes);

    /** The trailing half of a host executable's path components, for example
        "Contents/MacOS/Host" from "/Applications/Host.app/Contents/MacOS/Host". */
    static juce::String DawFromHostPath (const juce::String& path);

    /** The logged-in user's full name; empty where the system records none. */
    static juce::String UserFullName();

    /** The current time in UTC as 2024-05-01T12:34:56Z. */
    static juce::String UtcTimestamp();

    /** The bytes up to the first zero as valid UTF-8: every malformed, overlong or surrogate
        sequence becomes U+FFFD. JUCE's string conversion writes past its buffer on some
        malformed input, so nothing unchecked reaches it. */
    static std::string ValidUtf8 (const char* bytes, size_t length);

    /** Deepest element nesting of XML text, counted without recursion; -1 when the text does
        not close a tag it opens. */
    static int NestingDepth (const char* text, size_t length);

    static constexpr int maxNesting = 64;
};
