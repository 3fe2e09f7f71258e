// Writes the image driver's function names from the one list that holds them, for the build:
// NAMES gets one name a line, WRAP one linker option a line that wraps the function (a
// response file for the compiler driver).
#include <zevadriver_control.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s NAMES WRAP\n", argv[0]);
        return 2;
    }
    std::FILE* names = std::fopen(argv[1], "w");
    std::FILE* wrap = std::fopen(argv[2], "w");
    bool written = names != nullptr && wrap != nullptr;
    for (const zevadriverFunctionEntry& entry : k_zevadriverFunctions) {
        written = written && std::fprintf(names, "%s\n", entry.name) > 0 &&
                  std::fprintf(wrap, "-Wl,--wrap=%s\n", entry.name) > 0;
    }
    // Both are closed whatever happened; a failed close is a failed write.
    if (names != nullptr && std::fclose(names) != 0)
        written = false;
    if (wrap != nullptr && std::fclose(wrap) != 0)
        written = false;
    if (!written)
        std::fprintf(stderr, "%s: cannot write %s and %s\n", argv[0], argv[1], argv[2]);
    return written ? 0 : 1;
}
