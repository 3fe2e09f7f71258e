// The host program's options, each written once: the parser, --help and the manual page's
// SYNOPSIS and OPTIONS are all made from this table (cli/option_row.h), so adding an option
// is a row here, the member of HostOptions it fills and the code that acts on it.
#ifndef QX_HOST_OPTION_TABLE_H
#define QX_HOST_OPTION_TABLE_H

#include "cli/option_row.h"
#include "host/board_selection.h"
#include "host/options.h"

#include <string>

struct HostOptionRow {
    OptionRow option;
    bool HostOptions::*flag;        // set when the option is given; may be null
    std::string HostOptions::*text; // receives the value; may be null
    bool (*check)(const std::string& value, std::string* why); // may be null
};

inline constexpr HostOptionRow k_hostOptions[] = {
    {{'v', "verbose", OptionValue::none, nullptr, nullptr, false,
      "the full report: the module's identity, its version\n"
      "record and every property of each item",
      "Print the full report: the module's path, where the boards came from (built-in, "
      "--boards FILE or ZEVADRIVER_BOARDS=FILE, as the JSON's boardsSource), the expert's "
      "identity (product name, "
      "programmatic name, version, product identifier), its version record, the item names, and "
      "every property of each item, in tag order, with its tag, label, type and value. The PCI "
      "identifier's halves are shown in hexadecimal, the device's with the whole identifier as "
      "vendor:device, the form lspci -nn prints. Every hexadecimal number the program prints, "
      "here and in the one-line listing, is in upper case, as the serial numbers are."},
     &HostOptions::verbose,
     nullptr,
     nullptr},
    {{'n', "names-only", OptionValue::none, nullptr, nullptr, false,
      "the item names only, one a line",
      "Print the item names, one a line, and nothing else: with --item, --slot or --serial "
      "the names of the items they select. Each name is printed as it is, so that --item given "
      "the line selects that board; a name holding a control or format character is shown "
      "escaped, as in the listing. Excludes --verbose."},
     &HostOptions::namesOnly,
     nullptr,
     nullptr},
    {{'j', "json", OptionValue::none, nullptr, nullptr, false,
      "the full report as JSON (with -n: without properties)",
      "Print the full report as JSON, as described by the schema under FILES, whose version the "
      "report gives as schemaVersion. Each board's properties are an object keyed by a stable "
      "name in snake_case (serial_number, pci_bus, vendor), in tag order, each value in its JSON "
      "type; typedProperties gives them again with tag, label and type. itemNames lists every "
      "item name the expert lists, whatever the other options select; boards holds the boards "
      "selected. unreportedBoards lists the boards the driver knows but the module did not "
      "report (as far as --slot and --serial select them), each with its serial number, PCI "
      "location and reason; a selection of only such boards writes the report too, with exit "
      "status 10. With --names-only the boards have no properties."},
     &HostOptions::json,
     nullptr,
     nullptr},
    {{'i', "item", OptionValue::required, "NAME", "a name", false,
      "report only this item (spelled exactly so, else the\n"
      "first whose name matches ignoring the case of A-Z)",
      "Report only the item of this name: the one spelled exactly so, else the first whose name "
      "matches without regard to case, for the ASCII letters A to Z only (kamera-ü1 does not "
      "find Kamera-Ü1), as the module compares names. The report's Item name property "
      "holds the name as given, as the module reports it (-v marks it \"as given\"); when that "
      "differs from the listed name, the report shows the listed name too (in JSON as "
      "listedName)."},
     nullptr,
     &HostOptions::item,
     nullptr},
    {{'s', "slot", OptionValue::required, "[[BUS]:][DEV][.FN]", "a PCI location", false,
      "report only the boards at this PCI location, in\n"
      "hexadecimal as lspci takes it: 03:00.0, 04:, .1",
      "Report only the boards at this PCI location, written as lspci takes it: bus, device and "
      "function in hexadecimal, each of them left out for any (03:00.0, 04: for every board on "
      "bus 4, .1 for every function 1), with the domain 0000: in front as lspci -D writes it "
      "(the boards here are all in domain 0000). Combines with --item, --serial and every "
      "form of output; when the options together select nothing, the message names each "
      "option and what it alone selects."},
     nullptr,
     &HostOptions::slot,
     &CheckPciSelector},
    {{'\0', "serial", OptionValue::required, "HEX", "a serial number", false,
      "report only the board with this serial number\n"
      "(hexadecimal as the listing shows it, or 0x...)",
      "Report only the board with this serial number, in hexadecimal as the listing shows it "
      "(01C4A2F7, or 1c4a2f7), or as the board description writes it (0x01C4A2F7). Combines "
      "with --item, --slot and every form of output. A board the driver knows but the module "
      "did not report is named as such (exit status 10)."},
     nullptr,
     &HostOptions::serial,
     &CheckSerial},
    {{'d', "pci-id", OptionValue::required, "[VENDOR]:[DEVICE]", "a PCI identifier", false,
      "report only the boards with this vendor and device,\n"
      "in hexadecimal as lspci -d takes them: 1f0a:74c1, 1f0a:",
      "Report only the boards with this PCI vendor and device identifier, written as lspci -d "
      "takes it: vendor and device in hexadecimal, either left out for any (1f0a:74c1, 1f0a: "
      "for every board of vendor 1F0A, :74c1). Combines with --item, --slot, --serial and "
      "every form of output, as they do."},
     nullptr,
     &HostOptions::pciId,
     &CheckPciIdSelector},
    {{'b', "boards", OptionValue::required, "FILE", "a file name", false,
      "board description (TOML) for the simulated image\n"
      "driver, in place of ZEVADRIVER_BOARDS",
      "Start the simulated image driver with the boards of this board description, in place of "
      "the one ZEVADRIVER_BOARDS names."},
     nullptr,
     &HostOptions::boardsFile,
     nullptr},
    {{'m', "module", OptionValue::required, "PATH", "a path", false,
      "the module to load (default: $QXZEVA_MODULE, else\n"
      "qxzevaSysapiExpert.so next to this program, else the\n"
      "one in the qxzeva folder beside the loader library,\n"
      "else the one beside the loader library)",
      "Load this module. Without it: the one QXZEVA_MODULE names, else qxzevaSysapiExpert.so "
      "beside the program, else the installed one in the qxzeva folder beside the loader "
      "library (see FILES), else the one beside the loader library, as in a build folder. "
      "A bare file name that exists in the working folder is that file, as ./NAME, rather "
      "than one the loader would look for on its library path. Every error about the module "
      "names its path and where the path came from."},
     nullptr,
     &HostOptions::modulePath,
     nullptr},
    {{'\0', "trace", OptionValue::optional, "FILE", "a file name", false,
      "write every call across the module's interfaces, and\n"
      "the simulated driver's calls, to FILE (default:\n"
      "standard error); the file follows an '=' sign",
      "Write every call across the module's interfaces, and the simulated driver's own calls, to "
      "the file, or to standard error without one; see TRACE. The file name follows an equals "
      "sign (--trace=calls.txt). A file this run reads or writes (the board description, the "
      "module, the --save-boards file, by device and inode) is refused; the trace is written "
      "beside the file and replaces it when the run is over, whatever its outcome."},
     &HostOptions::trace,
     &HostOptions::traceFile,
     nullptr},
    {{'\0', "save-boards", OptionValue::required, "FILE", "a file name", false,
      "write what the driver answered as a board file that\n"
      "--boards replays (for support)",
      "After the report, write what the image driver answered, through its reading functions "
      "only, as a board description (see qxzeva-boards(5)) that --boards replays with the same "
      "report: the driver version and each board's serial number, active interface file, PCI "
      "location and identifier and name, and a board whose claim or activation was refused as "
      "refusing claims. The file is written whole to a temporary file beside it and renamed, so "
      "it is never left half written; its comment header names the module and the driver "
      "version and the time, which SOURCE_DATE_EPOCH sets. This is the way to send a system's "
      "boards to support."},
     nullptr,
     &HostOptions::saveBoards,
     nullptr},
    {{'\0', "probe", OptionValue::none, nullptr, nullptr, false,
      "to tell why boards are missing, redo discovery's\n"
      "step for the first (changes the driver's state)",
      "To tell why the module did not report a board, make that board's step of discovery again "
      "as the module makes it. This changes the driver's state: it may claim an interface file "
      "for the board and make it active. Without it the reason is learnt from what the driver "
      "answers to reads and from its record of the module's own calls, and nothing changes."},
     &HostOptions::probe,
     nullptr,
     nullptr},
    {{'h', "help", OptionValue::none, nullptr, nullptr, true, "show this help",
      "Print a summary of the options and the exit codes."},
     &HostOptions::help,
     nullptr,
     nullptr},
    {{'V', "version", OptionValue::none, nullptr, nullptr, true, "show the program's version",
      "Print the program's version."},
     &HostOptions::version,
     nullptr,
     nullptr},
};

#endif
