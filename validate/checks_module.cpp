// The module as a file: its exports, its version record, its factory.
#include "validate/check.h"
#include "validate/checks.h"

#include <cstring>

void CheckLoads(CheckContext& cx) {
    ModuleUnderTest& m = cx.Module();
    char error[512];
    qx_load_status status = QX_LOAD_OK;
    const std::string call = "qxLoadModule(\"" + m.path + "\")";
    cx.Calling(call + ", running the module's constructors");
    qx_module* loaded = qxLoadModule(m.path.c_str(), &status, error, sizeof error);
    cx.Require(loaded != nullptr, "the module loads and its constructors run", call, error,
               "a loaded module");
    cx.Calling("qxUnloadModule(module), running the module's destructors");
    cx.Expect(qxUnloadModule(loaded) == 0, "the module unloads and its destructors run",
              "qxUnloadModule(module)", "-1", "0");
}

void CheckExports(CheckContext& cx) {
    ModuleUnderTest& m = cx.Module();
    for (const std::string* name : {&m.factoryName, &m.versionName})
        cx.Expect(qxModuleFunction(m.module, name->c_str()) != nullptr,
                  "the module exports its factory and its version-record function",
                  "qxModuleFunction(module, \"" + *name + "\")", "null", "the function's address");
}

void CheckVersionRecord(CheckContext& cx) {
    ModuleUnderTest& m = cx.Module();
    const auto function =
        reinterpret_cast<qxVersionArrayFunction>(qxModuleFunction(m.module, m.versionName.c_str()));
    if (function == nullptr)
        cx.Skip("the module does not export " + m.versionName);
    const std::string call = m.versionName + "()";
    cx.Calling(call);
    const char* const* record = function();
    if (record == nullptr) {
        cx.Expect(false, "the version record is a static array", call, "null",
                  "the first entry's address");
        return;
    }
    cx.Calling(call);
    cx.Expect(function() == record, "the version record is static: every call gives the same array",
              call + " twice", "two addresses", "one address");
    const std::string rule = "each entry is key=value, the key beginning nQXVersion_, no spaces "
                             "around the equals sign, and a null pointer ends the record";
    std::string productVersion;
    std::size_t count = 0;
    for (; count < 64 && record[count] != nullptr; ++count) {
        const std::string entry = record[count];
        const std::size_t equals = entry.find('=');
        const bool ok = entry.rfind("nQXVersion_", 0) == 0 && equals != std::string::npos &&
                        equals > 11 && entry[equals - 1] != ' ' &&
                        (equals + 1 == entry.size() || entry[equals + 1] != ' ');
        cx.Expect(ok, rule, call + "[" + std::to_string(count) + "]", "\"" + entry + "\"",
                  "nQXVersion_Key=value");
        if (entry.rfind("nQXVersion_ProductVersion=", 0) == 0)
            productVersion = entry.substr(std::strlen("nQXVersion_ProductVersion="));
    }
    cx.Require(count < 64 && count > 0, rule, call, std::to_string(count) + " entries, no end",
               "entries, then a null pointer");
    cx.Require(!productVersion.empty(), "the record gives the product version", call,
               "no nQXVersion_ProductVersion entry", "nQXVersion_ProductVersion=major.minor...");
    Ref<IkcSysExpert2> expert = cx.NewExpert();
    QX_WCHAR* version = nullptr;
    cx.Calling("IkcSysExpert2::GetProductVersion(&version)");
    const HRESULT result = expert->lpVtbl->GetProductVersion(expert.get(), &version);
    const std::u16string text = Owned(version);
    const std::u16string recorded = Wide(productVersion.c_str());
    // "18.5" agrees with "18.5.0f0": the record's version begins with it, then a non-digit.
    const bool agrees = result == S_OK && !text.empty() && recorded.rfind(text, 0) == 0 &&
                        (recorded.size() == text.size() || recorded[text.size()] < u'0' ||
                         recorded[text.size()] > u'9');
    cx.Expect(agrees, "the version record's product version begins with GetProductVersion's",
              "IkcSysExpert2::GetProductVersion(&version)",
              ResultText(result) + ", " + Quoted(text), "S_OK, the start of " + Quoted(recorded));
}

void CheckFactoryNullOut(CheckContext& cx) {
    ModuleUnderTest& m = cx.Module();
    const auto factory =
        reinterpret_cast<qxCreateExpertFunction>(qxModuleFunction(m.module, m.factoryName.c_str()));
    if (factory == nullptr)
        cx.Skip("the module does not export " + m.factoryName);
    const std::string call = m.factoryName + "(null)";
    cx.Calling(call);
    cx.ExpectResult(factory(nullptr), E_POINTER, "the factory refuses a null out-pointer", call);
}
