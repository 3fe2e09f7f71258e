#include "cli/module_choice.h"

#include "qxzeva/module_loader.h"

#include <cstdlib>
#include <unistd.h>

namespace {

constexpr char k_defaultModuleName[] = "qxzevaSysapiExpert.so";

std::string ExecutableDirectory() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string text(path, static_cast<std::size_t>(length));
    const auto slash = text.rfind('/');
    return slash == std::string::npos ? "." : text.substr(0, slash);
}

ModuleChoice Unresolved(const std::string& given, const char* route) {
    if (!given.empty())
        return {given, route};
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* named = std::getenv(QX_MODULE_ENVIRONMENT);
    if (named != nullptr && *named != '\0')
        return {named, "named by " QX_MODULE_ENVIRONMENT};
    std::string beside = ExecutableDirectory() + "/" + k_defaultModuleName;
    char installed[4096] = {};
    if (access(beside.c_str(), F_OK) == 0 || qxInstalledModulePath(installed, sizeof installed) < 0)
        return {beside, "the one beside the program"};
    return {installed, "the installed default"};
}

} // namespace

ModuleChoice ChooseModule(const std::string& given, const char* route) {
    ModuleChoice choice = Unresolved(given, route);
    if (choice.path.find('/') == std::string::npos && access(choice.path.c_str(), F_OK) == 0)
        choice.path = "./" + choice.path;
    return choice;
}

std::string AbsoluteModulePath(const std::string& path) {
    if (path.empty() || path[0] == '/' || path.find('/') == std::string::npos)
        return path;
    char folder[4096] = {};
    if (getcwd(folder, sizeof folder) == nullptr)
        return path;
    std::string relative = path;
    while (relative.compare(0, 2, "./") == 0)
        relative.erase(0, 2);
    return std::string(folder) + (folder[1] == '\0' ? "" : "/") + relative;
}
