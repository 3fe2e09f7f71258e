#include "host/options.h"

#include "host/exit_codes.h"
#include "host/option_table.h"

#include <iterator>

namespace {

bool Take(const HostOptionRow& row, const GivenOption& given, HostOptions* options,
          std::string* error) {
    if (row.flag != nullptr)
        options->*row.flag = true;
    if (row.text == nullptr || !given.hasValue)
        return true;
    std::string why;
    if (row.check != nullptr && !row.check(given.value, &why)) {
        *error = "option " + Dashed(row.option) + ": " + why;
        return false;
    }
    options->*row.text = given.value;
    return true;
}

} // namespace

const ProgramInterface& HostProgram() {
    static const ProgramInterface k_program = {
        "qxzeva-host",
        nullptr,
        "Loads the expert module as the host framework does and lists the\n"
        "image-acquisition boards it reports, one line each.\n",
        RowsOf(k_hostOptions),
        {std::begin(k_hostExitMeanings), std::end(k_hostExitMeanings)}};
    return k_program;
}

bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, HostProgram(), &line, error))
        return false;
    for (const GivenOption& given : line.options)
        if (!Take(ProgramRowOf(k_hostOptions, given.row), given, options, error))
            return false;
    if (options->namesOnly && options->verbose) {
        *error = "--names-only and --verbose exclude each other";
        return false;
    }
    return true;
}
