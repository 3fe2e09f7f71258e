// Writes the tables of docs/performance.md from one benchmark run (Google Benchmark's JSON,
// the fastest of its repetitions) and one callgrind run of the fixed scenario (one dump per
// measured region). Every figure is a ratio to a baseline measured in the same run.
//
// qx_bench_report BENCHMARK_JSON CALLGRIND_DIR PAGE
//     The tables replace what stands between the page's performance-table markers.
// qx_bench_report --check CALLGRIND_DIR RATIOS_FILE
//     Holds the scenario's instruction ratios to the kept ones (bench/ratio_check.h); exits
//     with 1 when one is worse or missing.
// qx_bench_report --renew CALLGRIND_DIR RATIOS_FILE
//     Writes the scenario's instruction ratios to the kept file.
#include "figures.h"
#include "ratio_check.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

struct Measured {
    double nanoseconds = 0; // per operation, as one thread sees it
    std::map<std::string, double> counters;
};

// "bag.get/module/10/real_time" and the like lose the parts the registration adds, so
// that names read as the benchmark sources write them.
std::string PlainName(std::string name) {
    static const std::regex added("/(real_time|manual_time|iterations:1|threads:1)(?=/|$)");
    return std::regex_replace(name, added, "");
}

double ToNanoseconds(double value, const std::string& unit) {
    if (unit == "us")
        return value * 1e3;
    if (unit == "ms")
        return value * 1e6;
    if (unit == "s")
        return value * 1e9;
    return value;
}

