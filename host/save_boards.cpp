#include "host/save_boards.h"

#include "host/board_file_writer.h"
#include "host/replaced_file.h"

HostExit SaveBoards(const std::string& path, const HostReport& report,
                    const UnreportedBoards& unreported, std::string* error) {
    const CaptureOrigin origin{report.modulePath, report.version, CaptureTime()};
    const std::string text = BoardFileText(CaptureBoards(unreported), origin);
    return WriteReplacedFile(path, text, error) ? k_exitOk : k_exitWrite;
}
