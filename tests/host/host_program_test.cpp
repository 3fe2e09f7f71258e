// The host program run as a person runs it: what it prints and its JSON read back.
#include "host_program.h"

#include <nlohmann/json.hpp>

using ::testing::ContainsRegex;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(HostProgram, Json_report_of_the_default_boards_reads_back_whole) {
    const Outcome outcome = RunHost("--json");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const nlohmann::json report = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(report["product"]["displayName"], "QX ZEVA Sysapi Expert");
    EXPECT_EQ(report["product"]["version"], "18.5");
    EXPECT_EQ(report["product"]["id"], "{2AB917E5-7A6D-4F53-A31F-048F22A05608}");
    EXPECT_EQ(report["versionRecord"]["nQXVersion_ProductVersion"], "18.5.0f0");
    EXPECT_EQ(report["versionRecord"].size(), 9u);
    EXPECT_THAT(report["itemNames"].get<std::vector<std::string>>(),
                ElementsAre("img0", "img1", "img2", "img3"));
    EXPECT_EQ(report["schemaVersion"], 3);
    ASSERT_EQ(report["boards"].size(), 4u);
    for (const auto& board : report["boards"]) {
        ASSERT_EQ(board["properties"].size(), std::size_t{QXZEVA_ITEM_PROPERTY_COUNT});
        ASSERT_EQ(board["typedProperties"].size(), std::size_t{QXZEVA_ITEM_PROPERTY_COUNT});
    }
    // By key, each value in its JSON type; keys and the typed list both in tag order.
    const auto& img2 = report["boards"][2];
    EXPECT_EQ(img2["name"], "img2");
    const auto& properties = img2["properties"];
    EXPECT_EQ(properties["serial_number"], "00E93B15");
    EXPECT_EQ(properties["model"], "PCI-1C");
    EXPECT_EQ(properties["pci_bus"], 7);
    EXPECT_EQ(properties["pci_device"], 2);
    EXPECT_EQ(properties["pci_vendor_id"], 0x1F0A);
    EXPECT_EQ(properties["flag_54"], false);
    EXPECT_EQ(properties["constant_0b"], -1);
    const auto ordered = nlohmann::ordered_json::parse(outcome.out)["boards"][2]["properties"];
    std::vector<std::string> keys;
    for (const auto& entry : ordered.items())
        keys.push_back(entry.key());
    EXPECT_EQ(keys.front(), "flag_01") << "tag 0x01001000 comes first";
    EXPECT_EQ(keys.back(), "driver_family") << "tag 0x0700D000 comes last";
    const auto& typed = img2["typedProperties"];
    EXPECT_EQ(typed[0]["tag"], "0x01001000");
    EXPECT_EQ(typed[6]["tag"], "0x01007000");
    EXPECT_EQ(typed[6]["key"], "serial_number");
    EXPECT_EQ(typed[6]["label"], "Serial number");
    EXPECT_EQ(typed[6]["type"], "string");
    EXPECT_EQ(typed[21]["label"], "Driver family");
}

TEST(HostProgram, Default_output_is_a_heading_and_one_line_per_board) {
    const Outcome outcome = RunHost("");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Item  Serial    Model    PCI      Driver version\n"
                           "img0  01C4A2F0  PCIe-4C  03:00.0  0x15030000\n"
                           "img1  01C4A2F7  PCIe-2C  04:00.0  0x15030000\n"
                           "img2  00E93B15  PCI-1C   07:02.0  0x15030000\n"
                           "img3  0203D4C8  PCIe-CL  09:00.1  0x15030000\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(HostProgram, Verbose_shows_identity_labelled_version_record_and_every_property) {
    const Outcome outcome = RunHost("-v");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("Product       QX ZEVA Sysapi Expert"));
    EXPECT_THAT(outcome.out, HasSubstr("\n  Company name       Verantic Corporation\n"));
    EXPECT_THAT(outcome.out, HasSubstr("\n  Product version    18.5.0f0\n"));
    EXPECT_EQ(outcome.out.find("nQXVersion_"), std::string::npos) << "keys belong to the JSON";
    EXPECT_THAT(outcome.out, HasSubstr("Item img3: " + k_propertyCount + " properties"));
    EXPECT_THAT(outcome.out, HasSubstr("0x0700C000  Driver version"));
}

TEST(HostProgram, Names_only_prints_exactly_the_names) {
    EXPECT_EQ(RunHost("--names-only").out, "img0\nimg1\nimg2\nimg3\n");
    const Outcome example = RunHost("-n --boards " QX_EXAMPLE_BOARDS);
    EXPECT_EQ(example.out, "img0\ncamera\n");
    const Outcome none = RunHost("-n --boards " + WriteFile("none.toml", "driver_version = 1\n"));
    ASSERT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "");

    const Outcome json = RunHost("--names-only --json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json boards = nlohmann::json::parse(json.out)["boards"];
    ASSERT_EQ(boards.size(), 4u);
    EXPECT_FALSE(boards[0].contains("properties"));
    EXPECT_EQ(RunHost("-n -i IMG1").out, "img1\n") << "the listed name";
}

