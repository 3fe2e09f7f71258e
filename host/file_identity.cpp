#include "host/file_identity.h"

#include <sys/stat.h>

bool SameFile(const std::string& first, const std::string& second) {
    struct stat one {};
    struct stat other {};
    return !first.empty() && !second.empty() && stat(first.c_str(), &one) == 0 &&
           stat(second.c_str(), &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}
