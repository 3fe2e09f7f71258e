// The simulated driver's board-file reader on arbitrary text. A refusal names the file first
// ("file:line:column: problem"); a file it accepts, written back as --save-boards writes the
// driver's answers, reads back as the same boards, and writing those again gives the same
// file byte for byte. The file a claim would create is no answer the driver gives, so the
// capture leaves it out and the replay has none. Loaded into the driver, the file is what
// the driver answers through its reading functions, as the host's capture asks them.
#include "fuzz_check.h"

#include "board_description.h"
#include "host/board_capture.h"
#include "host/board_file_writer.h"

#include <zevadriver_control.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using zevadriver::Board;
using zevadriver::BoardSet;

constexpr char k_name[] = "boards.toml";

// The driver's answers for `set`, as CaptureBoards gathers them from a driver serving it.
BoardCapture AnswersFor(const BoardSet& set) {
    BoardCapture capture;
    capture.driverVersion = set.driverVersion;
    for (const Board& board : set.boards) {
        CapturedBoard answers;
        answers.serialNumber = board.serialNumber;
        answers.activeStatus = board.activeFile.empty() ? ZEVADRIVER_ERROR_NO_ACTIVE_FILE : 0;
        answers.activeFile = board.activeFile;
        answers.bus = board.pciBus;
        answers.device = board.pciDevice;
        answers.function = board.pciFunction;
        answers.pciId = board.pciId;
        answers.boardName = board.boardName;
        answers.refusesClaims = board.ClaimRefusal() != 0;
        capture.boards.push_back(answers);
    }
    return capture;
}

bool SameAnswers(const Board& original, const Board& replayed) {
    return original.serialNumber == replayed.serialNumber &&
           original.activeFile == replayed.activeFile && replayed.claimFile.empty() &&
           original.pciBus == replayed.pciBus && original.pciDevice == replayed.pciDevice &&
           original.pciFunction == replayed.pciFunction && original.pciId == replayed.pciId &&
           original.boardName == replayed.boardName &&
           (original.ClaimRefusal() != 0) == replayed.claimFails;
}

std::string CaptureText(const BoardCapture& capture) {
    return BoardFileText(capture, {"module.so", "1.0", std::time_t{0}});
}

std::string Capture(const BoardSet& set) {
    return CaptureText(AnswersFor(set));
}

// What the driver answers once it has read `text` from a file, as --save-boards asks it
// with no discovery to account for: no board marked as refusing claims.
std::string DriverCapture(std::string_view text) {
    static const std::string s_path =
        "/tmp/board_description_fuzzer_" + std::to_string(getpid()) + ".toml";
    std::FILE* file = std::fopen(s_path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(text.data(), 1, text.size(), file) == text.size());
    FUZZ_CHECK(std::fclose(file) == 0);
    char reason[512] = {};
    if (zevadriverLoadDescription(s_path.c_str(), reason, sizeof reason) != 0) {
        std::fprintf(stderr, "%s\n", reason);
        FUZZ_UNEXPECTED("the driver refuses a file its reader accepts");
    }
    std::remove(s_path.c_str());
    const std::string answers = CaptureText(CaptureBoards({}));
    zevadriverReset();
    return answers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    BoardSet original;
    try {
        original = zevadriver::ReadBoardText(text, k_name);
    } catch (const zevadriver::DescriptionError& error) {
        FUZZ_CHECK(std::string_view(error.what()).rfind(std::string(k_name) + ':', 0) == 0);
        return 0;
    }
    const std::string capture = Capture(original);
    BoardSet replayed;
    try {
        replayed = zevadriver::ReadBoardText(capture, "capture.toml");
    } catch (const zevadriver::DescriptionError& error) {
        std::fprintf(stderr, "%s\n%s", error.what(), capture.c_str());
        FUZZ_UNEXPECTED("the reader refuses a capture of boards it accepted");
    }
    FUZZ_CHECK(replayed.driverVersion == original.driverVersion);
    FUZZ_CHECK(replayed.boards.size() == original.boards.size());
    for (std::size_t i = 0; i < original.boards.size(); ++i)
        FUZZ_CHECK(SameAnswers(original.boards[i], replayed.boards[i]));
    FUZZ_CHECK(Capture(replayed) == capture);
    BoardCapture answers = AnswersFor(original);
    for (CapturedBoard& board : answers.boards)
        board.refusesClaims = false;
    FUZZ_CHECK(DriverCapture(text) == CaptureText(answers));
    return 0;
}
