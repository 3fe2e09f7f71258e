#include "validate/runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef QX_COVERAGE
// The coverage build's counters of what a check reached, written before the child's _exit.
extern "C" void __gcov_dump(void); // NOLINT(bugprone-reserved-identifier): gcc's own
#endif

namespace {

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// One field of a record on the pipe: tabs, newlines and backslashes escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            fields.emplace_back();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += line[i];
        }
    }
    return fields;
}

// Runs the check and keeps what it found in context; a check that throws anything else has
// failed in the validator's own code, which is said so.
void RunCheck(const CheckRow& row, CheckContext& context) {
    context.Grading(row.grade);
    try {
        row.run(context);
    } catch (const CheckStop&) {
    } catch (const std::exception& error) {
        context.Expect(false, "the check runs to its end", context.LastOperation(),
                       std::string("the validator's own error: ") + error.what(), "no error");
    }
}

std::string Records(const CheckContext& context) {
    std::string text;
    for (const Failure& failure : context.Failures())
        text += std::string(failure.grade == Grade::choice ? "W" : "F") + "\t" +
                Escaped(failure.rule) + "\t" + Escaped(failure.call) + "\t" + Escaped(failure.got) +
                "\t" + Escaped(failure.expected) + "\n";
    if (!context.SkipReason().empty())
        text += "S\t" + Escaped(context.SkipReason()) + "\n";
    if (!context.NoteText().empty())
        text += "N\t" + Escaped(context.NoteText()) + "\n";
    return text;
}

void ReadRecords(const std::string& text, CheckResult& result) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::vector<std::string> fields = Fields(text.substr(start, end - start));
        if ((fields[0] == "F" || fields[0] == "W") && fields.size() == 5)
            result.failures.push_back({fields[1], fields[2], fields[3], fields[4],
                                       fields[0] == "W" ? Grade::choice : Grade::must});
        else if (fields[0] == "S" && fields.size() == 2)
            result.detail = fields[1];
        else if (fields[0] == "N" && fields.size() == 2)
            result.note = fields[1];
        start = end + 1;
    }
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

std::string ErrorText(int error) {
    const char* text = strerrordesc_np(error);
    return text != nullptr ? text : "error " + std::to_string(error);
}

std::string SignalText(int signal) {
    const char* abbreviation = sigabbrev_np(signal);
    const char* description = sigdescr_np(signal);
    return std::string("SIG") + (abbreviation != nullptr ? abbreviation : "?") + " (" +
           (description != nullptr ? description : "unknown signal") + ")";
}

// Reads the child's records until it closes the pipe or the time is up; false on time-out.
bool ReadUntilClosed(int fd, double deadline, std::string& text) {
    for (;;) {
        const double left = deadline - Now();
        if (left <= 0)
            return false;
        pollfd watched{fd, POLLIN, 0};
        const int ready = poll(&watched, 1, static_cast<int>(left * 1000) + 1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

void Classify(CheckResult& result, bool strict) {
    if (result.outcome != Outcome::passed)
        return;
    bool fails = false;
    for (const Failure& failure : result.failures)
        fails = fails || failure.grade == Grade::must || strict;
    if (fails)
        result.outcome = Outcome::failed;
    else if (!result.failures.empty())
        result.outcome = Outcome::warned;
    else if (!result.detail.empty())
        result.outcome = Outcome::skipped;
}

bool Fails(Outcome outcome) {
    return outcome == Outcome::failed || outcome == Outcome::crashed ||
           outcome == Outcome::timedOut;
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::passed:
        return "pass";
    case Outcome::warned:
        return "warn";
    case Outcome::failed:
        return "fail";
    case Outcome::crashed:
        return "crash";
    case Outcome::timedOut:
        return "timeout";
    case Outcome::skipped:
        return "skip";
    }
    return "?";
}

CheckResult RunInChild(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed,
                       double timeLimit, bool strict) {
    CheckResult result;
    result.row = &row;
    // The last operation's name, on a page the child writes before each call and the parent
    // reads after the child is gone.
    void* page = mmap(nullptr, k_lastOperationSize, PROT_READ | PROT_WRITE,
                      MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    int pipeEnds[2];
    if (page == MAP_FAILED || pipe(pipeEnds) != 0) {
        result.outcome = Outcome::failed;
        result.failures.push_back({"the validator can run the check", "mmap and pipe",
                                   ErrorText(errno), "a child process"});
        return result;
    }
    auto* lastOperation = static_cast<char*>(page);
    std::snprintf(lastOperation, k_lastOperationSize, "%s", "(no operation yet)");
    std::fflush(nullptr);
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        CheckContext context(module, lastOperation, seed, strict);
        RunCheck(row, context);
        WriteAll(pipeEnds[1], Records(context));
#ifdef QX_COVERAGE
        __gcov_dump();
#endif
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    const bool finished =
        child > 0 && ReadUntilClosed(pipeEnds[0], start + timeLimit * row.timeFactor, text);
    close(pipeEnds[0]);
    if (child > 0 && !finished)
        kill(child, SIGKILL);
    int status = 0;
    if (child > 0)
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    result.seconds = Now() - start;
    result.lastOperation = lastOperation;
    munmap(page, k_lastOperationSize);
    ReadRecords(text, result);
    if (child < 0) {
        result.outcome = Outcome::failed;
        result.failures.push_back(
            {"the validator can run the check", "fork()", ErrorText(errno), "a child process"});
    } else if (!finished) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%.0f", timeLimit * row.timeFactor);
        result.outcome = Outcome::timedOut;
        result.detail = std::string("no answer within ") + limit + " s";
    } else if (WIFSIGNALED(status)) {
        result.outcome = Outcome::crashed;
        result.detail = SignalText(WTERMSIG(status));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.outcome = Outcome::crashed;
        result.detail = "the process ended with status " + std::to_string(WEXITSTATUS(status));
    }
    Classify(result, strict);
    return result;
}

CheckResult RunInProcess(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed,
                         bool strict) {
    static char lastOperation[k_lastOperationSize];
    CheckResult result;
    result.row = &row;
    const double start = Now();
    CheckContext context(module, lastOperation, seed, strict);
    RunCheck(row, context);
    result.seconds = Now() - start;
    result.lastOperation = lastOperation;
    ReadRecords(Records(context), result);
    Classify(result, strict);
    return result;
}
