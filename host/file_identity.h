// Whether two names reach one file, whatever links or spellings lead to it.
#ifndef QX_HOST_FILE_IDENTITY_H
#define QX_HOST_FILE_IDENTITY_H

#include <string>

// True when both exist and are one file: the same device and inode.
bool SameFile(const std::string& first, const std::string& second);

#endif
