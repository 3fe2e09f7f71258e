// Sequences of wide-string operations on a few strings, each checked after every step against
// a std::u16string model: content, length, terminator, capacity rules (exact blocks, doubling
// on append, shrinking on assign below half), deep copies, text taken from the string's own
// block, and the guarded sizes that must raise OutOfRange and leave the string as it was.
#include "fuzz_check.h"

#include "qx/kit/Exception.h"
#include "qx/kit/StringBase.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using qx::kit::WideString;
using qx::kit::exception::OutOfRange;

constexpr std::size_t k_slots = 4;
constexpr std::uint32_t k_mostUnits = 48;
// Joins and self-appends double a string at each step; beyond this the run only compares
// ever longer copies, so the string starts over empty.
constexpr std::size_t k_longest = 4096;

struct Slot {
    std::unique_ptr<WideString> string;
    std::u16string model;
};

std::u16string Text(const WideString& s) {
    return std::u16string(s.c_str(), s.length());
}

void CheckSlot(const Slot& slot) {
    const WideString& s = *slot.string;
    FUZZ_CHECK(s.c_str() != nullptr);
    FUZZ_CHECK(s.length() == slot.model.size());
    FUZZ_CHECK(s.capacity() >= s.length());
    FUZZ_CHECK(s.c_str()[s.length()] == 0);
    FUZZ_CHECK(Text(s) == slot.model);
}

std::u16string Units(FuzzedDataProvider& input, std::uint32_t most) {
    const auto count = input.ConsumeIntegralInRange<std::uint32_t>(0, most);
    std::u16string units;
    for (std::uint32_t i = 0; i < count; ++i) {
        // Mostly letters, so that case-insensitive comparison finds equal texts.
        const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
        if (pick < 160)
            units += static_cast<char16_t>((pick % 2 ? u'a' : u'A') + pick % 4);
        else if (pick < 250)
            units += static_cast<char16_t>(pick);
        else
            units += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
    }
    return units;
}

// The units in a heap block of their own size, so a read past them is seen.
std::unique_ptr<char16_t[]> HeapCopy(const std::u16string& units, bool terminate) {
    std::unique_ptr<char16_t[]> copy(new char16_t[units.size() + (terminate ? 1 : 0)]);
    std::copy(units.begin(), units.end(), copy.get());
    if (terminate)
        copy[units.size()] = 0;
    return copy;
}

