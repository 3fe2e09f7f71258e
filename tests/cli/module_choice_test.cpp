// Which module the programs load: the bare name of a file in the working folder is that file,
// and the JSON reports name it by its absolute path.
#include "cli/json_report.h"
#include "cli/module_choice.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

// Runs in a folder of its own holding one file, and goes back afterwards.
class InFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(m_back, sizeof m_back), nullptr);
        ASSERT_EQ(chdir(QX_TEST_DATA_DIR), 0);
        std::ofstream("kit_module_here.so") << "x";
        unsetenv("QXZEVA_MODULE"); // NOLINT(concurrency-mt-unsafe): one task
    }
    void TearDown() override {
        std::remove("kit_module_here.so");
        EXPECT_EQ(chdir(m_back), 0);
    }
    char m_back[4096] = {};
};

} // namespace

TEST_F(InFolder, A_bare_name_in_the_working_folder_is_that_file) {
    const ModuleChoice here = ChooseModule("kit_module_here.so", "given with --module");
    EXPECT_EQ(here.path, "./kit_module_here.so");
    EXPECT_EQ(here.route, "given with --module");
    // Not here: left to the loader's search, as any library name.
    EXPECT_EQ(ChooseModule("libc.so.6", "given").path, "libc.so.6");
    EXPECT_EQ(ChooseModule("sub/m.so", "given").path, "sub/m.so");
    setenv("QXZEVA_MODULE", "kit_module_here.so", 1); // NOLINT(concurrency-mt-unsafe): one task
    const ModuleChoice named = ChooseModule("", "given");
    EXPECT_EQ(named.path, "./kit_module_here.so");
    EXPECT_EQ(named.route, "named by QXZEVA_MODULE");
}

TEST_F(InFolder, Reports_name_the_module_by_its_absolute_path) {
    const std::string folder = QX_TEST_DATA_DIR;
    EXPECT_EQ(AbsoluteModulePath("./kit_module_here.so"), folder + "/kit_module_here.so");
    EXPECT_EQ(AbsoluteModulePath("sub/m.so"), folder + "/sub/m.so");
    EXPECT_EQ(AbsoluteModulePath("/lib/m.so"), "/lib/m.so");
    EXPECT_EQ(AbsoluteModulePath("libc.so.6"), "libc.so.6");
    const JsonDocument head = JsonReportHead(7, "./m.so");
    EXPECT_EQ(head.begin().key(), "schemaVersion");
    EXPECT_EQ(head["schemaVersion"], 7);
    EXPECT_EQ(head["module"], folder + "/m.so");
    EXPECT_EQ(JsonReportText(head),
              "{\n  \"schemaVersion\": 7,\n  \"module\": \"" + folder + "/m.so\"\n}\n");
}
