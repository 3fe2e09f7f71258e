// Reference counting, creation, interface lookup and ComPtrAssign on a small test component.
#include "com/comobject.h"

#include "alloc_failure.h"
#include "qxzeva/identifiers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

const _GUID IID_ITestFirst = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
const _GUID IID_ITestSecond = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 9}};
const _GUID IID_IFunctionRow = {0x44444444, 0x5555, 0x6666, {1, 1, 1, 1, 1, 1, 1, 1}};

class ITestFirst : public IUnknown {
public:
    virtual int First() = 0;

protected:
    ~ITestFirst() = default;
};

class ITestSecond : public IUnknown {
public:
    virtual int Second() = 0;

protected:
    ~ITestSecond() = default;
};

int g_destroyed = 0;

class CTestComponent : public virtual CQXComObjectRootEx<CQXComMultiThreadModelNoCS>,
                       public ITestFirst,
                       public ITestSecond {
public:
    static const InterfaceEntry* _GetEntries() {
        static const InterfaceEntry _entries[] = {
            {&IID_ITestFirst, OffsetOfBase<ITestFirst, CTestComponent>(), k_entrySimple},
            {&IID_ITestSecond, OffsetOfBase<ITestSecond, CTestComponent>(), k_entrySimple},
            {nullptr, 0, k_entryEnd}};
        return _entries;
    }
    int First() override { return 1; }
    int Second() override { return 2; }

protected:
    virtual ~CTestComponent() { ++g_destroyed; }
};

using TestObject = CQXComObject<CTestComponent>;

TestObject* volatile g_escaped = nullptr;

class ComObject : public ::testing::Test {
protected:
    void SetUp() override { g_destroyed = 0; }
};

} // namespace

TEST_F(ComObject, CreateInstance_gives_count_zero_and_first_AddRef_returns_one) {
    TestObject* object = reinterpret_cast<TestObject*>(0x1);
    ASSERT_EQ(TestObject::CreateInstance(&object), S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->RefCountForTesting(), 0);
    EXPECT_EQ(object->AddRef(), 1);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ComObject, Release_returns_the_count_after_the_decrement) {
    TestObject* object = TestObject::NewInstance();
    EXPECT_EQ(object->AddRef(), 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ComObject, MakeComObject_holds_the_first_reference_or_throws_what_creation_failed_with) {
    {
        CQXComPtr<TestObject> made = MakeComObject<CTestComponent>();
        ASSERT_TRUE(made);
        EXPECT_EQ(made->RefCountForTesting(), 1);
        const CQXComPtr<ITestSecond> second(std::move(made));
        EXPECT_EQ(second->Second(), 2);
        EXPECT_EQ(g_destroyed, 0);
    }
    EXPECT_EQ(g_destroyed, 1);
    const long live = LiveAllocations();
    AllocationFailure failure(AllocationFailure::k_operatorNew, 1);
    HRESULT thrown = S_OK;
    try {
        // Kept where the compiler cannot see it unused: an object nothing looks at may be
        // built without its allocation once its counting is inline.
        g_escaped = MakeComObject<CTestComponent>().get();
    } catch (HRESULT result) {
        thrown = result;
    }
    EXPECT_TRUE(failure.Failed());
    EXPECT_EQ(thrown, E_OUTOFMEMORY);
    EXPECT_EQ(LiveAllocations(), live);
}

TEST_F(ComObject, IUnknown_in_either_spelling_answers_the_first_row) {
    TestObject* object = TestObject::NewInstance();
    const _GUID unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    // The alternative spelling holds 00C0 in the fourth group.
    const _GUID alternative = {0x00000000, 0x0000, 0x0000, {0x00, 0xC0, 0, 0, 0, 0, 0, 0x46}};
    void* first = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_ITestFirst, &first), S_OK);
    for (const _GUID& iid : {unknown, alternative}) {
        void* out = reinterpret_cast<void*>(0x1);
        ASSERT_EQ(object->QueryInterface(iid, &out), S_OK);
        EXPECT_EQ(out, first);
    }
    EXPECT_EQ(object->Release(), 3);
    EXPECT_EQ(object->Release(), 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(object->Release(), 0);
}

