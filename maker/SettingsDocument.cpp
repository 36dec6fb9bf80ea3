#include "SettingsDocument.h"

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#if JUCE_LINUX || JUCE_BSD
    #include <pwd.h>
    #include <unistd.h>
#endif

namespace
{
// The magic number JUCE's copyXmlToBinary writes ahead of the text.
constexpr juce::uint32 magicXmlNumber = 0x21324356;

bool StartsWith (const char* text, size_t length, size_t at, const char* prefix)
{
    const size_t n = std::strlen (prefix);
    return at + n <= length && std::memcmp (text + at, prefix, n) == 0;
}

// Index just past the terminator, or the length when there is none.
size_t SkipPast (const char* text, size_t length, size_t from, const char* terminator)
{
    const size_t n = std::strlen (terminator);

    for (size_t i = from; i + n <= length; ++i)
        if (std::memcmp (text + i, terminator, n) == 0)
            return i + n;

    return length;
}
} // namespace

std::string SettingsDocument::ValidUtf8 (const char* bytes, size_t length)
{
    const auto* in = reinterpret_cast<const unsigned char*> (bytes);
    std::string out;
    out.reserve (length);
    size_t i = 0;

    while (i < length && in[i] != 0)
    {
        const unsigned char lead = in[i];
        size_t extra = 0;
        juce::uint32 code = 0;
        juce::uint32 minimum = 0;

        if (lead < 0x80)
            code = lead;
        else if ((lead & 0xe0) == 0xc0)
            extra = 1, code = lead & 0x1fu, minimum = 0x80;
        else if ((lead & 0xf0) == 0xe0)
            extra = 2, code = lead & 0x0fu, minimum = 0x800;
        else if ((lead & 0xf8) == 0xf0)
            extra = 3, code = lead & 0x07u, minimum = 0x10000;
        else
            extra = 4; // a stray continuation byte or an impossible lead: invalid

        bool valid = extra < 4 && i + extra < length;

        for (size_t k = 1; valid && k <= extra; ++k)
        {
            valid = (in[i + k] & 0xc0) == 0x80;
            code = (code << 6) | (in[i + k] & 0x3fu);
        }

        valid = valid && code >= minimum && code <= 0x10ffff && (code < 0xd800 || code > 0xdfff);

        if (valid)
        {
            out.append (bytes + i, extra + 1);
            i += extra + 1;
        }
        else
        {
            out.append ("\xef\xbf\xbd"); // U+FFFD, the replacement character
            ++i;
        }
    }

    return out;
}

int SettingsDocument::NestingDepth (const char* text, size_t length)
{
    int depth = 0;
    int deepest = 0;
    size_t i = 0;

    while (i < length)
    {
        if (text[i] != '<')
        {
            ++i;
            continue;
        }

        if (StartsWith (text, length, i, "<!--"))
        {
            i = SkipPast (text, length, i + 4, "-->");
            continue;
        }

        if (StartsWith (text, length, i, "<![CDATA["))
        {
            i = SkipPast (text, length, i + 9, "]]>");
            continue;
        }

        if (StartsWith (text, length, i, "<?"))
        {
            i = SkipPast (text, length, i + 2, "?>");
            continue;
        }

        // A tag: find its end outside quoted attribute values.
        const bool closing = i + 1 < length && text[i + 1] == '/';
        const bool declaration = i + 1 < length && text[i + 1] == '!';
        char quote = 0;
        size_t j = i + 1;

        for (; j < length; ++j)
        {
            const char c = text[j];

            if (quote != 0)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }

        const bool selfClosing = j < length && text[j - 1] == '/';

        if (closing)
            --depth;
        else if (! declaration)
            deepest = std::max (deepest, depth + 1);

        if (! closing && ! declaration && ! selfClosing)
            ++depth;

        i = j + 1;
    }

    return depth == 0 ? deepest : -1;
}

std::unique_ptr<juce::XmlElement> SettingsDocument::Parse (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != magicXmlNumber)
        return nullptr;

    const auto declaredLength = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (declaredLength <= 0)
        return nullptr;

    const auto length = (size_t) std::min (sizeInBytes - 8, declaredLength);
    const auto text = ValidUtf8 (static_cast<const char*> (data) + 8, length);
    const int depth = NestingDepth (text.data(), text.size());

    if (depth < 0 || depth > maxNesting)
        return nullptr;

    return juce::parseXML (juce::String::fromUTF8 (text.data(), (int) text.size()));
}

juce::String SettingsDocument::DawFromHostPath (const juce::String& path)
{
    // Components split as a line reader with the delimiter "/" splits: empty ones count, a
    // trailing "/" adds none.
    juce::StringArray parts;
    const auto unified = path.replaceCharacter ('\\', '/');
    int start = 0;

    while (start < unified.length())
    {
        const int slash = unified.indexOfChar (start, '/');
        const int end = slash < 0 ? unified.length() : slash;
        parts.add (unified.substring (start, end));
        start = end + 1;
    }

    if (parts.size() < 2)
        return {};

    const int first = std::max (parts.size() / 2, 1);
    parts.removeRange (0, first);
    return parts.joinIntoString ("/");
}

juce::String SettingsDocument::UserFullName()
{
#if JUCE_LINUX || JUCE_BSD
    // The full name is the first field of the password database's comment (GECOS) field.
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer (16384);

    if (getpwuid_r (getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr
        || found->pw_gecos == nullptr)
        return {};

    return juce::String::fromUTF8 (found->pw_gecos).upToFirstOccurrenceOf (",", false, false);
#else
    return juce::SystemStats::getFullUserName();
#endif
}

juce::String SettingsDocument::UtcTimestamp()
{
    const std::time_t now = std::time (nullptr);
    std::tm utc {};
    char text[30] {};

#if JUCE_WINDOWS
    gmtime_s (&utc, &now);
#else
    gmtime_r (&now, &utc);
#endif

    std::strftime (text, sizeof (text), "%FT%TZ", &utc);
    return text;
}
