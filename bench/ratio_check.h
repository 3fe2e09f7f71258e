// Holds the scenario's instruction ratios to those kept in bench/baseline-ratios.txt: a ratio
// more than the tolerance above its kept value fails, one as far below it is reported as a
// gain to keep, a kept ratio the run no longer measures fails, a new one is reported. Ratios
// to baselines of the same run, not counts, so that a new compiler or C library moves both
// sides of each.
#ifndef QX_BENCH_RATIO_CHECK_H
#define QX_BENCH_RATIO_CHECK_H

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

using Ratios = std::map<std::string, double>;

// The one command that renews the kept file, named in every message that asks for it.
extern const char* const k_renewRatiosCommand;

// The kept file: "# comment" and blank lines, else "figure ratio" with a positive ratio.
// False, with the line and what is wrong with it in error, for anything else or a figure
// named twice.
bool ParseRatios(std::istream& in, Ratios& ratios, std::string& error);

// The kept file's text: the header saying what it holds and how to renew it, one line a ratio.
void WriteRatios(std::ostream& out, const Ratios& ratios);

struct RatioVerdict {
    std::vector<std::string> failures; // worse beyond the tolerance, or no longer measured
    std::vector<std::string> notes;    // better beyond the tolerance, or not kept yet
    std::size_t held = 0;              // within the tolerance either way
};

RatioVerdict CompareRatios(const Ratios& kept, const Ratios& measured, double tolerance = 0.02);

#endif
