// Running the host program as a person runs it, for the tests of what it prints and how it
// fails: its exit code, standard output and standard error.
#ifndef QX_TESTS_HOST_HOST_PROGRAM_H
#define QX_TESTS_HOST_HOST_PROGRAM_H

#include "qxzeva/property_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The number of properties every item holds, as the host program prints it.
inline const std::string k_propertyCount = std::to_string(QXZEVA_ITEM_PROPERTY_COUNT);

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs a shell command, its standard error kept apart.
inline Outcome RunCommand(const std::string& command) {
    // ctest runs cases in parallel processes: each keeps its own file.
    static int s_runs = 0;
    const std::string errPath = std::string(QX_TEST_DATA_DIR) + "/host_stderr_" +
                                std::to_string(getpid()) + "_" + std::to_string(++s_runs) + ".txt";
    Outcome outcome;
    FILE* pipe = popen((command + " 2>" + errPath).c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.out.append(buffer, read);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = ReadFile(errPath);
    std::remove(errPath.c_str());
    return outcome;
}

// environment: "NAME=value ..." set for the program alone.
inline Outcome RunHost(const std::string& arguments, const std::string& environment = "") {
    return RunCommand("env " + environment + " " + QX_HOST_PROGRAM + " " + arguments);
}

inline std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = std::string(QX_TEST_DATA_DIR) + "/" + name;
    std::ofstream(path) << text;
    return path;
}

// One line, naming the program.
inline void ExpectOneLineError(const Outcome& outcome, const std::string& part) {
    EXPECT_THAT(outcome.err, ::testing::HasSubstr("qxzeva-host: "));
    EXPECT_THAT(outcome.err, ::testing::HasSubstr(part));
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

#endif
