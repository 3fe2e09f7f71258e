#include "cli/program_output.h"

#include "cli/exit_status.h"
#include "cli/terminal_text.h"

#include <cerrno>
#include <system_error>

int Fail(const char* program, int code, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, TerminalText(message).c_str());
    return code;
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

int WriteAll(std::FILE* out, const std::string& text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0)
        return 0;
    return errno != 0 ? errno : EIO;
}

int FailedWrite(const char* program, const std::string& what, int error) {
    if (error == EPIPE)
        return k_statusWrite;
    return Fail(program, k_statusWrite, "cannot write " + what + ": " + SystemReason(error));
}

int WriteToStandardOutput(const char* program, const std::string& text, const std::string& what) {
    const int error = WriteAll(stdout, text);
    return error == 0 ? k_statusOk : FailedWrite(program, what + " to standard output", error);
}