int ModelCompareNoCase(const std::u16string& a, const std::u16string& b) {
    const auto upper = [](char16_t unit) -> int {
        return unit <= 0xFF ? std::toupper(unit) : unit;
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return upper(a[i]) - upper(b[i]);
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

// Expected capacity after an assignment of count units to a block of capacity units.
std::uint32_t AssignedCapacity(std::uint32_t capacity, std::uint32_t count) {
    return count > capacity || std::uint64_t{count} * 2 < capacity ? count : capacity;
}

// Expected capacity after appending count units.
std::uint32_t AppendedCapacity(std::uint32_t length, std::uint32_t capacity, std::uint32_t count) {
    if (count == 0 || capacity - length >= count)
        return capacity;
    return 2 * (length + count);
}

template <class Operation>
bool RaisesOutOfRange(Operation operation) {
    try {
        operation();
    } catch (const OutOfRange&) {
        return true;
    }
    return false;
}

class Run {
public:
    explicit Run(FuzzedDataProvider& input) : m_input(input) {
        for (Slot& slot : m_slots)
            slot.string = std::make_unique<WideString>();
    }

    void Step() {
        Slot& slot = m_slots[Pick()];
        const Slot& other = m_slots[Pick()];
        switch (m_input.ConsumeIntegralInRange(0, 15)) {
        case 0:
            Construct(slot);
            break;
        case 1:
            Substring(slot, other);
            break;
        case 2: {
            const Slot& second = m_slots[Pick()];
            const std::u16string model = other.model + second.model;
            auto joined = std::make_unique<WideString>(*other.string, *second.string);
            FUZZ_CHECK(joined->capacity() == joined->length());
            slot.model = model;
            slot.string = std::move(joined);
            break;
        }
        case 3: {
            const std::u16string model = other.model;
            *slot.string = *other.string; // also onto itself
            slot.model = model;
            break;
        }
        case 4:
            Assign(slot, Units(m_input, k_mostUnits));
            break;
        case 5:
            AssignOwn(slot);
            break;
        case 6:
            Append(slot, Units(m_input, k_mostUnits));
            break;
        case 7:
            AppendOwn(slot);
            break;
        case 8:
            AppendText(slot);
            break;
        case 9:
            Find(slot);
            break;
        case 10: {
            const int result = slot.string->compareNoCase(*other.string);
            FUZZ_CHECK(result == ModelCompareNoCase(slot.model, other.model));
            FUZZ_CHECK(slot.string->equalsNoCase(*other.string) == (result == 0));
            break;
        }
        case 11:
            Poke(slot);
            break;
        case 12:
            Narrow(slot);
            break;
        case 13:
            Oversized(slot);
            break;
        case 14: {
            auto copy = std::make_unique<WideString>(*other.string);
            FUZZ_CHECK(copy->capacity() == copy->length());
            FUZZ_CHECK(copy->c_str() != other.string->c_str());
            slot.model = other.model;
            slot.string = std::move(copy);
            break;
        }
        default: {
            const std::u16string units = Units(m_input, k_mostUnits);
            slot.string = std::make_unique<WideString>(HeapCopy(units, true).get());
            slot.model = units.substr(0, units.find(u'\0'));
            break;
        }
        }
        for (Slot& each : m_slots) {
            CheckSlot(each);
            if (each.model.size() > k_longest) {
                each.string = std::make_unique<WideString>();
                each.model.clear();
            }
        }
    }

private:
    std::size_t Pick() { return m_input.ConsumeIntegralInRange<std::size_t>(0, k_slots - 1); }

    void Construct(Slot& slot) {
        const std::u16string units = Units(m_input, k_mostUnits);
        const auto block = HeapCopy(units, false);
        slot.string =
            std::make_unique<WideString>(block.get(), static_cast<std::uint32_t>(units.size()));
        FUZZ_CHECK(slot.string->capacity() == units.size());
        slot.model = units;
    }

    void Substring(Slot& slot, const Slot& source) {
        const std::uint32_t length = source.string->length();
        const auto position = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length + 2);
        std::uint32_t count = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length + 2);
        const std::uint8_t kind = m_input.ConsumeIntegral<std::uint8_t>() % 4;
        if (kind == 1)
            count = WideString::npos;
        else if (kind == 2)
            count = 0xFFFFFFFFu - m_input.ConsumeIntegralInRange<std::uint32_t>(1, 3);
        const bool overflows =
            count != WideString::npos && std::uint64_t{position} + count > 0xFFFFFFFFu;
        if (position > length || overflows) {
            FUZZ_CHECK(RaisesOutOfRange([&] { WideString(*source.string, position, count); }));
            return;
        }
        auto part = std::make_unique<WideString>(*source.string, position, count);
        const std::uint64_t end = std::uint64_t{position} + count;
        const std::uint32_t taken =
            count == WideString::npos || end > length ? length - position : count;
        slot.model = source.model.substr(position, taken);
        slot.string = std::move(part);
    }

    void Assign(Slot& slot, const std::u16string& units) {
        const std::uint32_t capacity = slot.string->capacity();
        const auto block = HeapCopy(units, false);
        slot.string->assign(block.get(), static_cast<std::uint32_t>(units.size()));
        slot.model = units;
        FUZZ_CHECK(slot.string->capacity() ==
                   AssignedCapacity(capacity, static_cast<std::uint32_t>(units.size())));
    }

    // Text from the string's own block, at any offset: it may move or shrink under the text.
    void AssignOwn(Slot& slot) {
        const std::uint32_t length = slot.string->length();
        const auto offset = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length);
        const auto count = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length - offset);
        slot.string->assign(slot.string->c_str() + offset, count);
        slot.model = slot.model.substr(offset, count);
    }

    void Append(Slot& slot, const std::u16string& units) {
        const std::uint32_t length = slot.string->length();
        const std::uint32_t capacity = slot.string->capacity();
        const auto block = HeapCopy(units, false);
        slot.string->append(block.get(), static_cast<std::uint32_t>(units.size()));
        slot.model += units;
        FUZZ_CHECK(slot.string->capacity() ==
                   AppendedCapacity(length, capacity, static_cast<std::uint32_t>(units.size())));
    }

    void AppendOwn(Slot& slot) {
        const std::uint32_t length = slot.string->length();
        const auto offset = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length);
        const auto count = m_input.ConsumeIntegralInRange<std::uint32_t>(0, length - offset);
        slot.string->append(slot.string->c_str() + offset, count);
        slot.model += slot.model.substr(offset, count);
    }

    void AppendText(Slot& slot) {
        if (m_input.ConsumeBool()) {
            slot.string->append(static_cast<const char16_t*>(nullptr));
            return;
        }
        const std::u16string units = Units(m_input, k_mostUnits);
        slot.string->append(HeapCopy(units, true).get());
        slot.model += units.substr(0, units.find(u'\0'));
    }

    void Find(const Slot& slot) {
        const char16_t unit =
            slot.model.empty() || m_input.ConsumeBool()
                ? static_cast<char16_t>(m_input.ConsumeIntegral<std::uint16_t>())
                : slot.model[m_input.ConsumeIntegralInRange<std::size_t>(0, slot.model.size() - 1)];
        const auto position =
            m_input.ConsumeIntegralInRange<std::uint32_t>(0, slot.string->length() + 2);
        const std::size_t found =
            position > slot.model.size() ? std::u16string::npos : slot.model.find(unit, position);
        const std::uint32_t expected =
            found == std::u16string::npos ? WideString::npos : static_cast<std::uint32_t>(found);
        FUZZ_CHECK(slot.string->find(unit, position) == expected);
    }

    void Poke(Slot& slot) {
        if (slot.model.empty())
            return;
        const auto index =
            m_input.ConsumeIntegralInRange<std::uint32_t>(0, slot.string->length() - 1);
        const auto unit = static_cast<char16_t>(m_input.ConsumeIntegral<std::uint16_t>());
        (*slot.string)[index] = unit;
        slot.model[index] = unit;
    }

    // Without the platform's conversion: one byte per unit, "?" above 255; and back.
    void Narrow(Slot& slot) {
        const qx::kit::NarrowString narrow = slot.string->toNarrow();
        FUZZ_CHECK(narrow.length() == slot.model.size());
        FUZZ_CHECK(narrow.c_str()[narrow.length()] == '\0');
        std::string bytes;
        for (std::size_t i = 0; i < slot.model.size(); ++i) {
            const char16_t unit = slot.model[i];
            FUZZ_CHECK(narrow.c_str()[i] == (unit <= 0xFF ? static_cast<char>(unit) : '?'));
            bytes += narrow.c_str()[i];
        }
        auto widened = std::make_unique<WideString>(narrow.c_str());
        std::u16string expected;
        for (const char byte : bytes.substr(0, bytes.find('\0')))
            expected += static_cast<char16_t>(static_cast<unsigned char>(byte));
        FUZZ_CHECK(Text(*widened) == expected);
        slot.string = std::move(widened);
        slot.model = expected;
    }

    // Sizes beyond 32 bits are refused before anything is allocated or changed.
    void Oversized(Slot& slot) {
        const std::u16string before = slot.model;
        const char16_t* const block = slot.string->c_str();
        const std::uint32_t huge =
            0xFFFFFFFFu - m_input.ConsumeIntegralInRange<std::uint32_t>(0, 0x7FFFFFFF - 1);
        const char16_t unit = u'x';
        switch (m_input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            FUZZ_CHECK(RaisesOutOfRange([&] { WideString(&unit, huge); }));
            break;
        case 1:
            FUZZ_CHECK(RaisesOutOfRange([&] { slot.string->assign(&unit, huge); }));
            break;
        default:
            FUZZ_CHECK(RaisesOutOfRange([&] { slot.string->append(&unit, huge); }));
            break;
        }
        FUZZ_CHECK(slot.string->c_str() == block);
        FUZZ_CHECK(slot.model == before);
    }

    FuzzedDataProvider& m_input;
    Slot m_slots[k_slots];
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Run run(input);
    for (int steps = 0; steps < 64 && input.remaining_bytes() > 0; ++steps)
        run.Step();
    return 0;
}
