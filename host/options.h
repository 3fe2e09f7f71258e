// The host program's command line.
#ifndef QX_HOST_OPTIONS_H
#define QX_HOST_OPTIONS_H

#include "cli/command_line.h"

#include <string>

struct HostOptions {
    std::string modulePath; // empty: $QXZEVA_MODULE, next to the program, then installed
    std::string boardsFile; // empty: ZEVADRIVER_BOARDS, else the simulated driver's defaults
    std::string item;       // empty: every item
    std::string slot;       // empty: every PCI location; else [[bus]:][device][.function]
    std::string serial;     // empty: every serial number; else hexadecimal
    std::string pciId;      // empty: every vendor and device; else [VENDOR]:[DEVICE]
    std::string traceFile;  // empty: the trace goes to standard error
    std::string saveBoards; // empty: no capture; else the board file to write
    bool probe = false;     // learn why boards are missing by acting on the driver
    bool trace = false;
    bool verbose = false;
    bool namesOnly = false;
    bool json = false;
    bool help = false;
    bool version = false;
};

// The program's rows, exit statuses and summary, for the parser, --help and the manual page.
const ProgramInterface& HostProgram();

// Parses argv; on a usage error returns false with a one-line reason in error.
bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error);

#endif
