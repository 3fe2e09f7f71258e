// --save-boards: the driver's answers, after the module's discovery, as a board file.
#ifndef QX_HOST_SAVE_BOARDS_H
#define QX_HOST_SAVE_BOARDS_H

#include "host/exit_codes.h"
#include "host/report.h"
#include "host/unreported_boards.h"

#include <string>

// Writes the capture to `path` whole or not at all: k_exitOk, else k_exitWrite with the
// reason in *error.
HostExit SaveBoards(const std::string& path, const HostReport& report,
                    const UnreportedBoards& unreported, std::string* error);

#endif
