#include "host/board_file_writer.h"

#include <zevadriver_control.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, value);
    return text;
}

std::string StatusText(std::int32_t status) {
    const char* name = zevadriverStatusName(status);
    return std::to_string(status) + (name != nullptr ? std::string(" (") + name + ")" : "");
}

// A comment holds one line of printable ASCII whatever a path holds.
std::string CommentText(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown;
}

std::string Refused(const char* function, std::int32_t status) {
    return std::string("# ") + function + " refused with " + StatusText(status) +
           ": the value is left out\n";
}

std::string BoardText(const CapturedBoard& board) {
    std::string text = "\n";
    if (!board.stoppedBecause.empty())
        text += "# Discovery stopped here: " + CommentText(board.stoppedBecause) +
                ".\n# Neither this board nor any after it is reported.\n";
    text += "[[board]]\nserial_number = " + Hex(board.serialNumber) + "\n";
    if (board.activeStatus == 0)
        text += "active_file = " + TomlString(board.activeFile) + "\n";
    else if (board.activeStatus != ZEVADRIVER_ERROR_NO_ACTIVE_FILE)
        text += Refused("qxzevauGetActiveInterfaceFile", board.activeStatus);
    if (board.refusesClaims)
        text += "claim_fails = true\n";
    if (board.locationStatus == 0)
        text += "pci_bus = " + std::to_string(board.bus) +
                "\npci_device = " + std::to_string(board.device) +
                "\npci_function = " + std::to_string(board.function) + "\n";
    else
        text += Refused("qxzevauGetBoardPCILocation", board.locationStatus);
    if (board.idStatus == 0)
        text += "pci_id = " + Hex(board.pciId) + "\n";
    else
        text += Refused("imgGetBoardPCIID", board.idStatus);
    if (board.nameStatus == 0)
        text += "board_name = " + TomlString(board.boardName) + "\n";
    else
        text += Refused("qxzevauGetBoardName", board.nameStatus);
    return text;
}

} // namespace

std::time_t CaptureTime() {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch != nullptr && *epoch >= '0' && *epoch <= '9') {
        char* end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end == '\0')
            return static_cast<std::time_t>(seconds);
    }
    return std::time(nullptr);
}

std::string TomlString(std::string_view latin1) {
    std::string text = "\"";
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || (byte >= 0x7F && byte <= 0x9F)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
            text += escaped;
        } else if (byte >= 0xA0) {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string BoardFileText(const BoardCapture& capture, const CaptureOrigin& origin) {
    char when[64] = "an unknown time";
    std::tm utc{};
    if (gmtime_r(&origin.capturedAt, &utc) != nullptr)
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", &utc);
    std::size_t reported = 0;
    for (const CapturedBoard& board : capture.boards)
        reported += board.reported ? 1 : 0;
    std::string text =
        "# The image driver's boards as it answered qxzeva-host --save-boards, to be replayed\n"
        "# with qxzeva-host --boards FILE (see qxzeva-boards(5)).\n"
        "# Captured: " +
        std::string(when) + "\n# Module: " + CommentText(origin.modulePath) +
        (origin.expertVersion.empty() ? "" : ", version " + CommentText(origin.expertVersion)) +
        "\n";
    if (capture.versionStatus == 0)
        text += "# Driver version: " + Hex(capture.driverVersion) + "\n";
    text += "# Boards: " + std::to_string(capture.boards.size()) +
            ", of which the module reported " + std::to_string(reported) + "\n";
    if (capture.listStatus != 0)
        text += Refused("qxzevauGetSerialNumber", capture.listStatus);
    if (capture.versionStatus == 0)
        text += "driver_version = " + Hex(capture.driverVersion) + "\n";
    else
        text += Refused("qxzevauGetDriverVersion", capture.versionStatus);
    for (const CapturedBoard& board : capture.boards)
        text += BoardText(board);
    return text;
}
