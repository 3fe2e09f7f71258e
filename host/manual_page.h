// The parts of the host program's manual page made from its option and exit-code tables:
// the SYNOPSIS, the OPTIONS and the EXIT STATUS list, in roff.
#ifndef QX_HOST_MANUAL_PAGE_H
#define QX_HOST_MANUAL_PAGE_H

#include <string>

std::string ManualSynopsis();
std::string ManualOptions();
std::string ManualExitStatus();

// The page: each line ".\" generated: synopsis" (options, exit status) of the template
// replaced by its part; empty when a part has no such line.
std::string ManualPage(const std::string& page);

#endif
