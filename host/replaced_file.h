// A file written beside its final name and renamed onto it once whole, so that a run that
// fails midway never leaves the file half written, nor truncates the one there before.
#ifndef QX_HOST_REPLACED_FILE_H
#define QX_HOST_REPLACED_FILE_H

#include <cstdio>
#include <string>

class ReplacedFile {
public:
    ReplacedFile() = default;
    ~ReplacedFile(); // removes the temporary file unless committed
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    // Creates the temporary file in the final file's folder (a device or a pipe is written
    // in place); false with the reason.
    bool Open(const std::string& path, std::string* error);
    std::FILE* Stream() const { return m_file; }
    // Closes the temporary file and renames it onto the final name; false with the reason,
    // the temporary file removed and the final one as it was.
    bool Commit(std::string* error);

private:
    std::string m_path;
    std::string m_temporary; // empty when written in place
    std::FILE* m_file = nullptr;
};

// The whole text as the file `path`, by way of a ReplacedFile; false with the reason.
bool WriteReplacedFile(const std::string& path, const std::string& text, std::string* error);

#endif
