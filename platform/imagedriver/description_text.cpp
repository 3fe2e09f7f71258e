#include "description_text.h"

#include <cstdio>
#include <cstring>

namespace zevadriver {
namespace {

// The reader has validated the UTF-8: each sequence is whole and well formed.
char32_t NextCharacter(std::string_view utf8, std::size_t* at) {
    const auto lead = static_cast<unsigned char>(utf8[(*at)++]);
    const int trailing = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t character = trailing == 0 ? lead : (lead & (0x3Fu >> trailing));
    for (int i = 0; i < trailing && *at < utf8.size(); ++i)
        character = (character << 6) | (static_cast<unsigned char>(utf8[(*at)++]) & 0x3Fu);
    return character;
}

// A character of ISO 8859-1 in UTF-8.
std::string Utf8Of(unsigned char latin1) {
    if (latin1 < 0x80)
        return std::string(1, static_cast<char>(latin1));
    return {static_cast<char>(0xC0 | (latin1 >> 6)), static_cast<char>(0x80 | (latin1 & 0x3F))};
}

// The letters of ISO 8859-1 that a base letter and one combining mark make, as some systems
// write them decomposed (e followed by U+0301 for \u00e9).
struct Composition {
    const char* bases;
    char32_t mark;
    unsigned char composed[12];
};
constexpr Composition k_compositions[] = {
    {"AEIOUaeiou", 0x0300, {0xC0, 0xC8, 0xCC, 0xD2, 0xD9, 0xE0, 0xE8, 0xEC, 0xF2, 0xF9}},
    {"AEIOUYaeiouy",
     0x0301,
     {0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFD}},
    {"AEIOUaeiou", 0x0302, {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0xE2, 0xEA, 0xEE, 0xF4, 0xFB}},
    {"ANOano", 0x0303, {0xC3, 0xD1, 0xD5, 0xE3, 0xF1, 0xF5}},
    {"AEIOUaeiouy", 0x0308, {0xC4, 0xCB, 0xCF, 0xD6, 0xDC, 0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xFF}},
    {"Aa", 0x030A, {0xC5, 0xE5}},
    {"Cc", 0x0327, {0xC7, 0xE7}},
};

// The ISO 8859-1 letter that `base` and `mark` make, or 0.
unsigned char Composed(char base, char32_t mark) {
    for (const Composition& composition : k_compositions) {
        const char* found = composition.mark == mark && base != '\0'
                                ? std::strchr(composition.bases, base)
                                : nullptr;
        if (found != nullptr)
            return composition.composed[found - composition.bases];
    }
    return 0;
}

bool IsCombining(char32_t character) {
    return (character >= 0x0300 && character <= 0x036F) ||
           (character >= 0x1AB0 && character <= 0x1AFF) ||
           (character >= 0x1DC0 && character <= 0x1DFF) ||
           (character >= 0x20D0 && character <= 0x20FF) ||
           (character >= 0xFE20 && character <= 0xFE2F);
}

std::string CodePoint(char32_t character) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
    return text;
}

// What the TOML reader quotes of the input, in words where it is not printable.
std::string Found(std::string_view quoted) {
    if (quoted == "'\\n'" || quoted == "'\\r'")
        return "the end of the line";
    if (quoted == "'\\t'")
        return "a tab";
    if (quoted == "end-of-file")
        return "the end of the file";
    return std::string(quoted);
}

} // namespace

bool ToDriverText(std::string_view utf8, std::string* text, std::string* problem,
                  std::size_t* where) {
    text->clear();
    std::size_t index = 0;
    for (std::size_t at = 0; at < utf8.size(); ++index) {
        const std::size_t start = at;
        const char32_t character = NextCharacter(utf8, &at);
        if (where != nullptr)
            *where = index;
        if (IsCombining(character)) {
            // The mark alone is never quoted: it would join whatever the message puts before
            // it. The letter it makes with the one before it is in ISO 8859-1 in most cases.
            const unsigned char letter = Composed(text->empty() ? '\0' : text->back(), character);
            *problem = "the text holds the combining mark " + CodePoint(character) +
                       ", which is not in ISO 8859-1";
            if (letter != 0)
                *problem += ": write " + Utf8Of(letter) + " as one character, " + CodePoint(letter);
            return false;
        }
        if (character > 0xFF) {
            *problem = "the text holds " + CodePoint(character) + " '" +
                       std::string(utf8.substr(start, at - start)) +
                       "', which is not in ISO 8859-1: the driver's texts are 8-bit";
            return false;
        }
        text->push_back(static_cast<char>(static_cast<unsigned char>(character)));
    }
    return true;
}

std::string ParseProblem(std::string_view description) {
    constexpr std::string_view k_prefix = "Error while parsing ";
    std::string_view scope = "the file";
    std::string_view detail = description;
    const std::size_t colon = description.find(": ");
    if (description.substr(0, k_prefix.size()) == k_prefix && colon != std::string_view::npos) {
        scope = description.substr(k_prefix.size(), colon - k_prefix.size());
        detail = description.substr(colon + 2);
    }
    // The reader says "expected expected digit or sign" of a number's first character.
    constexpr std::string_view k_doubled = "expected expected ";
    if (detail.substr(0, k_doubled.size()) == k_doubled)
        detail.remove_prefix(9);
    std::string what;
    const std::size_t saw = detail.rfind(", saw ");
    if (detail.substr(0, 9) == "expected " && saw != std::string_view::npos)
        what = std::string(detail.substr(0, saw)) + " but found " + Found(detail.substr(saw + 6));
    else if (detail == "encountered end-of-file")
        what = "the file ends too early";
    else
        what = std::string(detail);
    // The reader names its own limits by its configuration macros: not the file's words.
    const std::size_t internal = what.find(" (TOML_");
    if (internal != std::string::npos && what.back() == ')')
        what.erase(internal);
    if (!what.empty() && what[0] >= 'A' && what[0] <= 'Z')
        what[0] = static_cast<char>(what[0] - 'A' + 'a');
    const std::string article = scope == "the file" ? "" : "the ";
    return article + std::string(scope) + " is not valid TOML: " + what;
}

} // namespace zevadriver
