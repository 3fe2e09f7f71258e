// The most of a board description the program lets the driver read: a file larger than the
// limit is refused before it is read whole, naming the file and the limit, instead of being
// read into memory to its end (/dev/zero never ends).
#ifndef QX_HOST_BOARD_FILE_LIMIT_H
#define QX_HOST_BOARD_FILE_LIMIT_H

#include <cstdint>
#include <string>

constexpr std::uint64_t k_boardFileLimit = std::uint64_t{64} << 20;
constexpr char k_boardFileLimitVariable[] = "QXZEVA_BOARDS_LIMIT";

// k_boardFileLimit, or QXZEVA_BOARDS_LIMIT when set: bytes, or with K, M or G after the
// number KiB, MiB or GiB. False with the reason when it is not such a number.
bool BoardFileLimit(std::uint64_t* limit, std::string* error);

// A board description made ready for the driver within the limit. A regular file is
// measured and read by the driver itself; anything else (a pipe, a device) is copied, at
// most the limit, to a temporary file that the driver reads in its place, and the driver's
// messages are given back with the name the person gave.
class BoundedBoardFile {
public:
    BoundedBoardFile() = default;
    ~BoundedBoardFile();
    BoundedBoardFile(const BoundedBoardFile&) = delete;
    BoundedBoardFile& operator=(const BoundedBoardFile&) = delete;

    // False with "FILE: reason": larger than the limit, or not readable.
    bool Open(const std::string& path, std::uint64_t limit, std::string* error);
    // The file for the driver to read.
    const std::string& PathToLoad() const { return m_copy.empty() ? m_path : m_copy; }
    // A message of the driver's about PathToLoad(), about the file as given.
    std::string AsGiven(std::string message) const;

private:
    std::string m_path;
    std::string m_copy;
};

#endif
