#include "description_text.h"

#include <cstdio>

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

bool IsControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
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

bool ToDriverText(std::string_view utf8, std::string* text, std::string* problem) {
    text->clear();
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const char32_t character = NextCharacter(utf8, &at);
        if (IsControl(character)) {
            *problem = "the text holds the control character " + CodePoint(character) +
                       "; texts may not hold control characters";
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
    std::string what;
    const std::size_t saw = detail.rfind(", saw ");
    if (detail.substr(0, 9) == "expected " && saw != std::string_view::npos)
        what = std::string(detail.substr(0, saw)) + " but found " + Found(detail.substr(saw + 6));
    else if (detail == "encountered end-of-file")
        what = "the file ends too early";
    else
        what = std::string(detail);
    if (!what.empty() && what[0] >= 'A' && what[0] <= 'Z')
        what[0] = static_cast<char>(what[0] - 'A' + 'a');
    const std::string article = scope == "the file" ? "" : "the ";
    return article + std::string(scope) + " is not valid TOML: " + what;
}

} // namespace zevadriver
