// The parts of a program's manual page made from its rows and exit statuses: the SYNOPSIS,
// the OPTIONS and the EXIT STATUS list, in roff, written into the page's template.
#ifndef QX_CLI_MANUAL_PAGE_H
#define QX_CLI_MANUAL_PAGE_H

#include "cli/command_line.h"

#include <string>
#include <utility>
#include <vector>

// A plain paragraph in roff: option names (-v, --item) and environment variables
// (QXZEVA_MODULE) in bold, a backslash kept as one.
std::string RoffText(const std::string& text);

// Text in roff as it is: dashes and backslashes escaped, nothing set in bold; for text that
// names things a reader looks up as written ("QX_VERSION_SYMBOL(3)").
std::string RoffPlain(const std::string& text);

std::string ManualSynopsis(const ProgramInterface& program);
std::string ManualOptions(const ProgramInterface& program);
std::string ManualExitStatus(const ProgramInterface& program);

// A part of the page: the name in its template's line ".\" generated: NAME", and its text.
using ManualPart = std::pair<std::string, std::string>;

// The page: each part's line of the template replaced by its text, SYNOPSIS, OPTIONS and
// EXIT STATUS first; empty when a part has no such line.
std::string ManualPage(const ProgramInterface& program, const std::string& page,
                       const std::vector<ManualPart>& ownParts = {});

// A program's make_manual: "make_manual TEMPLATE OUTPUT" writes the page; 0 when written.
int WriteManualPage(int argc, char** argv, const ProgramInterface& program,
                    const std::vector<ManualPart>& ownParts = {});

#endif
