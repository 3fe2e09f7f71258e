// Loading the built module the way the host does, for tests.
#ifndef QX_TESTS_MODULE_TEST_HELPERS_H
#define QX_TESTS_MODULE_TEST_HELPERS_H

#include "com/hresult.h"

#include "qxzeva/module_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class LoadedModule {
public:
    using Factory = HRESULT (*)(void**);
    using VersionArray = const char* const* (*)();

    LoadedModule() {
        char error[512] = {};
        m_module = qxLoadModule(QX_MODULE_PATH, &m_status, error, sizeof error);
        m_error = error;
    }
    ~LoadedModule() { qxUnloadModule(m_module); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

    template <class T>
    T Symbol(const char* name) const {
        return reinterpret_cast<T>(qxModuleSymbol(m_module, name));
    }
    Factory factory() const { return Symbol<Factory>("createZEVASysapiExpert"); }

private:
    qx_module* m_module = nullptr;
    qx_load_status m_status = QX_LOAD_OK;
    std::string m_error;
};

inline void FreeBoundaryString(char16_t* text) {
    if (text != nullptr)
        std::free(reinterpret_cast<unsigned char*>(text) - 4);
}

#endif
