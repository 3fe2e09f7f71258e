// Which module a program loads, by the same rules in every program of the package.
#ifndef QX_CLI_MODULE_CHOICE_H
#define QX_CLI_MODULE_CHOICE_H

#include <string>

struct ModuleChoice {
    std::string path;  // as the loader is to be given it
    std::string route; // where the path came from, for messages: "given with --module"
};

// The module given (route says how), else the one QXZEVA_MODULE names, else
// qxzevaSysapiExpert.so beside the program, as in a build folder, else the installed one. A
// bare file name that exists in the working folder means that file, as ./NAME: the loader
// would search its library path for it instead.
ModuleChoice ChooseModule(const std::string& given, const char* route);

// The path made absolute against the working folder, for reports that outlive the run; a bare
// name the loader searched for stays as it is.
std::string AbsoluteModulePath(const std::string& path);

#endif
