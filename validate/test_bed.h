// The boards the checks run on, and whether they can run at all. Where the simulated driver
// stands in for the image driver, the validator gives it a board set of its own by default,
// written to a temporary file and named in ZEVADRIVER_BOARDS for every check's process; --boards
// or the environment's ZEVADRIVER_BOARDS name another. A board set the driver rejects, or one
// without a board, leaves nothing to check: the test bed is unusable, which is the
// environment's fault and never a pass.
#ifndef QX_VALIDATE_TEST_BED_H
#define QX_VALIDATE_TEST_BED_H

#include "validate/check.h"

#include <string>

// The validator's own board set: every field's shapes, Latin-1 texts at their limits, two
// interfaces of one board, two names equal without regard to case, boards without an
// interface file (one claimed, one named by the driver), and last a board whose claim is
// refused followed by one discovery never reaches.
std::string OwnBoardSet();

// Chooses the board set: --boards FILE, else the environment's ZEVADRIVER_BOARDS, else the
// validator's own set written to a temporary file (removed by RemoveOwnBoardSet). Sets
// ZEVADRIVER_BOARDS for the checks' processes; returns how the report names the set, or an
// empty text with why set when the own set cannot be written.
std::string ChooseBoardSet(const std::string& boardsOption, std::string& why);
void RemoveOwnBoardSet();

// The probe run before the checks, in a child process: it skips, giving the reason, when the
// test bed is unusable.
const CheckRow& TestBedProbe();

#endif
