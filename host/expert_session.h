// One use of the module as the framework makes it: load, create the expert, ask, let go.
#ifndef QX_HOST_EXPERT_SESSION_H
#define QX_HOST_EXPERT_SESSION_H

#include "cli/c_view.h"
#include "host/call_trace.h"
#include "host/exit_codes.h"
#include "host/report.h"
#include "qxzeva/qxzeva_host.h"

#include "qxzeva/module_loader.h"

#include <string>

class ExpertSession {
public:
    // With a trace, every call across the module's interfaces is written to it.
    explicit ExpertSession(CallTrace* trace = nullptr) : m_trace(trace) {}
    ~ExpertSession();
    ExpertSession(const ExpertSession&) = delete;
    ExpertSession& operator=(const ExpertSession&) = delete;

    // Each returns k_exitOk or the exit code, with a one-line reason in *error. route says
    // where the module's path came from ("given with --module"), for the messages.
    HostExit Load(const std::string& modulePath, const std::string& route, std::string* error);
    HostExit Identify(HostReport* report, std::string* error);
    HostExit Initialize(std::string* error);
    HostExit ListNames(HostReport* report, std::string* error);
    HostExit ReportAll(HostReport* report, std::string* error);
    // After ListNames: an unknown item's error names the items there are, and a found one
    // has its listed spelling in report->listedItem.
    HostExit ReportItem(const std::string& name, HostReport* report, std::string* error);

    // Finalize, last Release, destructors, unmapping; also done by the destructor.
    void Close();

private:
    CallTrace* m_trace;
    qx_module* m_module = nullptr;
    qxzeva::Ref<IkcSysExpert2> m_expert;
    qxVersionArrayFunction m_versions = nullptr;
};

#endif
