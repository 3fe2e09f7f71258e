// Writes the host program's manual page: the template with the parts made from the option
// and exit-code tables. Usage: make_manual TEMPLATE OUTPUT
#include "host/manual_page.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual TEMPLATE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    const std::string page = ManualPage(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    if (page.empty()) {
        std::fprintf(stderr, "make_manual: %s lacks a part's place\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2]);
    out << page;
    out.close();
    return out ? 0 : 1;
}
