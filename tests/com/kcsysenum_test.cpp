// The item-name enumerator: batches, skipping, resetting and clones.
#include "com/kcsysenum.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t k_unwritten = 0xDEADBEEF;
char16_t* const k_unwrittenName = reinterpret_cast<char16_t*>(std::uintptr_t{0x5A5A5A50});

IkcSysEnumStringList* MakeNames(std::initializer_list<const char*> names) {
    auto list = std::make_unique<ItemNameList>();
    for (const char* name : names)
        list->emplace_back(name);
    return MakeEnumerator<CkcSysEnumItemNames>(std::move(list)).detach();
}

IkcSysEnumPropertyTag* MakeTags(std::initializer_list<std::uint32_t> tags) {
    return MakeEnumerator<CkcSysEnumPropertyTags>(std::make_unique<PropertyTagSet>(tags)).detach();
}

// Frees every string the way the host does and keeps copies of their texts.
std::vector<std::u16string> Receive(char16_t** names, std::uint32_t count) {
    std::vector<std::u16string> texts;
    for (std::uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(std::char_traits<char16_t>::length(names[i]), WideStringLength(names[i]));
        texts.emplace_back(names[i]);
        FreeWideString(names[i]);
    }
    return texts;
}

using Texts = std::vector<std::u16string>;

// Takes up to wanted names; the result and the count land in result and fetched.
Texts Next(IkcSysEnumStringList* names, std::uint32_t wanted, HRESULT* result) {
    std::vector<char16_t*> array(wanted + 1, k_unwrittenName);
    std::uint32_t fetched = k_unwritten;
    *result = names->Next(wanted, array.data(), &fetched);
    EXPECT_LE(fetched, wanted);
    return Receive(array.data(), fetched);
}

