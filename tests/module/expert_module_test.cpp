// The built module as the host sees it: its exports, identity and the expert's table layout.
#include "com/enuminterfaces.h"
#include "com/guid.h"
#include "expert/expert_interfaces.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/qxzeva_c.h" // beside the C++ interfaces: a host may include both
#include "test_helpers.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::u16string TakeString(char16_t* text) {
    std::u16string copy = text != nullptr ? std::u16string(text) : std::u16string();
    FreeBoundaryString(text);
    return copy;
}

class ExpertModule : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_module.Loaded()) << m_module.Error();
        ASSERT_NE(m_module.factory(), nullptr);
        void* pointer = nullptr;
        ASSERT_EQ(m_module.factory()(&pointer), S_OK);
        m_expert = static_cast<::IkcSysExpert2*>(pointer);
    }
    void TearDown() override {
        if (m_expert != nullptr) {
            EXPECT_EQ(m_expert->Release(), 0);
        }
    }

    LoadedModule m_module;
    ::IkcSysExpert2* m_expert = nullptr;
};

// Calls slot `index` of the object's first table with the object as the hidden argument, as
// a host compiled by another compiler would.
template <class Result, class... Args>
Result CallSlot(void* object, std::size_t index, Args... args) {
    using Slot = Result (*)(void*, Args...);
    void** table = *static_cast<void***>(object);
    return reinterpret_cast<Slot>(table[index])(object, args...);
}

} // namespace

TEST_F(ExpertModule, Factory_with_null_out_pointer_returns_E_POINTER) {
    EXPECT_EQ(m_module.factory()(nullptr), E_POINTER);
}

TEST_F(ExpertModule, Every_slot_of_IkcSysExpert2_answers_at_its_index) {
    void* self = m_expert;
    void* other = nullptr;
    EXPECT_EQ((CallSlot<HRESULT, const _GUID*, void**>(self, 0, &IID_IkcSysExpert2, &other)), S_OK);
    EXPECT_EQ(other, self);
    EXPECT_EQ((CallSlot<std::int32_t>(self, 1)), 3); // factory's, QueryInterface's, this one
    EXPECT_EQ((CallSlot<std::int32_t>(self, 2)), 2);
    EXPECT_EQ((CallSlot<std::int32_t>(self, 2)), 1);

    EXPECT_EQ((CallSlot<HRESULT, _GUID*>(self, 3, nullptr)), E_POINTER);
    for (std::size_t slot = 4; slot <= 6; ++slot)
        EXPECT_EQ((CallSlot<HRESULT, char16_t**>(self, slot, nullptr)), E_POINTER) << slot;
    _GUID id{};
    EXPECT_EQ((CallSlot<HRESULT, _GUID*>(self, 3, &id)), S_OK);
    EXPECT_EQ(id.Data1, 0x2AB917E5u);
    char16_t* text = reinterpret_cast<char16_t*>(0x1);
    EXPECT_EQ((CallSlot<HRESULT, char16_t**>(self, 4, &text)), S_OK);
    EXPECT_EQ(TakeString(text), u"QX ZEVA Sysapi Expert");
    EXPECT_EQ((CallSlot<HRESULT, char16_t**>(self, 5, &text)), S_OK);
    EXPECT_EQ(TakeString(text), u"18.5");
    EXPECT_EQ((CallSlot<HRESULT, char16_t**>(self, 6, &text)), S_OK);
    EXPECT_EQ(TakeString(text), u"qxzeva");
    EXPECT_TRUE(SUCCEEDED((CallSlot<HRESULT>(self, 7)))); // Initialize
    EXPECT_EQ((CallSlot<HRESULT>(self, 8)), S_OK);        // Finalize
    EXPECT_EQ((CallSlot<HRESULT, void*>(self, 9, nullptr)), E_POINTER);
    EXPECT_EQ((CallSlot<HRESULT, void**>(self, 10, nullptr)), E_POINTER);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, void**>(self, 11, u"x", nullptr)), E_POINTER);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, std::uint32_t, const std::uint32_t*, int, void**>(
                  self, 12, nullptr, 0, nullptr, 0, nullptr)),
              E_NOTIMPL);
    EXPECT_EQ((CallSlot<HRESULT, std::int32_t>(self, 13, 0)), E_NOTIMPL);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, const char16_t*, std::int32_t, int*, char16_t**>(
                  self, 14, nullptr, nullptr, 0, nullptr, nullptr)),
              E_NOTIMPL);
    char16_t* message = reinterpret_cast<char16_t*>(0x1);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, void*, void**, char16_t**>(
                  self, 15, nullptr, nullptr, nullptr, &message)),
              E_POINTER);
    EXPECT_EQ(message, nullptr);
    void* tags = reinterpret_cast<void*>(0x1);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, void*, void**, char16_t**>(self, 15, nullptr,
                                                                             self, &tags, nullptr)),
              E_NOTIMPL);
    EXPECT_EQ(tags, nullptr);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, void*, void**, char16_t**>(
                  self, 15, nullptr, nullptr, &tags, nullptr)),
              E_POINTER);
    EXPECT_EQ((CallSlot<HRESULT, const char16_t*, void*, int*>(self, 16, nullptr, self, nullptr)),
              E_NOTIMPL);
    EXPECT_EQ(
        (CallSlot<HRESULT, const char16_t*, void*, int*>(self, 16, nullptr, nullptr, nullptr)),
        E_POINTER);
}

