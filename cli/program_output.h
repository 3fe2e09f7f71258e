// How a program of the package speaks: its output written whole or reported as not written,
// and its errors one line each, naming the program, whatever the texts in them hold.
#ifndef QX_CLI_PROGRAM_OUTPUT_H
#define QX_CLI_PROGRAM_OUTPUT_H

#include <cstdio>
#include <string>

// "NAME: message" on standard error, through TerminalText; returns code.
int Fail(const char* program, int code, const std::string& message);

// The system's words for an errno value; std::strerror may share its buffer between tasks.
std::string SystemReason(int error);

// Writes all of text and flushes it; returns 0 or the errno of the failure.
int WriteAll(std::FILE* out, const std::string& text);

// text on standard output; k_statusOk, else k_statusWrite with a message naming `what`. A reader
// that went away (a pager that quit) is no failure worth a message: with SIGPIPE at its
// default the program ends by the signal, as the usual tools do; where SIGPIPE is ignored the
// write fails with EPIPE and the exit status alone says so.
int WriteToStandardOutput(const char* program, const std::string& text, const std::string& what);

// The message for a failed write of `what` (none for EPIPE); returns k_statusWrite.
int FailedWrite(const char* program, const std::string& what, int error);

#endif