TEST(HostProgram, An_item_found_by_another_spelling_shows_the_listed_name) {
    const Outcome json = RunHost("--json --item IMG1");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);
    ASSERT_EQ(report["boards"].size(), 1u);
    EXPECT_EQ(report["boards"][0]["name"], "IMG1");
    EXPECT_EQ(report["boards"][0]["listedName"], "img1");
    EXPECT_EQ(report["boards"][0]["properties"]["item_name"], "IMG1");

    const Outcome line = RunHost("--item ImG2");
    ASSERT_EQ(line.exitCode, 0) << line.err;
    EXPECT_THAT(line.out, HasSubstr("\nimg2  00E93B15  PCI-1C  07:02.0  0x15030000\n"));
    const std::string verbose = RunHost("-v --item ImG2").out;
    EXPECT_THAT(verbose,
                HasSubstr("Item ImG2 (listed as img2): " + k_propertyCount + " properties"));
    EXPECT_THAT(verbose, ContainsRegex("Item name \\(as given\\) +string +\"ImG2\""));
    EXPECT_THAT(RunHost("-v --item img2").out,
                HasSubstr("Item img2: " + k_propertyCount + " properties"));
}

TEST(HostProgram, A_description_file_replaces_the_default_boards_by_either_route) {
    // Its third board refuses claims: the report is written, but not as success.
    const Outcome outcome = RunHost("--json --boards " QX_EXAMPLE_BOARDS);
    ASSERT_EQ(outcome.exitCode, 10) << outcome.err;
    const nlohmann::json report = nlohmann::json::parse(outcome.out);
    EXPECT_THAT(report["itemNames"].get<std::vector<std::string>>(), ElementsAre("img0", "camera"));
    const Outcome variable = RunHost("-n", "ZEVADRIVER_BOARDS=" QX_EXAMPLE_BOARDS);
    EXPECT_EQ(variable.out, "img0\ncamera\n");
    EXPECT_EQ(variable.err, outcome.err);
}

TEST(HostProgram, Boards_are_selected_by_pci_location_and_serial_number_in_every_output) {
    const struct {
        const char* arguments;
        const char* names;
    } k_cases[] = {
        {"-s 03:00.0", "img0\n"},
        {"--slot=04:", "img1\n"},
        {"-s .1", "img3\n"},
        {"-s 2", "img2\n"},
        {"-s :0.0", "img0\nimg1\n"},
        {"--serial 01C4A2F7", "img1\n"},
        {"--serial 1c4a2f7", "img1\n"},
        {"--serial 0x01C4A2F7", "img1\n"},
        {"-s 0000:04:00.0", "img1\n"},
        {"-i IMG1 -s 04:", "img1\n"},
        {"-s 03: --serial 01C4A2F0", "img0\n"},
        {"-s '*:*.*' --serial E93B15", "img2\n"},
    };
    for (const auto& selection : k_cases) {
        const Outcome names = RunHost(std::string("-n ") + selection.arguments);
        EXPECT_EQ(names.exitCode, 0) << selection.arguments << names.err;
        EXPECT_EQ(names.out, selection.names) << selection.arguments;
    }
    EXPECT_EQ(RunHost("-s 03:00.0").out, "Item  Serial    Model    PCI      Driver version\n"
                                         "img0  01C4A2F0  PCIe-4C  03:00.0  0x15030000\n");
    const nlohmann::json report = nlohmann::json::parse(RunHost("--json --serial 01C4A2F7").out);
    EXPECT_EQ(report["itemNames"].size(), 4u) << "every name, whatever the selection";
    ASSERT_EQ(report["boards"].size(), 1u);
    EXPECT_EQ(report["boards"][0]["name"], "img1");
    const std::string verbose = RunHost("-v -s 09:00.1").out;
    EXPECT_THAT(verbose, HasSubstr("Items (4)\n")) << "every name, whatever the selection";
    EXPECT_THAT(verbose, HasSubstr("\nItem img3: "));
    EXPECT_EQ(verbose.find("\nItem img2: "), std::string::npos);
    EXPECT_THAT(RunHost("--item IMG1 -s 04:00.0").out, HasSubstr("\nimg1  01C4A2F7"));
}

// "cd build && qxzeva-host -m qxzevaSysapiExpert.so": the file in the working folder, not one
// the loader would search its library path for; JSON names it by its absolute path.
TEST(HostProgram, Takes_a_bare_module_name_in_the_working_folder) {
    const std::string folder = QX_TEST_DATA_DIR;
    ASSERT_EQ(RunCommand("cp " QX_MODULE_PATH " " + folder + "/bare_module.so").exitCode, 0);
    const std::string here = "cd " + folder + " && ";
    const Outcome names = RunCommand(here + QX_HOST_PROGRAM " -n -m bare_module.so");
    EXPECT_EQ(names.exitCode, 0) << names.err;
    EXPECT_EQ(names.out, "img0\nimg1\nimg2\nimg3\n");
    const Outcome json =
        RunCommand(here + "env QXZEVA_MODULE=bare_module.so " QX_HOST_PROGRAM " -j -n");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out)["module"], folder + "/bare_module.so");
    std::remove((folder + "/bare_module.so").c_str());
}
