#include "host/replaced_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

} // namespace

ReplacedFile::~ReplacedFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        if (!m_temporary.empty())
            std::remove(m_temporary.c_str());
    }
}

bool ReplacedFile::Open(const std::string& path, std::string* error) {
    m_path = path;
    // A device or a pipe (/dev/stdout, /dev/full) is written in place: it cannot be
    // replaced, and renaming onto it would put a plain file where it was.
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        m_file = std::fopen(path.c_str(), "w");
        if (m_file != nullptr)
            return true;
        *error = "cannot write " + path + ": " + Reason(errno);
        return false;
    }
    // Created new, never through a link an other user left there, with the permissions the
    // umask gives a new file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        const int descriptor =
            open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            break;
        m_file = fdopen(descriptor, "w");
        if (m_file != nullptr)
            return true;
        const int failure = errno;
        close(descriptor);
        std::remove(m_temporary.c_str());
        errno = failure;
        break;
    }
    *error = "cannot write " + path + ": " + Reason(errno);
    return false;
}

bool ReplacedFile::Commit(std::string* error) {
    std::FILE* file = m_file;
    m_file = nullptr;
    errno = 0;
    const bool written = std::ferror(file) == 0 && std::fflush(file) == 0;
    const int writeError = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 || !written) {
        *error = "cannot write " + m_path + ": " + Reason(written ? errno : writeError);
        if (!m_temporary.empty())
            std::remove(m_temporary.c_str());
        return false;
    }
    if (m_temporary.empty())
        return true;
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        *error = "cannot write " + m_path + ": " + Reason(errno);
        std::remove(m_temporary.c_str());
        return false;
    }
    return true;
}

bool WriteReplacedFile(const std::string& path, const std::string& text, std::string* error) {
    ReplacedFile file;
    if (!file.Open(path, error))
        return false;
    if (std::fwrite(text.data(), 1, text.size(), file.Stream()) != text.size()) {
        *error = "cannot write " + path + ": " + Reason(errno != 0 ? errno : EIO);
        return false;
    }
    return file.Commit(error);
}
