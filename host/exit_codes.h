// The host program's exit codes and what each means: the one list that --help prints and
// that the manual page's EXIT STATUS is made from (make_manual).
#ifndef QX_HOST_EXIT_CODES_H
#define QX_HOST_EXIT_CODES_H

enum HostExit {
    k_exitOk = 0,
    k_exitUsage = 1,
    k_exitModule = 2,
    k_exitExportMissing = 3,
    k_exitFactory = 4,
    k_exitInitialize = 5,
    k_exitUnknownItem = 6,
    k_exitBoards = 7,
    k_exitOperation = 8,
    k_exitWrite = 9,
    k_exitIncomplete = 10
};

struct HostExitMeaning {
    HostExit code;
    const char* meaning;
};

// One line each, plain text: the manual page takes them as they are.
inline constexpr HostExitMeaning k_hostExitMeanings[] = {
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

constexpr bool HostExitMeaningsInOrder() {
    int code = 0;
    for (const HostExitMeaning& entry : k_hostExitMeanings)
        if (static_cast<int>(entry.code) != code++)
            return false;
    return code == k_exitIncomplete + 1;
}
static_assert(HostExitMeaningsInOrder(), "one meaning per exit code, in value order");

#endif
