#include "cli/terminal_text.h"

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

// The code point at text[at] into *point; returns its length in bytes, or 0 when the bytes
// there are no UTF-8 (overlong forms, surrogates and points above U+10FFFF included).
std::size_t Decode(const std::string& text, std::size_t at, std::uint32_t* point) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    std::uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    const std::uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < lowest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *point = value;
    return length;
}

struct Range {
    std::uint32_t first;
    std::uint32_t last;
};

// Combining marks and zero-width characters of the scripts a board's name may plausibly
// use, Hangul's medial and final jamo and the variation selectors.
constexpr Range k_zeroWidth[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093A, 0x093A},   {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D}, {0x0951, 0x0957},
    {0x0E31, 0x0E31},   {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1160, 0x11FF}, {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF},   {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF},
    {0x302A, 0x302D},   {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
    {0xE0100, 0xE01EF},
};

// The format characters (Unicode's category Cf: bidirectional controls, zero-width
// characters, the soft hyphen, invisible operators, tags) and the line and paragraph
// separators: shown raw they may reorder, hide or break the text around them.
constexpr Range k_format[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x13438}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

// East Asian Wide and Fullwidth characters, and the emoji shown two columns wide.
constexpr Range k_wide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x3029},
    {0x302E, 0x303E},   {0x3041, 0x3098},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A},
    {0x1F200, 0x1F251}, {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool In(const Range (&ranges)[N], std::uint32_t point) {
    const auto* found = std::lower_bound(
        std::begin(ranges), std::end(ranges), point,
        [](const Range& range, std::uint32_t value) { return range.last < value; });
    return found != std::end(ranges) && found->first <= point;
}

std::string Escaped(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string TerminalText(const std::string& utf8) {
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t point = 0;
        const std::size_t length = Decode(utf8, at, &point);
        if (length == 0) {
            out += Escaped("\\x%02x", static_cast<unsigned char>(utf8[at]));
            ++at;
            continue;
        }
        if (point == '\t' || point == '\n' || point == '\r')
            out += point == '\t' ? "\\t" : point == '\n' ? "\\n" : "\\r";
        else if (point == '\\')
            out += "\\\\"; // so that an escape is never taken for text
        else if (point < 0x20 || point == 0x7F)
            out += Escaped("\\x%02x", point);
        else if ((point >= 0x80 && point <= 0x9F) || In(k_format, point))
            out += Escaped(point > 0xFFFF ? "\\U%08x" : "\\u%04x", point);
        else
            out.append(utf8, at, length);
        at += length;
    }
    return out;
}

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t point = 0;
        const std::size_t length = Decode(utf8, at, &point);
        width += length == 0 ? 1 : In(k_zeroWidth, point) ? 0 : In(k_wide, point) ? 2 : 1;
        at += length == 0 ? 1 : length;
    }
    return width;
}

std::string CutToWidth(const std::string& utf8, std::size_t columns) {
    if (DisplayWidth(utf8) <= columns || columns == 0)
        return utf8;
    std::string kept;
    std::size_t width = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t point = 0;
        const std::size_t length = std::max<std::size_t>(Decode(utf8, at, &point), 1);
        const std::string character = utf8.substr(at, length);
        if (width + DisplayWidth(character) > columns - 1)
            break;
        width += DisplayWidth(character);
        kept += character;
        at += length;
    }
    return kept + "\xe2\x80\xa6"; // U+2026, the ellipsis
}

std::string TerminalName(const std::string& utf8) {
    const std::string shown = TerminalText(utf8);
    const auto blank = [](char unit) { return unit == ' '; };
    const bool quoted = shown.empty() || blank(shown.front()) || blank(shown.back()) ||
                        shown.find("\xc2\xa0") != std::string::npos;
    return quoted ? "\"" + shown + "\"" : shown;
}

std::string JsonWithoutRawControls(const std::string& json) {
    std::string out;
    for (std::size_t at = 0; at < json.size();) {
        std::uint32_t point = 0;
        const std::size_t length = Decode(json, at, &point);
        if (length == 0 ||
            !(point == 0x7F || (point >= 0x80 && point <= 0x9F) || In(k_format, point))) {
            out += json[at++]; // the dump has replaced every byte that is no UTF-8
            continue;
        }
        if (point > 0xFFFF) { // as JSON writes it: a surrogate pair
            out += Escaped("\\u%04x", 0xD800 + ((point - 0x10000) >> 10));
            point = 0xDC00 + ((point - 0x10000) & 0x3FF);
        }
        out += Escaped("\\u%04x", point);
        at += length;
    }
    return out;
}
