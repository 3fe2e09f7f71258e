#include "host/options.h"

#include <cstdio>
#include <cstring>
#include <getopt.h>

bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error) {
    static const option k_long[] = {{"module", required_argument, nullptr, 'm'},
                                    {"boards", required_argument, nullptr, 'b'},
                                    {"item", required_argument, nullptr, 'i'},
                                    {"names-only", no_argument, nullptr, 'n'},
                                    {"json", no_argument, nullptr, 'j'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {"trace", optional_argument, nullptr, 't'},
                                    {nullptr, 0, nullptr, 0}};
    opterr = 0;
    optind = 1;
    for (;;) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): the arguments are read before any task starts
        const int code = getopt_long(argc, argv, ":m:b:i:njhV", k_long, nullptr);
        if (code == -1)
            break;
        switch (code) {
        case 'm':
            options->modulePath = optarg;
            break;
        case 'b':
            options->boardsFile = optarg;
            break;
        case 'i':
            options->item = optarg;
            break;
        case 'n':
            options->namesOnly = true;
            break;
        case 'j':
            options->json = true;
            break;
        case 'h':
            options->help = true;
            break;
        case 'V':
            options->version = true;
            break;
        case 't':
            options->trace = true;
            options->traceFile = optarg != nullptr ? optarg : "";
            break;
        case ':':
            *error = std::string("option ") + argv[optind - 1] + " needs a value";
            return false;
        default:
            *error = std::string("unknown option ") + argv[optind - 1];
            return false;
        }
    }
    if (optind < argc) {
        *error = std::string("unexpected argument ") + argv[optind];
        return false;
    }
    if (options->namesOnly && !options->item.empty()) {
        *error = "--names-only and --item exclude each other";
        return false;
    }
    return true;
}

void PrintHostUsage(const char* program) {
    // The name alone: the help text also makes the manual page, which names no build folder.
    const char* slash = std::strrchr(program, '/');
    std::printf(
        "Usage: %s [options]\n"
        "Loads the expert module as the host framework does and reports the image-acquisition\n"
        "boards it finds: item names and each item's properties.\n"
        "\n"
        "  -m, --module PATH   the module to load (default: qxzevaSysapiExpert.so next to\n"
        "                      this program, then in ../lib)\n"
        "  -b, --boards FILE   board description (TOML) for the simulated image driver\n"
        "  -i, --item NAME     report only this item (spelled exactly so, else the first\n"
        "                      whose name matches without regard to case)\n"
        "  -n, --names-only    list the item names only\n"
        "  -j, --json          print JSON instead of tables\n"
        "      --trace[=FILE]  write every call across the module's interfaces, and the\n"
        "                      simulated driver's calls, to FILE (default: standard error)\n"
        "  -h, --help          show this help\n"
        "  -V, --version       show the program's version\n"
        "\n"
        "Exit codes: 0 success, 1 usage, 2 module not found or not loadable, 3 export missing,\n"
        "4 factory failed, 5 initialisation found no driver, 6 unknown item, 7 bad board\n"
        "description, 8 another operation failed.\n",
        slash != nullptr ? slash + 1 : program);
}
