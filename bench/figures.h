// The benchmark's figures and the rules that make them ratios: which module figure is judged
// against which baseline measured in the same run, and the scenario's instruction counts per
// operation read from its callgrind dumps. qx_bench_report writes docs/performance.md's tables
// from them and holds the ratios to bench/baseline-ratios.txt.
#ifndef QX_BENCH_FIGURES_H
#define QX_BENCH_FIGURES_H

#include <map>
#include <string>
#include <vector>

struct Row {
    std::string label;
    std::string module;         // benchmark and scenario name of the module's figure
    std::string baseline;       // and of the baseline's
    double target = 0;          // greatest ratio allowed; 0: none set
    std::string model{};        // the bag's data model alone, for the bag's rows
    bool targetOnModel = false; // the target is a ratio to the data model, not the baseline

    // The figure the module's is judged against: the data model's where the target is set
    // on it, the baseline's otherwise.
    const std::string& JudgedAgainst() const { return targetOnModel ? model : baseline; }
};

// Every row of the performance table, in its order.
std::vector<Row> TimingRows();

// Instructions per operation of each region of the scenario: a dump's "summary: N" over the
// "xCOUNT" of its name, for every dump in the directory.
std::map<std::string, double> ReadInstructionCounts(const std::string& directory);

// Each row's module figure, by name, with its instructions over those of the figure it is
// judged against; rows with either count missing (the threaded ones) have none.
std::map<std::string, double> InstructionRatios(const std::vector<Row>& rows,
                                                const std::map<std::string, double>& counts);

#endif
