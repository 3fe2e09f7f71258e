#include "host/unreported_boards.h"

#include <cinttypes>
#include <cstdio>

std::string SerialText(std::uint32_t serialNumber) {
    char text[16];
    std::snprintf(text, sizeof text, "%08" PRIX32, serialNumber);
    return text;
}

std::string BoundedList(const std::vector<std::string>& entries) {
    constexpr std::size_t k_shown = 8;
    std::string text;
    for (std::size_t i = 0; i < entries.size() && i < k_shown; ++i)
        text += (i == 0 ? "" : ", ") + entries[i];
    if (entries.size() > k_shown)
        text += " and " + std::to_string(entries.size() - k_shown) + " more";
    return text;
}

std::string UnreportedText(const UnreportedBoards& unreported) {
    std::vector<std::string> serials;
    for (const UnreportedBoard& board : unreported.boards)
        serials.push_back(SerialText(board.serialNumber));
    const std::size_t missing = serials.size();
    return std::to_string(missing) + " of the driver's " + std::to_string(unreported.driverCount) +
           " boards " + (missing == 1 ? "was" : "were") + " not reported: serial number" +
           (missing == 1 ? " " : "s ") + BoundedList(serials) + "; discovery stopped at " +
           serials.front() + ": " + unreported.reason +
           "; the module reports no board from the first it cannot claim, activate or locate on";
}
