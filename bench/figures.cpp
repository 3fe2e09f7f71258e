#include "figures.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <utility>

std::vector<Row> TimingRows() {
    std::vector<Row> rows = {
        {"AddRef + Release, one thread", "refcount.pair/module", "refcount.pair/baseline", 15},
        {"AddRef + Release, two threads at once (per thread)", "refcount.pair/module/threads:2",
         "refcount.pair/baseline/threads:2"},
        {"Global counting lock, lock + unlock", "lock.global/module", "lock.global/baseline"},
        {"Bag lock (CqxCS), lock + unlock", "lock.section/module", "lock.section/baseline", 1.5},
    };
    const std::vector<std::pair<std::string, std::string>> operations = {
        {"set_new", "Set, new tag"},
        {"set_existing", "Set, existing tag"},
        {"get", "Get"},
        {"has", "HasProperty"},
        {"delete", "DeleteProperty"}};
    for (const char* size : {"10", "1000", "100000"}) {
        const std::string shown = std::string(size) == "1000"     ? "1 000"
                                  : std::string(size) == "100000" ? "100 000"
                                                                  : size;
        // Get and HasProperty against the baseline; what changes the store against the data
        // model alone, whose own way of keeping properties the lock and the call sit on.
        for (const auto& [key, label] : operations)
            rows.push_back({label + ", " + shown + " properties", "bag." + key + "/module/" + size,
                            "bag." + key + "/baseline/" + size, 1.3,
                            "bag." + key + "/model/" + size, key != "get" && key != "has"});
    }
    for (const char* units : {"16", "256"}) {
        const std::string copy = std::string("string.copy/baseline/") + units;
        rows.push_back({std::string("SetStringProperty, ") + units + " units",
                        std::string("string.set/module/") + units, copy});
        rows.push_back({std::string("GetStringProperty, ") + units + " units",
                        std::string("string.get/module/") + units, copy});
    }
    rows.push_back({"Clone, 1 000 mixed properties", "bag.clone/module", "bag.clone/baseline", 3});
    rows.push_back(
        {"Enumerator Next, batch 1, per element", "enum.next/module/1", "enum.next/baseline/1"});
    rows.push_back({"Enumerator Next, batch 64, per element", "enum.next/module/64",
                    "enum.next/baseline/64", 2});
    for (const auto& [key, label] : std::vector<std::pair<std::string, std::string>>{
             {"search", "SearchForItemsAndProperties"},
             {"properties_of_item", "GetPropertiesOfItem"}}) {
        const std::string base = "expert." + key + "/module/";
        rows.push_back({label + " per board: 1 board against 16", base + "1", base + "16"});
        rows.push_back({label + " per board: 64 boards against 16", base + "64", base + "16", 1.5});
    }
    return rows;
}

std::map<std::string, double> ReadInstructionCounts(const std::string& directory) {
    static const std::regex trigger("^desc: Trigger: Client Request: (.*) x([0-9]+)$");
    std::map<std::string, double> counts;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        std::ifstream in(entry.path());
        std::string line;
        std::string name;
        double operations = 0;
        while (std::getline(in, line)) {
            std::smatch match;
            if (std::regex_match(line, match, trigger)) {
                name = match[1];
                operations = std::stod(match[2]);
            } else if (line.rfind("summary: ", 0) == 0 && !name.empty() && operations > 0) {
                counts[name] = std::stod(line.substr(9)) / operations;
                break;
            }
        }
    }
    return counts;
}

std::map<std::string, double> InstructionRatios(const std::vector<Row>& rows,
                                                const std::map<std::string, double>& counts) {
    std::map<std::string, double> ratios;
    for (const Row& row : rows) {
        const auto module = counts.find(row.module);
        const auto against = counts.find(row.JudgedAgainst());
        if (module != counts.end() && against != counts.end() && against->second > 0)
            ratios[row.module] = module->second / against->second;
    }
    return ratios;
}
