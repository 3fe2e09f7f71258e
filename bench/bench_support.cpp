#include "bench_support.h"

#include <algorithm>
#include <numeric>

std::vector<std::uint32_t> ShuffledIndices(std::uint32_t limit, std::size_t length,
                                           std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::uint32_t> pick(0, limit - 1);
    std::vector<std::uint32_t> indices(length);
    for (auto& index : indices)
        index = pick(random);
    return indices;
}

std::u16string TextOfUnits(std::size_t units) {
    std::u16string text(units, u'a');
    for (std::size_t i = 0; i < units; ++i)
        text[i] = static_cast<char16_t>(u'a' + i % 26);
    return text;
}

namespace {

constexpr _GUID k_guid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};

template <class SetBoolean, class SetInteger, class SetUnsigned, class SetDouble, class SetGuid,
          class SetString, class SetStamp>
void FillSeven(std::uint32_t count, SetBoolean b, SetInteger i, SetUnsigned u, SetDouble d,
               SetGuid g, SetString s, SetStamp t) {
    const std::u16string text = TextOfUnits(16);
    const kcSysAttrTimestampUTC stamp = MakeTimestampUTC(0, 3000000000u, 0x80000000u, 0);
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::uint32_t tag = TagOf(index);
        switch (index % 7) {
        case 0:
            b(tag, index % 2 == 0);
            break;
        case 1:
            i(tag, static_cast<std::int32_t>(index));
            break;
        case 2:
            u(tag, index);
            break;
        case 3:
            d(tag, index * 0.5);
            break;
        case 4:
            g(tag, k_guid);
            break;
        case 5:
            s(tag, text.c_str());
            break;
        default:
            t(tag, stamp);
            break;
        }
    }
}

} // namespace

void FillMixed(ModuleBag& bag, std::uint32_t count) {
    IkcSysPropertyBag3* b = bag.Get();
    FillSeven(
        count, [&](std::uint32_t t, bool v) { b->SetBooleanProperty(t, v ? 1 : 0); },
        [&](std::uint32_t t, std::int32_t v) { b->SetIntegerProperty(t, v); },
        [&](std::uint32_t t, std::uint32_t v) { b->SetUnsignedIntegerProperty(t, v); },
        [&](std::uint32_t t, double v) { b->SetDoubleProperty(t, v); },
        [&](std::uint32_t t, const _GUID& v) { b->SetGuidProperty(t, v); },
        [&](std::uint32_t t, const char16_t* v) { b->SetStringProperty(t, v); },
        [&](std::uint32_t t, const kcSysAttrTimestampUTC& v) {
            b->SetTimestampPropertyUTC(t, &v);
        });
}

void FillMixed(BaselineBag& bag, std::uint32_t count) {
    FillSeven(
        count, [&](std::uint32_t t, bool v) { bag.SetBoolean(t, v); },
        [&](std::uint32_t t, std::int32_t v) { bag.SetInteger(t, v); },
        [&](std::uint32_t t, std::uint32_t v) { bag.SetUnsigned(t, v); },
        [&](std::uint32_t t, double v) { bag.SetDouble(t, v); },
        [&](std::uint32_t t, const _GUID& v) { bag.SetGuid(t, v); },
        [&](std::uint32_t t, const char16_t* v) { bag.SetString(t, v); },
        [&](std::uint32_t t, const kcSysAttrTimestampUTC& v) { bag.SetTimestamp(t, v); });
}