TEST(CkcSysEnumItemNames, Next_checks_its_array_and_count_pointer) {
    IkcSysEnumStringList* names = MakeNames({"a"});
    char16_t* array[1] = {k_unwrittenName};
    std::uint32_t fetched = k_unwritten;
    EXPECT_EQ(E_POINTER, names->Next(0, array, nullptr));
    EXPECT_EQ(E_POINTER, names->Next(2, nullptr, &fetched));
    EXPECT_EQ(k_unwritten, fetched);
    EXPECT_EQ(S_OK, names->Next(0, array, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(k_unwrittenName, array[0]);
    EXPECT_EQ(S_OK, names->Next(1, array, nullptr));
    EXPECT_EQ(Texts{u"a"}, Receive(array, 1));
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumItemNames, Next_hands_out_batches_until_the_end) {
    IkcSysEnumStringList* names = MakeNames({"board0", "Board1", "img2"});
    HRESULT result = E_FAIL;
    EXPECT_EQ((Texts{u"board0", u"Board1"}), Next(names, 2, &result));
    EXPECT_EQ(S_OK, result);
    EXPECT_EQ(Texts{u"img2"}, Next(names, 2, &result));
    EXPECT_EQ(S_FALSE, result);
    EXPECT_EQ(Texts{}, Next(names, 2, &result));
    EXPECT_EQ(S_FALSE, result);
    EXPECT_EQ(S_OK, names->Reset());
    EXPECT_EQ(Texts{u"board0"}, Next(names, 1, &result));
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumItemNames, Skip_moves_forward_and_reports_running_out) {
    IkcSysEnumStringList* names = MakeNames({"a", "b", "c"});
    HRESULT result = E_FAIL;
    EXPECT_EQ(S_OK, names->Skip(0));
    EXPECT_EQ(S_OK, names->Skip(1));
    EXPECT_EQ(Texts{u"b"}, Next(names, 1, &result));
    EXPECT_EQ(S_OK, names->Reset());
    EXPECT_EQ(S_OK, names->Skip(3));
    EXPECT_EQ(Texts{}, Next(names, 1, &result));
    EXPECT_EQ(S_OK, names->Reset());
    EXPECT_EQ(S_FALSE, names->Skip(5));
    EXPECT_EQ(Texts{}, Next(names, 1, &result));
    EXPECT_EQ(S_FALSE, result);
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumItemNames, Clone_starts_where_its_source_stands_and_moves_alone) {
    IkcSysEnumStringList* names = MakeNames({"a", "b", "c"});
    HRESULT result = E_FAIL;
    Next(names, 1, &result);
    IkcSysEnumStringList* clone = nullptr;
    ASSERT_EQ(S_OK, names->Clone(&clone));
    ASSERT_NE(nullptr, clone);
    EXPECT_NE(static_cast<void*>(names), static_cast<void*>(clone));
    EXPECT_EQ((Texts{u"b", u"c"}), Next(clone, 2, &result));
    EXPECT_EQ(Texts{u"b"}, Next(names, 1, &result));
    // The clone holds one reference on its source.
    EXPECT_EQ(3, names->AddRef());
    EXPECT_EQ(2, names->Release());
    EXPECT_EQ(0, clone->Release());
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumItemNames, Clone_stays_usable_after_its_source_is_released) {
    IkcSysEnumStringList* names = MakeNames({"a", "b"});
    IkcSysEnumStringList* clone = nullptr;
    ASSERT_EQ(S_OK, names->Clone(&clone));
    EXPECT_EQ(1, names->Release()); // the clone keeps the source, and so the list, alive
    IkcSysEnumStringList* second = nullptr;
    ASSERT_EQ(S_OK, clone->Clone(&second));
    EXPECT_EQ(0, clone->Release());
    HRESULT result = E_FAIL;
    EXPECT_EQ((Texts{u"a", u"b"}), Next(second, 3, &result));
    EXPECT_EQ(S_FALSE, result);
    EXPECT_EQ(0, second->Release());
}

TEST(CkcSysEnumItemNames, Answers_only_its_own_interface) {
    IkcSysEnumStringList* names = MakeNames({});
    void* other = k_unwrittenName;
    EXPECT_EQ(E_NOINTERFACE, names->QueryInterface(IID_IkcSysEnumPropertyTag, &other));
    EXPECT_EQ(nullptr, other);
    const _GUID unknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    ASSERT_EQ(S_OK, names->QueryInterface(unknown, &other));
    EXPECT_EQ(static_cast<void*>(names), other);
    EXPECT_EQ(1, names->Release());
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumItemNames, Enumerator_without_a_container_fails_every_walk) {
    CQXComObject<CkcSysEnumItemNames>* bare = nullptr;
    ASSERT_EQ(S_OK, CQXComObject<CkcSysEnumItemNames>::CreateInstance(&bare));
    IkcSysEnumStringList* names = bare;
    EXPECT_EQ(1, names->AddRef());
    char16_t* array[1] = {k_unwrittenName};
    std::uint32_t fetched = k_unwritten;
    EXPECT_EQ(E_FAIL, names->Next(1, array, &fetched));
    EXPECT_EQ(E_FAIL, names->Skip(1));
    EXPECT_EQ(E_FAIL, names->Reset());
    IkcSysEnumStringList* clone = names;
    EXPECT_EQ(E_FAIL, names->Clone(&clone));
    EXPECT_EQ(nullptr, clone);
    EXPECT_EQ(E_POINTER, names->Clone(nullptr));
    EXPECT_EQ(0, names->Release());
}

// Fails the copy whose number is s_failAt, counting from 0 in each Next.
struct FailingNameCopy {
    static inline int s_failAt = -1;
    static inline int s_copied = 0;
    static HRESULT copy(char16_t** to, const qx::kit::WideString* from) {
        // A failed copy may leave its slot as it found it: the enumerator clears it.
        if (s_copied++ == s_failAt)
            return E_OUTOFMEMORY;
        return CkcSysEnumItemNames::copy(to, from);
    }
    static void destroy(char16_t** name) { CkcSysEnumItemNames::destroy(name); }
};
using FailingNames = CQXComEnumOnSTL<IkcSysEnumStringList, &IID_IkcSysEnumStringList, char16_t*,
                                     FailingNameCopy, ItemNameList, CQXComMultiThreadModelNoCS>;

TEST(CQXComEnumOnSTL, Failed_copy_frees_the_batch_and_offers_it_again) {
    // The list lives on the stack: the shared template must never delete it.
    ItemNameList list{qx::kit::WideString("a"), qx::kit::WideString("b"), qx::kit::WideString("c"),
                      qx::kit::WideString("d")};
    CQXComObject<FailingNames>* object = MakeComObject<FailingNames>().detach();
    object->Init(nullptr, &list);
    IkcSysEnumStringList* names = object;
    EXPECT_EQ(S_OK, names->Skip(1));

    FailingNameCopy::s_failAt = 2;
    FailingNameCopy::s_copied = 0;
    char16_t* array[3] = {k_unwrittenName, k_unwrittenName, k_unwrittenName};
    std::uint32_t fetched = k_unwritten;
    EXPECT_EQ(E_OUTOFMEMORY, names->Next(3, array, &fetched));
    EXPECT_EQ(0u, fetched);
    for (char16_t* slot : array)
        EXPECT_EQ(nullptr, slot) << "a freed string left where the caller may free it again";

    FailingNameCopy::s_failAt = -1;
    HRESULT result = E_FAIL;
    EXPECT_EQ((Texts{u"b", u"c", u"d"}), Next(names, 3, &result));
    EXPECT_EQ(S_OK, result);
    EXPECT_EQ(0, names->Release());
}

TEST(CkcSysEnumPropertyTags, Tags_come_in_ascending_order) {
    IkcSysEnumPropertyTag* tags = MakeTags({9, 2, 5});
    std::uint32_t array[4] = {k_unwritten, k_unwritten, k_unwritten, k_unwritten};
    std::uint32_t fetched = k_unwritten;
    EXPECT_EQ(S_OK, tags->Next(1, array, &fetched));
    IkcSysEnumPropertyTag* clone = nullptr;
    ASSERT_EQ(S_OK, tags->Clone(&clone));
    EXPECT_EQ(1, tags->Release());
    EXPECT_EQ(S_FALSE, clone->Next(4, array + 1, &fetched));
    EXPECT_EQ(2u, fetched);
    EXPECT_EQ(2u, array[0]);
    EXPECT_EQ(5u, array[1]);
    EXPECT_EQ(9u, array[2]);
    EXPECT_EQ(k_unwritten, array[3]);
    EXPECT_EQ(0, clone->Release());
}

// Slots called by index, as a host built by another compiler does.
TEST(CkcSysEnumPropertyTags, Operations_sit_at_their_slots) {
    IkcSysEnumPropertyTag* tags = MakeTags({7});
    void** table = *reinterpret_cast<void***>(tags);
    using NextSlot = HRESULT (*)(void*, std::uint32_t, std::uint32_t*, std::uint32_t*);
    using SkipSlot = HRESULT (*)(void*, std::uint32_t);
    using ResetSlot = HRESULT (*)(void*);
    using CloneSlot = HRESULT (*)(void*, IkcSysEnumPropertyTag**);
    std::uint32_t tag = k_unwritten;
    std::uint32_t fetched = k_unwritten;
    EXPECT_EQ(S_OK, reinterpret_cast<NextSlot>(table[3])(tags, 1, &tag, &fetched));
    EXPECT_EQ(7u, tag);
    EXPECT_EQ(S_FALSE, reinterpret_cast<SkipSlot>(table[4])(tags, 1));
    EXPECT_EQ(S_OK, reinterpret_cast<ResetSlot>(table[5])(tags));
    IkcSysEnumPropertyTag* clone = nullptr;
    EXPECT_EQ(S_OK, reinterpret_cast<CloneSlot>(table[6])(tags, &clone));
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(0, clone->Release());
    EXPECT_EQ(0, tags->Release());
}

} // namespace
