// A program's exit statuses and what each means: the one list that --help prints and that
// the manual page's EXIT STATUS is made from. The statuses every program of the package
// shares have one number each, written here; scripts rely on them.
#ifndef QX_CLI_EXIT_STATUS_H
#define QX_CLI_EXIT_STATUS_H

#include <cstddef>

// A program's own enum names these by its own names (k_exitUsage = k_statusUsage) and gives
// its other statuses numbers that none of these has.
enum SharedStatus {
    k_statusOk = 0,
    k_statusUsage = 1,
    k_statusModule = 2, // the module is not found or cannot be loaded
    k_statusWrite = 9   // the report, or other output asked for, could not be written
};

struct ExitMeaning {
    int code;
    const char* meaning; // one line, plain text: the manual page takes it as it is
};

// Each code once, in rising order, as --help and the manual list them.
template <std::size_t count>
constexpr bool ExitMeaningsInOrder(const ExitMeaning (&table)[count]) {
    for (std::size_t row = 1; row < count; ++row)
        if (table[row].code <= table[row - 1].code)
            return false;
    return true;
}

#endif