TEST_F(ComObject, Second_interface_is_another_pointer_on_the_same_count) {
    TestObject* object = TestObject::NewInstance();
    void* second = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_ITestSecond, &second), S_OK);
    EXPECT_NE(second, static_cast<void*>(static_cast<ITestFirst*>(object)));
    auto* viaSecond = static_cast<ITestSecond*>(second);
    EXPECT_EQ(viaSecond->Second(), 2);
    EXPECT_EQ(viaSecond->AddRef(), 3);
    EXPECT_EQ(object->Release(), 2);
    EXPECT_EQ(viaSecond->Release(), 1);
    EXPECT_EQ(viaSecond->Release(), 0);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ComObject, Unknown_identifier_gives_E_NOINTERFACE_and_null_without_counting) {
    TestObject* object = TestObject::NewInstance();
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(IID_IkcSysEnumPropertyTag, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_ITestFirst, nullptr), E_POINTER);
    EXPECT_EQ(
        InternalQueryInterface(object, CTestComponent::_GetEntries(), IID_ITestFirst, nullptr),
        E_POINTER);
    EXPECT_EQ(object->Release(), 0);
}

TEST_F(ComObject, Release_without_a_reference_never_destroys_twice) {
#ifdef NDEBUG
    TestObject* object = nullptr;
    ASSERT_EQ(TestObject::CreateInstance(&object), S_OK);
    EXPECT_EQ(object->Release(), 0); // count was 0: a caller error, nothing happens
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(object->AddRef(), 1);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(g_destroyed, 1);
#else
    GTEST_SKIP() << "debug builds assert on this caller error";
#endif
}

TEST_F(ComObject, ComPtrAssign_takes_the_new_reference_before_dropping_the_old) {
    TestObject* first = TestObject::NewInstance();
    TestObject* second = TestObject::NewInstance();
    ITestFirst* slot = nullptr;
    EXPECT_EQ(ComPtrAssign<ITestFirst>(&slot, first), first);
    EXPECT_EQ(first->RefCountForTesting(), 2);
    ComPtrAssign<ITestFirst>(&slot, slot); // the same pointer again: must survive
    EXPECT_EQ(first->RefCountForTesting(), 2);
    ComPtrAssign<ITestFirst>(&slot, second);
    EXPECT_EQ(first->RefCountForTesting(), 1);
    EXPECT_EQ(second->RefCountForTesting(), 2);
    ComPtrAssign<ITestFirst>(&slot, nullptr);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(first->Release(), 0);
    EXPECT_EQ(second->Release(), 0);
    EXPECT_EQ(g_destroyed, 2);
}

namespace {

int g_rowCalls = 0;

HRESULT DeclineRow(void*, const _GUID&, void**, std::uint32_t) {
    ++g_rowCalls;
    return S_FALSE;
}
HRESULT FailRow(void*, const _GUID&, void**, std::uint32_t) {
    ++g_rowCalls;
    return E_FAIL;
}
HRESULT AnswerRow(void* object, const _GUID&, void** out, std::uint32_t offset) {
    ++g_rowCalls;
    auto* pointer = reinterpret_cast<IUnknown*>(static_cast<char*>(object) + offset);
    pointer->AddRef();
    *out = pointer;
    return S_OK;
}

} // namespace

TEST_F(ComObject, Function_rows_answer_decline_or_fail_and_blind_rows_never_stop_the_walk) {
    TestObject* object = TestObject::NewInstance();
    void* self = static_cast<CTestComponent*>(object);
    const std::uint32_t second = OffsetOfBase<ITestSecond, CTestComponent>();
    const InterfaceEntry table[] = {
        {&IID_ITestFirst, 0, k_entrySimple},
        {nullptr, 0, reinterpret_cast<std::uintptr_t>(&FailRow)}, // blind: failure ignored
        {&IID_IFunctionRow, 0, reinterpret_cast<std::uintptr_t>(&DeclineRow)}, // S_FALSE: go on
        {&IID_IFunctionRow, second, reinterpret_cast<std::uintptr_t>(&AnswerRow)},
        {&IID_ITestSecond, 0, reinterpret_cast<std::uintptr_t>(&FailRow)}, // named: failure ends
        {nullptr, 0, k_entryEnd}};
    g_rowCalls = 0;
    void* out = nullptr;
    EXPECT_EQ(InternalQueryInterface(self, table, IID_IFunctionRow, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(static_cast<ITestSecond*>(object)));
    EXPECT_EQ(g_rowCalls, 3);
    g_rowCalls = 0;
    EXPECT_EQ(InternalQueryInterface(self, table, IID_ITestSecond, &out), E_FAIL);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(g_rowCalls, 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(object->Release(), 0);
}
