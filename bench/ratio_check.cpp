#include "ratio_check.h"

#include <cmath>
#include <cstdio>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>

const char* const k_renewRatiosCommand = "scripts/bench-ratios.sh --renew";

namespace {

std::string Fixed(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Change(const std::string& figure, double kept, double now) {
    return figure + ": " + Fixed(kept, "%.4f") + " kept, " + Fixed(now, "%.4f") + " now (" +
           Fixed((now / kept - 1) * 100, "%+.2f") + "%)";
}

} // namespace

bool ParseRatios(std::istream& in, Ratios& ratios, std::string& error) {
    ratios.clear();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::string figure;
        if (!(fields >> figure))
            continue;
        double ratio = 0;
        std::string extra;
        if (!(fields >> ratio) || (fields >> extra) || !std::isfinite(ratio) || ratio <= 0) {
            error = "line " + std::to_string(number) + ": not \"figure ratio\" with a positive " +
                    "ratio: " + line;
            return false;
        }
        if (!ratios.emplace(figure, ratio).second) {
            error = "line " + std::to_string(number) + ": " + figure + " named a second time";
            return false;
        }
    }
    return true;
}

void WriteRatios(std::ostream& out, const Ratios& ratios) {
    out << "# Instruction ratios of the benchmark scenario (bench/scenario.cpp) under callgrind:\n"
           "# each module figure's instructions per operation over those of the baseline it is\n"
           "# judged against in the same run (bench/figures.cpp). The test command fails when one\n"
           "# grows by more than 2%. When the cost is meant, renew this file from that tree:\n"
           "#     "
        << k_renewRatiosCommand << "\n";
    for (const auto& [figure, ratio] : ratios)
        out << figure << ' ' << Fixed(ratio, "%.4f") << '\n';
}

RatioVerdict CompareRatios(const Ratios& kept, const Ratios& measured, double tolerance) {
    RatioVerdict verdict;
    const std::string renew = std::string("renew with ") + k_renewRatiosCommand;
    for (const auto& [figure, was] : kept) {
        const auto found = measured.find(figure);
        if (found == measured.end()) {
            verdict.failures.push_back(figure + ": kept at " + Fixed(was, "%.4f") +
                                       ", not measured; if it left the scenario on purpose, " +
                                       renew);
            continue;
        }
        const double now = found->second;
        // Multiplied, not divided: a ratio exactly at the tolerance holds.
        if (now > was * (1 + tolerance))
            verdict.failures.push_back(Change(figure, was, now) + ", more than " +
                                       Fixed(tolerance * 100, "%g") +
                                       "% worse; if the cost is meant, " + renew);
        else if (now < was * (1 - tolerance))
            verdict.notes.push_back(Change(figure, was, now) + ", better; to hold the gain, " +
                                    renew);
        else
            ++verdict.held;
    }
    for (const auto& [figure, now] : measured)
        if (kept.count(figure) == 0)
            verdict.notes.push_back(figure + ": " + Fixed(now, "%.4f") +
                                    " now, not kept; to hold it, " + renew);
    return verdict;
}
