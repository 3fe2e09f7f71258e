// The host program's exit codes and what each means: the one list that --help prints and
// that the manual page's EXIT STATUS is made from (make_manual).
#ifndef QX_HOST_EXIT_CODES_H
#define QX_HOST_EXIT_CODES_H

#include "cli/exit_status.h"

#include <iterator>

enum HostExit {
    k_exitOk = k_statusOk,
    k_exitUsage = k_statusUsage,
    k_exitModule = k_statusModule,
    k_exitExportMissing = 3,
    k_exitFactory = 4,
    k_exitInitialize = 5,
    k_exitUnknownItem = 6,
    k_exitBoards = 7,
    k_exitOperation = 8,
    k_exitWrite = k_statusWrite,
    k_exitIncomplete = 10
};

// One line each, plain text: the manual page takes them as they are.
inline constexpr ExitMeaning k_hostExitMeanings[] = {
    {k_exitOk, "success"},
    {k_exitUsage, "usage error, or the trace file cannot be opened"},
    {k_exitModule, "the module is not found or cannot be loaded"},
    {k_exitExportMissing, "the module lacks an export it must have"},
    {k_exitFactory, "the module's factory failed"},
    {k_exitInitialize, "the image driver did not answer (Initialize returned S_FALSE)"},
    {k_exitUnknownItem, "no item or board matches --item, --slot or --serial"},
    {k_exitBoards, "the board description cannot be read or is rejected"},
    {k_exitOperation, "another operation of the module failed"},
    {k_exitWrite, "the output or the trace could not be written"},
    {k_exitIncomplete, "the report is written, but the driver knows boards the module did not "
                       "report (a board asked for among them)"},
};

// Every code has its meaning: the codes run from 0 to the last without a gap.
static_assert(ExitMeaningsInOrder(k_hostExitMeanings) &&
                  std::size(k_hostExitMeanings) == k_exitIncomplete + 1,
              "one meaning per exit code, in value order");

#endif