TEST_F(ExpertModule, PlugPlay_pointer_differs_but_shares_the_count) {
    void* plugPlay = nullptr;
    ASSERT_EQ(m_expert->QueryInterface(IID_IkcSysExpertPlugPlay, &plugPlay), S_OK);
    EXPECT_NE(plugPlay, static_cast<void*>(m_expert));
    auto* other = static_cast<::IkcSysExpertPlugPlay*>(plugPlay);
    EXPECT_EQ(other->RegisterNotificationCallback(nullptr), E_NOTIMPL);
    EXPECT_EQ(other->AddRef(), 3);
    EXPECT_EQ(m_expert->Release(), 2);
    EXPECT_EQ(other->Release(), 1);
}

TEST_F(ExpertModule, Product_id_bytes_follow_the_host_byte_order) {
    _GUID id{};
    ASSERT_EQ(m_expert->GetProductID(&id), S_OK);
    unsigned char bytes[16];
    std::memcpy(bytes, &id, sizeof bytes);
    const unsigned char bigEndian[16] = {0x2A, 0xB9, 0x17, 0xE5, 0x7A, 0x6D, 0x4F, 0x53,
                                         0xA3, 0x1F, 0x04, 0x8F, 0x22, 0xA0, 0x56, 0x08};
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    EXPECT_EQ(std::memcmp(bytes, bigEndian, sizeof bytes), 0);
#else
    const unsigned char littleEndian[16] = {0xE5, 0x17, 0xB9, 0x2A, 0x6D, 0x7A, 0x53, 0x4F,
                                            0xA3, 0x1F, 0x04, 0x8F, 0x22, 0xA0, 0x56, 0x08};
    EXPECT_EQ(std::memcmp(bytes, littleEndian, sizeof bytes), 0);
    EXPECT_NE(std::memcmp(bytes, bigEndian, sizeof bytes), 0);
#endif
}

TEST_F(ExpertModule, Version_record_has_nine_key_value_strings_then_null) {
    auto versions = m_module.Symbol<LoadedModule::VersionArray>(
        "nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray");
    ASSERT_NE(versions, nullptr);
    const char* const* entries = versions();
    std::vector<std::string> lines;
    for (; *entries != nullptr; ++entries)
        lines.emplace_back(*entries);
    ASSERT_EQ(lines.size(), 9u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("nQXVersion_", 0), 0u) << line;
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_NE(line[equals - 1], ' ');
    }
    EXPECT_EQ(lines[0], "nQXVersion_CompanyName=Verantic Corporation");
    EXPECT_EQ(lines[5], "nQXVersion_ProductVersion=18.5.0f0");
    EXPECT_EQ(lines[7], "nQXVersion_InternalName=QXZEVA_SYSAPI_EXPERT 18.5.0f0");
}

TEST(ModuleLoader, Missing_module_is_reported_as_not_found) {
    qx_load_status status = QX_LOAD_OK;
    char error[256];
    EXPECT_EQ(qxLoadModule("no/such/module.so", &status, error, sizeof error), nullptr);
    EXPECT_EQ(status, QX_LOAD_NOT_FOUND);
    EXPECT_EQ(std::string(error).rfind(std::string(qxLoadStatusText(status)) + ": ", 0), 0u)
        << error;
}

TEST(ModuleLoader, Loading_twice_and_unloading_twice_keeps_the_module_working) {
    LoadedModule first;
    {
        LoadedModule second; // runs the constructor table again: no effect
        ASSERT_TRUE(second.Loaded());
    } // runs the destructors, but the first load still maps it
    ASSERT_TRUE(first.Loaded());
    void* expert = nullptr;
    ASSERT_EQ(first.factory()(&expert), S_OK);
    EXPECT_EQ(static_cast<::IUnknown*>(static_cast<::IkcSysExpert2*>(expert))->Release(), 0);
}

