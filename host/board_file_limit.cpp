#include "host/board_file_limit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

std::string LimitText(std::uint64_t limit) {
    std::string text = std::to_string(limit) + " bytes";
    if (limit != 0 && limit % (std::uint64_t{1} << 20) == 0)
        text += " (" + std::to_string(limit >> 20) + " MiB)";
    return text;
}

std::string OverLimit(const std::string& path, const std::string& size, std::uint64_t limit) {
    return path + ": " + size + "more than the limit of " + LimitText(limit) +
           " for a board description; " + k_boardFileLimitVariable + " raises it";
}

// Closes a descriptor when it goes.
struct Descriptor {
    int value;
    ~Descriptor() {
        if (value >= 0)
            close(value);
    }
};

bool WriteAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool BoardFileLimit(std::uint64_t* limit, std::string* error) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* text = std::getenv(k_boardFileLimitVariable);
    *limit = k_boardFileLimit;
    if (text == nullptr || *text == '\0')
        return true;
    char* end = nullptr;
    errno = 0;
    const unsigned long long number =
        *text >= '0' && *text <= '9' ? std::strtoull(text, &end, 10) : 0;
    int shift = 0;
    if (end != nullptr && *end != '\0' && end[1] == '\0')
        shift = *end == 'K' ? 10 : *end == 'M' ? 20 : *end == 'G' ? 30 : -1;
    else if (end != nullptr && *end != '\0')
        shift = -1;
    if (end == nullptr || errno != 0 || number == 0 || shift < 0 ||
        number > (~std::uint64_t{0} >> shift)) {
        *error = std::string(k_boardFileLimitVariable) + "=" + text +
                 " is no size: a number of bytes, or of K, M or G (KiB, MiB or GiB), above 0";
        return false;
    }
    *limit = static_cast<std::uint64_t>(number) << shift;
    return true;
}

BoundedBoardFile::~BoundedBoardFile() {
    if (!m_copy.empty())
        std::remove(m_copy.c_str());
}

bool BoundedBoardFile::Open(const std::string& path, std::uint64_t limit, std::string* error) {
    m_path = path;
    struct stat status {};
    // A directory, or a file that cannot be looked at, is the driver's to report.
    if (stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode))
        return true;
    if (S_ISREG(status.st_mode)) {
        if (static_cast<std::uint64_t>(status.st_size) <= limit)
            return true;
        *error = OverLimit(path, std::to_string(status.st_size) + " bytes, ", limit);
        return false;
    }
    // A pipe or a device is read once: copied, within the limit, for the driver to read.
    const Descriptor in{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.value < 0) {
        *error = path + ": cannot be read: " + Reason(errno);
        return false;
    }
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/qxzeva-boards-XXXXXX";
    const Descriptor out{mkstemp(name.data())};
    if (out.value < 0) {
        *error = path + ": cannot be copied for reading: " + Reason(errno);
        return false;
    }
    m_copy = name;
    char block[65536];
    std::uint64_t copied = 0;
    for (;;) {
        const ssize_t got = read(in.value, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = path + ": read error: " + Reason(errno);
            return false;
        }
        if (got == 0)
            return true;
        copied += static_cast<std::uint64_t>(got);
        if (copied > limit) {
            *error = OverLimit(path, "", limit);
            return false;
        }
        if (!WriteAll(out.value, block, static_cast<std::size_t>(got))) {
            *error = path + ": cannot be copied for reading: " + Reason(errno);
            return false;
        }
    }
}

std::string BoundedBoardFile::AsGiven(std::string message) const {
    if (!m_copy.empty() && message.compare(0, m_copy.size(), m_copy) == 0)
        message.replace(0, m_copy.size(), m_path);
    return message;
}