std::map<std::string, Measured> ReadBenchmarks(const std::string& path) {
    std::ifstream in(path);
    const json document = json::parse(in);
    std::map<std::string, Measured> figures;
    // The fastest repetition: on a shared machine the others are the same work plus
    // whatever else ran at the time.
    for (const json& run : document.at("benchmarks")) {
        if (run.value("run_type", "") != "iteration")
            continue;
        Measured measured;
        const double batch = run.value("batch", 1.0);
        const double threads = run.value("threads", 1.0);
        // A threaded run reports wall time per operation of all threads together.
        measured.nanoseconds =
            ToNanoseconds(run.at("real_time").get<double>(), run.value("time_unit", "ns")) *
            threads / batch;
        for (const auto& [key, value] : run.items())
            if (value.is_number())
                measured.counters[key] = value.get<double>();
        const std::string name = PlainName(run.at("run_name").get<std::string>());
        const auto known = figures.find(name);
        if (known == figures.end() || measured.nanoseconds < known->second.nanoseconds)
            figures[name] = measured;
    }
    return figures;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Time(double nanoseconds) {
    if (nanoseconds >= 1e6)
        return Fixed(nanoseconds / 1e6, 2) + " ms";
    if (nanoseconds >= 1e4)
        return Fixed(nanoseconds / 1e3, 1) + " µs";
    return Fixed(nanoseconds, nanoseconds < 100 ? 1 : 0) + " ns";
}

std::string Count(double instructions) {
    return Fixed(instructions, instructions < 100 ? 1 : 0);
}

class Table {
public:
    Table(std::map<std::string, Measured> times, std::map<std::string, double> instructions)
        : m_times(std::move(times)), m_instructions(std::move(instructions)) {}

    std::string Timing(const std::vector<Row>& rows) const;
    std::string Allocations() const;
    std::string Scenario() const;
    std::string Reasons() const;

private:
    std::optional<double> TimeOf(const std::string& name) const {
        const auto found = m_times.find(name);
        return found == m_times.end() ? std::nullopt : std::optional(found->second.nanoseconds);
    }
    std::optional<double> IrOf(const std::string& name) const {
        const auto found = m_instructions.find(name);
        return found == m_instructions.end() ? std::nullopt : std::optional(found->second);
    }
    std::string InstructionsOf(const std::string& name) const {
        const auto found = IrOf(name);
        return found ? Count(*found) : "–";
    }
    double CounterOf(const std::string& name, const std::string& counter) const {
        const auto found = m_times.find(name);
        if (found == m_times.end())
            return NAN;
        const auto value = found->second.counters.find(counter);
        return value == found->second.counters.end() ? NAN : value->second;
    }

    std::map<std::string, Measured> m_times;
    std::map<std::string, double> m_instructions;
};

std::string Table::Timing(const std::vector<Row>& rows) const {
    // What the bag's lock costs beyond the baseline's recursive mutex, per operation.
    const double extraTime =
        TimeOf("lock.section/module").value_or(0) - TimeOf("lock.section/baseline").value_or(0);
    const double extraIr =
        IrOf("lock.section/module").value_or(0) - IrOf("lock.section/baseline").value_or(0);
    std::ostringstream out;
    out << "| Operation | Module | Baseline | Ratio | Target | Met | Instructions, module / "
           "baseline (ratio) | Data model alone: time (ratio to baseline); instructions "
           "(module's ratio to them) | Module less its "
           "lock's extra cost: ratio of time; of instructions |\n"
        << "|---|---|---|---|---|---|---|---|---|\n";
    for (const Row& row : rows) {
        const auto module = TimeOf(row.module);
        const auto baseline = TimeOf(row.baseline);
        if (!module || !baseline) {
            out << "| " << row.label << " | not measured | | | | | | | |\n";
            continue;
        }
        const double ratio = *module / *baseline;
        const auto moduleIr = IrOf(row.module);
        const auto baselineIr = IrOf(row.baseline);
        // Targets are judged on instruction counts, which the machine's load does not move;
        // on times only where nothing was counted.
        const auto againstIr = IrOf(row.JudgedAgainst());
        const double judged = moduleIr && againstIr ? *moduleIr / *againstIr : ratio;
        const std::string target = row.target > 0
                                       ? "≤ " + Fixed(row.target, row.target >= 10 ? 0 : 1) +
                                             (row.targetOnModel ? " × data model" : "")
                                       : "none";
        const std::string met = row.target > 0 ? (judged <= row.target ? "yes" : "**no**") : "";
        std::string instructions =
            InstructionsOf(row.module) + " / " + InstructionsOf(row.baseline);
        if (moduleIr && baselineIr)
            instructions += " (" + Fixed(*moduleIr / *baselineIr, 2) + ")";
        std::string model;
        std::string lessSection;
        if (!row.model.empty()) {
            if (const auto modelTime = TimeOf(row.model))
                model = Time(*modelTime) + " (" + Fixed(*modelTime / *baseline, 2) + ")";
            if (const auto modelIr = IrOf(row.model); modelIr && moduleIr)
                model += "; " + Count(*modelIr) + " instructions (module " +
                         Fixed(*moduleIr / *modelIr, 2) + ")";
            lessSection = Fixed((*module - extraTime) / *baseline, 2);
            if (moduleIr && baselineIr)
                lessSection += "; " + Fixed((*moduleIr - extraIr) / *baselineIr, 2);
        }
        out << "| " << row.label << " | " << Time(*module) << " | " << Time(*baseline) << " | "
            << Fixed(ratio, 2) << " | " << target << " | " << met << " | " << instructions << " | "
            << model << " | " << lessSection << " |\n";
    }
    return out.str();
}

std::string Table::Allocations() const {
    std::ostringstream out;
    out << "| Type | Module: blocks per Set | bytes per Set | blocks kept | bytes kept | "
           "Baseline: blocks | bytes |\n"
        << "|---|---|---|---|---|---|---|\n";
    for (const char* type :
         {"boolean", "integer", "unsigned", "double", "guid", "string", "timestamp"}) {
        const std::string module = std::string("alloc.") + type + "/module";
        const std::string baseline = std::string("alloc.") + type + "/baseline";
        out << "| " << type << " | " << Fixed(CounterOf(module, "blocks_per_set"), 0) << " | "
            << Fixed(CounterOf(module, "bytes_per_set"), 0) << " | "
            << Fixed(CounterOf(module, "blocks_kept"), 0) << " | "
            << Fixed(CounterOf(module, "bytes_kept"), 0) << " | "
            << Fixed(CounterOf(baseline, "blocks_kept"), 0) << " | "
            << Fixed(CounterOf(baseline, "bytes_kept"), 0) << " |\n";
    }
    return out.str();
}

std::string Table::Scenario() const {
    auto total = [&](const std::string& name, double operations) {
        const auto found = m_instructions.find(name);
        return found == m_instructions.end() ? std::string("?") : Count(found->second * operations);
    };
    std::ostringstream out;
    out << "| Scenario | Instructions | Per item |\n|---|---|---|\n"
        << "| Report of 16 boards through SearchForItemsAndProperties | "
        << total("expert.search/module/16", 16) << " | "
        << InstructionsOf("expert.search/module/16") << " per board |\n"
        << "| Clone of a 1 000-property bag | " << total("bag.clone/module", 1) << " | "
        << Count(m_instructions.count("bag.clone/module")
                     ? m_instructions.at("bag.clone/module") / 1000
                     : NAN)
        << " per property |\n"
        << "| The baseline's deep copy of the same bag | " << total("bag.clone/baseline", 1)
        << " | "
        << Count(m_instructions.count("bag.clone/baseline")
                     ? m_instructions.at("bag.clone/baseline") / 1000
                     : NAN)
        << " per property |\n";
    return out.str();
}

// The instruction counts that the page's reasons for missed targets rest on.
std::string Table::Reasons() const {
    const double lockExtra =
        IrOf("lock.section/module").value_or(NAN) - IrOf("lock.section/baseline").value_or(NAN);
    std::ostringstream out;
    out << "- The bag's lock, lock + unlock: " << InstructionsOf("lock.section/module")
        << " instructions; `std::recursive_mutex`: " << InstructionsOf("lock.section/baseline")
        << "; a whole Get on the baseline bag of 10 properties: "
        << InstructionsOf("bag.get/baseline/10")
        << ", on the module's: " << InstructionsOf("bag.get/module/10") << ".\n";
    for (const auto& [key, label] : std::vector<std::pair<std::string, std::string>>{
             {"set_new", "Set on a new tag"},
             {"set_existing", "Set on an existing tag"},
             {"delete", "DeleteProperty"}}) {
        const std::string name = "bag." + key;
        out << "- " << label << ", 1 000 properties: module "
            << InstructionsOf(name + "/module/1000") << " instructions; data model alone "
            << InstructionsOf(name + "/model/1000") << " + the lock's extra cost "
            << Count(lockExtra) << "; baseline " << InstructionsOf(name + "/baseline/1000")
            << ".\n";
    }
    out << "- AddRef + Release: " << InstructionsOf("refcount.pair/module")
        << " instructions; the global counting lock alone, lock + unlock: "
        << InstructionsOf("lock.global/module")
        << "; a `std::mutex` lock + unlock: " << InstructionsOf("lock.global/baseline")
        << "; the atomic pair: " << InstructionsOf("refcount.pair/baseline") << ".\n";
    return out.str();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

// The scenario's ratios held to, or written to, the kept file.
int KeepRatios(const std::string& mode, const std::string& callgrind, const std::string& file) {
    const Ratios measured = InstructionRatios(TimingRows(), ReadInstructionCounts(callgrind));
    if (measured.empty()) {
        std::cerr << callgrind << ": no instruction counts of the scenario\n";
        return 1;
    }
    if (mode == "--renew") {
        std::ofstream out(file);
        WriteRatios(out, measured);
        out.close();
        if (!out) {
            std::cerr << file << ": cannot write\n";
            return 1;
        }
        std::cout << measured.size() << " ratios written to " << file << "\n";
        return 0;
    }
    std::ifstream in(file);
    Ratios kept;
    std::string error;
    if (!in) {
        std::cerr << file << ": cannot read; write it with " << k_renewRatiosCommand << "\n";
        return 1;
    }
    if (!ParseRatios(in, kept, error)) {
        std::cerr << file << ": " << error << "\n";
        return 1;
    }
    const RatioVerdict verdict = CompareRatios(kept, measured);
    for (const std::string& note : verdict.notes)
        std::cout << "note: " << note << "\n";
    for (const std::string& failure : verdict.failures)
        std::cout << "FAILED: " << failure << "\n";
    std::cout << verdict.held << " of " << kept.size() << " kept ratios within 2%, "
              << verdict.failures.size() << " failed, " << verdict.notes.size() << " noted\n";
    return verdict.failures.empty() ? 0 : 1;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc != 4) {
        std::cerr << "usage: qx_bench_report BENCHMARK_JSON CALLGRIND_DIR PAGE\n"
                     "       qx_bench_report --check|--renew CALLGRIND_DIR RATIOS_FILE\n";
        return 2;
    }
    try {
        if (mode == "--check" || mode == "--renew")
            return KeepRatios(mode, argv[2], argv[3]);
        const Table table(ReadBenchmarks(argv[1]), ReadInstructionCounts(argv[2]));
        const std::string begin = "<!-- performance table: begin -->";
        const std::string end = "<!-- performance table: end -->";
        const std::string generated =
            begin + "\n" + table.Timing(TimingRows()) +
            "\nAllocations per stored property (16-unit strings):\n\n" + table.Allocations() +
            "\nInstruction counts of the fixed scenario (callgrind):\n\n" + table.Scenario() +
            "\nThe counts behind the reasons above (callgrind):\n\n" + table.Reasons() + end;
        std::string page = ReadAll(argv[3]);
        const auto first = page.find(begin);
        const auto last = page.find(end);
        if (first == std::string::npos || last == std::string::npos || last < first) {
            std::cerr << argv[3] << ": no performance table markers\n";
            return 1;
        }
        page.replace(first, last + end.size() - first, generated);
        std::ofstream(argv[3]) << page;
        std::cout << generated << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "qx_bench_report: " << error.what() << "\n";
        return 1;
    }
}
