// The installed C++ view: its classes' tables agree slot for slot with the C view's, and a
// host calls the module's operations as methods and asks for any interface version.
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_cxx.h"
#include "qxzeva/qxzeva_host.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

// The byte offset of a virtual function in its class's table. Under the Itanium C++ ABI
// (GCC and Clang on x86_64 and PowerPC) a pointer to a virtual member function holds that
// offset plus one, then the adjustment of this.
template <class Method>
std::ptrdiff_t TableOffset(Method method) {
    struct Representation {
        std::ptrdiff_t pointer;
        std::ptrdiff_t adjustment;
    };
    static_assert(sizeof(Method) == sizeof(Representation), "an Itanium member pointer");
    Representation representation{};
    std::memcpy(&representation, &method, sizeof method);
    EXPECT_EQ(representation.pointer & 1, 1) << "not a virtual function";
    return representation.pointer - 1;
}

#define QX_EXPECT_SAME_SLOT(result, name, parameters)                                              \
    EXPECT_EQ(TableOffset(&Class::name), static_cast<std::ptrdiff_t>(offsetof(Table, name)))       \
        << #name;

template <class Class, class Table>
void ExpectOneTablePointer() {
    static_assert(sizeof(Class) == sizeof(void*), "an interface is one table pointer");
    static_assert(!std::has_virtual_destructor_v<Class>, "no destructor slots in the table");
}

TEST(CxxView, Every_class_has_the_C_views_slots_at_the_same_offsets) {
    {
        using Class = ::IkcSysExpert2;
        using Table = qxzeva::c::IkcSysExpert2Vtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSEXPERT2_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
    {
        using Class = ::IkcSysExpertPlugPlay;
        using Table = qxzeva::c::IkcSysExpertPlugPlayVtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSEXPERTPLUGPLAY_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
    {
        using Class = ::IkcSysPropertyBag3;
        using Table = qxzeva::c::IkcSysPropertyBag3Vtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSPROPERTYBAG3_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
    {
        using Class = ::IkcSysEnumStringList;
        using Table = qxzeva::c::IkcSysEnumStringListVtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSENUMSTRINGLIST_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
    {
        using Class = ::IkcSysEnumPropertyTag;
        using Table = qxzeva::c::IkcSysEnumPropertyTagVtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSENUMPROPERTYTAG_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
    {
        using Class = ::IkcSysPropertyBagCollection;
        using Table = qxzeva::c::IkcSysPropertyBagCollectionVtbl;
        ExpectOneTablePointer<Class, Table>();
        QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_TABLE(QX_EXPECT_SAME_SLOT, QXC, Class)
    }
}

struct ModuleUnloader {
    void operator()(qx_module* module) const { qxUnloadModule(module); }
};

// What a C++ host writes: operations as methods, each version asked for by its identifier.
TEST(CxxView, A_host_calls_methods_and_asks_for_earlier_versions) {
    const std::unique_ptr<qx_module, ModuleUnloader> module(
        qxLoadModule(QX_MODULE_PATH, nullptr, nullptr, 0));
    ASSERT_TRUE(module);
    qxzeva::Ref<IkcSysExpert2> expert;
    ASSERT_EQ(qxzeva::CreateExpert(module.get(), expert.put()), S_OK);
    ASSERT_EQ(expert->Initialize(), S_OK);
    {
        qxzeva::Ref<IkcSysPropertyBag> first;
        ASSERT_EQ(expert->GetPropertiesOfItem(u"img1", first.put()), S_OK);
        const qxzeva::Ref<IkcSysPropertyBag3> bag = first.try_as<IkcSysPropertyBag3>();
        ASSERT_TRUE(bag);
        qxzeva::WideString name;
        EXPECT_EQ(bag->GetStringProperty(kcSysTagItemName, name.put()), S_OK);
        EXPECT_EQ(name.utf8(), "img1");
        EXPECT_TRUE(bag.try_as<IkcSysPropertyBag2>());
        EXPECT_TRUE(bag.try_as<IkcSysPropertyBag>());
        EXPECT_FALSE(bag.try_as<IkcSysExpert>());
    }
    EXPECT_TRUE(expert.try_as<IkcSysExpertInfo>());
    EXPECT_TRUE(expert.try_as<IkcSysExpertPlugPlay>());
    EXPECT_FALSE(expert.try_as<IkcSysEnumStringList>());
    EXPECT_EQ(expert->Finalize(), S_OK);
    expert.reset();
    EXPECT_EQ(qxzeva::CreateExpert(module.get(), static_cast<IkcSysExpert2**>(nullptr)), E_POINTER);
    EXPECT_EQ(qxzeva::CreateExpert(nullptr, expert.put()), E_POINTER);
    EXPECT_FALSE(expert);
}

} // namespace