// One object through both views in one translation unit: the C view's table is the C++
// interface's, and the version it reports is the product's.
TEST_F(ExpertModule, C_view_and_Cpp_interface_reach_the_same_slots) {
    auto* viaC = reinterpret_cast<qxzeva::c::IkcSysExpert2*>(m_expert);
    EXPECT_EQ(viaC->lpVtbl->AddRef(viaC), 2);
    EXPECT_EQ(m_expert->Release(), 1);
    QX_WCHAR* version = nullptr;
    ASSERT_EQ(viaC->lpVtbl->GetProductVersion(viaC, &version), S_OK);
    EXPECT_EQ(std::string(version, version + qxWideStringLength(version)), "18.5");
    qxFreeWideString(version);
}

// Restores QXZEVA_MODULE as it was.
class ModuleEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv(QX_MODULE_ENVIRONMENT);
        m_had = value != nullptr;
        m_value = m_had ? value : "";
        unsetenv(QX_MODULE_ENVIRONMENT);
    }
    void TearDown() override {
        if (m_had)
            setenv(QX_MODULE_ENVIRONMENT, m_value.c_str(), 1);
        else
            unsetenv(QX_MODULE_ENVIRONMENT);
    }

private:
    bool m_had = false;
    std::string m_value;
};

TEST_F(ModuleEnvironment, Installed_module_path_is_the_environments_else_beside_the_loader) {
    char path[4096] = "sentinel";
    ASSERT_GT(qxInstalledModulePath(path, sizeof path), 0);
    // In the build folder the module lies beside the loader, with no qxzeva folder there.
    EXPECT_TRUE(std::filesystem::equivalent(path, QX_MODULE_PATH)) << path;

    setenv(QX_MODULE_ENVIRONMENT, "/elsewhere/module.so", 1);
    EXPECT_EQ(qxInstalledModulePath(path, sizeof path), 20);
    EXPECT_STREQ(path, "/elsewhere/module.so");
    setenv(QX_MODULE_ENVIRONMENT, "", 1); // empty counts as unset
    ASSERT_GT(qxInstalledModulePath(path, sizeof path), 0);
    EXPECT_TRUE(std::filesystem::equivalent(path, QX_MODULE_PATH)) << path;
}

TEST_F(ModuleEnvironment, Installed_module_path_that_does_not_fit_leaves_an_empty_text) {
    setenv(QX_MODULE_ENVIRONMENT, "/elsewhere/module.so", 1);
    char path[20] = "sentinel"; // one byte short of the terminator
    EXPECT_EQ(qxInstalledModulePath(path, sizeof path), -1);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(qxInstalledModulePath(nullptr, 0), -1);
}

// The board file is UTF-8 and the driver's texts are 8-bit: the reader keeps them in
// ISO 8859-1, the set the module widens byte by byte, so a name arrives as written.
TEST_F(ExpertModule, A_name_outside_ASCII_arrives_as_the_board_file_writes_it) {
    const std::string path = ::testing::TempDir() + "latin1_boards.toml";
    std::ofstream(path) << "driver_version = 1\n[[board]]\nserial_number = 1\n"
                           "active_file = \"Kamera-\u00DC1.zid\"\npci_bus = 1\npci_device = 0\n"
                           "pci_function = 0\npci_id = 0\nboard_name = \"ZEVA K\u00E4se\"\n";
    char error[256] = {};
    ASSERT_EQ(zevadriverLoadDescription(path.c_str(), error, sizeof error), 0) << error;
    ASSERT_EQ(m_expert->Initialize(), S_OK);
    ::IkcSysEnumStringList* names = nullptr;
    ASSERT_EQ(m_expert->SearchForItemNames(&names), S_OK);
    char16_t* name = nullptr;
    EXPECT_EQ(names->Next(1, &name, nullptr), S_OK);
    EXPECT_EQ(TakeString(name), u"Kamera-\u00DC1");
    EXPECT_EQ(names->Release(), 0);
    ::IkcSysPropertyBag* bag = nullptr;
    ASSERT_EQ(m_expert->GetPropertiesOfItem(u"Kamera-\u00DC1", &bag), S_OK);
    char16_t* model = nullptr;
    EXPECT_EQ(bag->GetStringProperty(kcSysTagModel, &model), S_OK);
    EXPECT_EQ(TakeString(model), u"K\u00E4se");
    EXPECT_EQ(bag->Release(), 0);
    EXPECT_EQ(m_expert->Finalize(), S_OK);
    zevadriverReset();
}
