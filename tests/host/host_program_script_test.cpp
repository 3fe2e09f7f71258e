// Scripts get what the screen gets: the boards not reported are in the JSON, also when a
// selection asks for them alone, and --names-only feeds --item as the manual shows.
#include "host_program.h"

#include <nlohmann/json.hpp>

namespace {

using ::testing::HasSubstr;

TEST(HostProgramScripts, Json_lists_the_boards_not_reported_with_reason) {
    const std::string boards = std::string("--boards ") + QX_EXAMPLE_BOARDS;
    const nlohmann::json expected = nlohmann::json::parse(
        R"j([{"serialNumber": "00E93B15", "pciLocation": "07:02.0",
              "reason": "claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED)"}])j");
    const Outcome all = RunHost(boards + " --json");
    EXPECT_EQ(all.exitCode, 10);
    EXPECT_EQ(nlohmann::json::parse(all.out)["unreportedBoards"], expected);
    // A selection of that board alone: the report of it, not an empty output.
    const Outcome missed = RunHost(boards + " --json --serial 00E93B15");
    EXPECT_EQ(missed.exitCode, 10);
    ASSERT_FALSE(missed.out.empty()) << missed.err;
    const nlohmann::json report = nlohmann::json::parse(missed.out);
    EXPECT_EQ(report["boards"], nlohmann::json::array());
    EXPECT_EQ(report["unreportedBoards"], expected);
    // A selection of reported boards lists no board that was not.
    const Outcome reported = RunHost(boards + " --json -s 03:00.0");
    EXPECT_EQ(nlohmann::json::parse(reported.out)["unreportedBoards"], nlohmann::json::array());
    EXPECT_EQ(nlohmann::json::parse(RunHost("--json").out)["unreportedBoards"],
              nlohmann::json::array());
}

TEST(HostProgramScripts, Names_only_lines_select_their_board_with_item) {
    const std::string boards = WriteFile("script_names.toml", R"(driver_version = 1
[[board]]
serial_number = 1
active_file = "back\\slash.zid"
pci_bus = 1
pci_device = 0
pci_function = 0
pci_id = 1
board_name = "ZEVA A"
[[board]]
serial_number = 2
active_file = "no\u00A0break.zid"
pci_bus = 2
pci_device = 0
pci_function = 0
pci_id = 1
board_name = "ZEVA B"
[[board]]
serial_number = 3
active_file = " leading space .zid"
pci_bus = 3
pci_device = 0
pci_function = 0
pci_id = 1
board_name = "ZEVA C"
)");
    const std::string host = std::string(QX_HOST_PROGRAM) + " --boards " + boards;
    const Outcome names = RunHost("--boards " + boards + " -n");
    EXPECT_EQ(names.out, "back\\slash\nno\u00A0break\n leading space \n");
    // The manual's example, each line given to --item; -n again prints the name selected.
    const Outcome each =
        RunCommand(host + " -n | while IFS= read -r item; do " + host + " -n -i \"$item\"; done");
    EXPECT_EQ(each.exitCode, 0) << each.err;
    EXPECT_EQ(each.out, names.out);
    EXPECT_THAT(RunHost("--boards " + boards).out, HasSubstr("back\\\\slash")); // the listing
}

} // namespace
