#include "host/options.h"

#include "host/exit_codes.h"

#include <cstdio>
#include <cstring>
#include <getopt.h>

namespace {

// An option's value may not be empty: "--item=" or "--boards ''" is a slip, not a request
// for the default.
bool TakeValue(const char* option, std::string* value, std::string* error) {
    if (optarg == nullptr || *optarg == '\0') {
        *error = std::string("option --") + option + " needs a non-empty value";
        return false;
    }
    *value = optarg;
    return true;
}

} // namespace

bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error) {
    static const option k_long[] = {
        {"module", required_argument, nullptr, 'm'}, {"boards", required_argument, nullptr, 'b'},
        {"item", required_argument, nullptr, 'i'},   {"names-only", no_argument, nullptr, 'n'},
        {"json", no_argument, nullptr, 'j'},         {"verbose", no_argument, nullptr, 'v'},
        {"help", no_argument, nullptr, 'h'},         {"version", no_argument, nullptr, 'V'},
        {"trace", optional_argument, nullptr, 't'},  {nullptr, 0, nullptr, 0}};
    opterr = 0;
    optind = 1;
    for (;;) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): the arguments are read before any task starts
        const int code = getopt_long(argc, argv, ":m:b:i:njvhV", k_long, nullptr);
        if (code == -1)
            break;
        bool valid = true;
        switch (code) {
        case 'm':
            valid = TakeValue("module", &options->modulePath, error);
            break;
        case 'b':
            valid = TakeValue("boards", &options->boardsFile, error);
            break;
        case 'i':
            valid = TakeValue("item", &options->item, error);
            break;
        case 'n':
            options->namesOnly = true;
            break;
        case 'j':
            options->json = true;
            break;
        case 'v':
            options->verbose = true;
            break;
        case 'h':
            options->help = true;
            break;
        case 'V':
            options->version = true;
            break;
        case 't':
            options->trace = true;
            if (optarg != nullptr && *optarg == '\0') {
                *error = "option --trace= needs a file name (--trace alone traces to standard "
                         "error)";
                return false;
            }
            options->traceFile = optarg != nullptr ? optarg : "";
            break;
        case ':':
            *error = std::string("option ") + argv[optind - 1] + " needs a value";
            return false;
        default:
            *error = std::string("unknown option ") + argv[optind - 1];
            return false;
        }
        if (!valid)
            return false;
    }
    if (optind < argc) {
        *error = std::string("unexpected argument ") + argv[optind];
        return false;
    }
    if (options->namesOnly && !options->item.empty()) {
        *error = "--names-only and --item exclude each other";
        return false;
    }
    if (options->namesOnly && options->verbose) {
        *error = "--names-only and --verbose exclude each other";
        return false;
    }
    return true;
}

std::string HostUsage(const char* program) {
    // The name alone, as a person types it, not the build folder it was started from.
    const char* slash = std::strrchr(program, '/');
    std::string text =
        std::string("Usage: ") + (slash != nullptr ? slash + 1 : program) +
        " [options]\n"
        "Loads the expert module as the host framework does and lists the\n"
        "image-acquisition boards it reports, one line each.\n"
        "\n"
        "  -v, --verbose       the full report: the module's identity, its version\n"
        "                      record and every property of each item\n"
        "  -n, --names-only    the item names only, one a line\n"
        "  -j, --json          the full report as JSON (with -n: without properties)\n"
        "  -i, --item NAME     report only this item (spelled exactly so, else the\n"
        "                      first whose name matches without regard to case)\n"
        "  -b, --boards FILE   board description (TOML) for the simulated image\n"
        "                      driver, in place of ZEVADRIVER_BOARDS\n"
        "  -m, --module PATH   the module to load (default: $QXZEVA_MODULE, else\n"
        "                      qxzevaSysapiExpert.so next to this program, else in\n"
        "                      the qxzeva folder beside the loader library)\n"
        "      --trace[=FILE]  write every call across the module's interfaces, and\n"
        "                      the simulated driver's calls, to FILE (default:\n"
        "                      standard error)\n"
        "  -h, --help          show this help\n"
        "  -V, --version       show the program's version\n"
        "\n"
        "Exit status:\n";
    for (const HostExitMeaning& entry : k_hostExitMeanings) {
        char line[128];
        std::snprintf(line, sizeof line, "  %d  %s\n", static_cast<int>(entry.code), entry.meaning);
        text += line;
    }
    return text;
}
