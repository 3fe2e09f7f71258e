// The host program: loads the expert module as the host framework does and shows a person
// what it reports.
#include "host/expert_session.h"
#include "host/options.h"
#include "host/report.h"

#include <zevadriver_control.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string ExecutableDirectory() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string text(path, static_cast<std::size_t>(length));
    const auto slash = text.rfind('/');
    return slash == std::string::npos ? "." : text.substr(0, slash);
}

// Beside the program in a build folder, in ../lib when installed.
std::string DefaultModulePath() {
    const std::string directory = ExecutableDirectory();
    std::string beside = directory + "/" QX_DEFAULT_MODULE_NAME;
    if (access(beside.c_str(), F_OK) == 0)
        return beside;
    return directory + "/../lib/" QX_DEFAULT_MODULE_NAME;
}

int Fail(HostExit code, const std::string& message) {
    std::fprintf(stderr, "qxzeva-host: %s\n", message.c_str());
    return code;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

int Run(const HostOptions& options) {
    std::unique_ptr<std::FILE, FileCloser> traceFile;
    std::unique_ptr<CallTrace> trace;
    if (options.trace) {
        if (!options.traceFile.empty()) {
            traceFile.reset(std::fopen(options.traceFile.c_str(), "w"));
            if (!traceFile)
                return Fail(k_exitUsage, "cannot write the trace to " + options.traceFile);
        }
        trace = std::make_unique<CallTrace>(traceFile ? traceFile.get() : stderr);
    }
    if (!options.boardsFile.empty()) {
        char reason[512] = {};
        if (zevadriverLoadDescription(options.boardsFile.c_str(), reason, sizeof reason) != 0)
            return Fail(k_exitBoards, std::string("bad board description: ") + reason);
    }
    HostReport report;
    report.modulePath = options.modulePath.empty() ? DefaultModulePath() : options.modulePath;
    report.namesOnly = options.namesOnly;
    ExpertSession session(trace.get());
    std::string error;
    HostExit code = session.Load(report.modulePath, &error);
    if (code == k_exitOk)
        code = session.Identify(&report, &error);
    if (code == k_exitOk)
        code = session.Initialize(&error);
    if (code == k_exitOk)
        code = session.ListNames(&report, &error);
    if (code == k_exitOk && !options.namesOnly)
        code = options.item.empty() ? session.ReportAll(&report, &error)
                                    : session.ReportItem(options.item, &report, &error);
    if (code != k_exitOk)
        return Fail(code, error);
    session.Close();
    if (options.json)
        PrintReportJson(report, stdout);
    else
        PrintReportText(report, stdout);
    return k_exitOk;
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "qxzeva-host: %s (try --help)\n", error.c_str());
        return k_exitUsage;
    }
    if (options.help) {
        PrintHostUsage(argv[0]);
        return k_exitOk;
    }
    if (options.version) {
        std::printf("qxzeva-host " QX_HOST_VERSION "\n");
        return k_exitOk;
    }
    try {
        return Run(options);
    } catch (const std::exception& failure) {
        return Fail(k_exitOperation, failure.what());
    }
}
