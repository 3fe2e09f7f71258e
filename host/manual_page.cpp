#include "host/manual_page.h"

#include "host/exit_codes.h"
#include "host/option_table.h"

#include <cctype>

namespace {

bool IsAlnum(char unit) {
    return std::isalnum(static_cast<unsigned char>(unit)) != 0;
}
bool IsUpper(char unit) {
    return std::isupper(static_cast<unsigned char>(unit)) != 0;
}

std::string RoffDashes(const std::string& text) {
    std::string out;
    for (const char unit : text)
        out += unit == '-' ? std::string("\\-") : std::string(1, unit);
    return out;
}

std::string Lower(const char* text) {
    std::string out(text);
    for (char& unit : out)
        unit = static_cast<char>(std::tolower(static_cast<unsigned char>(unit)));
    return out;
}

// A plain paragraph in roff: option names (-v, --item) and environment variables
// (QXZEVA_MODULE) in bold, backslashes kept.
std::string RoffText(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const bool boundary = at == 0 || text[at - 1] == ' ' || text[at - 1] == '(';
        std::size_t end = at;
        if (boundary && text[at] == '-') {
            while (end < text.size() && (text[end] == '-' || IsAlnum(text[end])))
                ++end;
        } else if (boundary && IsUpper(text[at])) {
            while (end < text.size() && (text[end] == '_' || IsUpper(text[end])))
                ++end;
            if (text.substr(at, end - at).find('_') == std::string::npos)
                end = at;
        }
        if (end > at + 1) {
            out += "\\fB" + RoffDashes(text.substr(at, end - at)) + "\\fR";
            at = end;
        } else {
            out += text[at] == '\\' ? std::string("\\e") : std::string(1, text[at]);
            ++at;
        }
    }
    return out;
}

std::string Name(const HostOptionRow& option) {
    return option.shortName != '\0' ? std::string("\\-") + option.shortName
                                    : "\\-\\-" + RoffDashes(option.longName);
}

} // namespace

std::string ManualSynopsis() {
    std::string usual = ".B qxzeva-host\n";
    std::string alone;
    for (const HostOptionRow& option : k_hostOptions) {
        if (option.alone) {
            alone += (alone.empty() ? "" : " \" | \" ") + Name(option);
        } else if (option.value == OptionValue::none) {
            usual += ".RB [ " + Name(option) + " ]\n";
        } else if (option.value == OptionValue::required) {
            usual += ".RB [ " + Name(option) + "\n.IR " + Lower(option.valueName) + " ]\n";
        } else {
            usual += ".RB [ " + Name(option) + " [ =\\c\n.IR " + Lower(option.valueName) + " ]]\n";
        }
    }
    return usual + ".br\n.B qxzeva-host\n.BR " + alone + "\n";
}

std::string ManualOptions() {
    std::string out;
    for (const HostOptionRow& option : k_hostOptions) {
        out += ".TP\n.BR ";
        if (option.shortName != '\0')
            out += std::string("\\-") + option.shortName + " \", \" ";
        out += "\\-\\-" + RoffDashes(option.longName);
        const std::string value =
            "=\\fI" + Lower(option.valueName == nullptr ? "" : option.valueName);
        if (option.value == OptionValue::required)
            out += " " + value + "\\fR";
        if (option.value == OptionValue::optional)
            out += " [ " + value + "\\fR ]";
        out += "\n" + RoffText(option.manual) + "\n";
    }
    return out;
}

std::string ManualExitStatus() {
    std::string out;
    for (const HostExitMeaning& entry : k_hostExitMeanings)
        out += ".TP\n.B " + std::to_string(int(entry.code)) + "\n" + RoffText(entry.meaning) + "\n";
    return out;
}

std::string ManualPage(const std::string& page) {
    const std::pair<const char*, std::string> parts[] = {{"synopsis", ManualSynopsis()},
                                                         {"options", ManualOptions()},
                                                         {"exit status", ManualExitStatus()}};
    std::string out = page;
    for (const auto& [name, text] : parts) {
        const std::string marker = std::string(".\\\" generated: ") + name + "\n";
        const std::size_t at = out.find(marker);
        if (at == std::string::npos)
            return "";
        out.replace(at, marker.size(), text);
    }
    return out;
}
