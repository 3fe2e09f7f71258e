// A capture of the driver's answers written as a board description (qxzeva-boards(5)) that
// the simulated driver replays: the same answers, so the same report.
#ifndef QX_HOST_BOARD_FILE_WRITER_H
#define QX_HOST_BOARD_FILE_WRITER_H

#include "host/board_capture.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// What the comment header says of where the capture came from.
struct CaptureOrigin {
    std::string modulePath;
    std::string expertVersion; // empty when the module was not asked
    std::time_t capturedAt = 0;
};

// The capture's time: SOURCE_DATE_EPOCH when it holds a number of seconds, so that a
// capture can be made again byte for byte; else now.
std::time_t CaptureTime();

// The whole file. A value the driver refused to give is left out with a comment naming the
// function and its status, so that the replay refuses the file rather than invent a value.
std::string BoardFileText(const BoardCapture& capture, const CaptureOrigin& origin);

// A driver text (ISO 8859-1, a byte a character) as a TOML basic string that reads back as
// the same bytes: quotes and backslashes escaped, control characters as \u00hh, the rest
// of ISO 8859-1 in UTF-8.
std::string TomlString(std::string_view latin1);

#endif
