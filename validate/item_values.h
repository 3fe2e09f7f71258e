// What an item's bag must hold, row by row: the 22 properties with their tags, types and
// values, fixed or taken from what the image driver answers for the item's board. Written
// here from the contract's table itself, not from the installed property table, so that a
// wrong row there is found too.
#ifndef QX_VALIDATE_ITEM_VALUES_H
#define QX_VALIDATE_ITEM_VALUES_H

#include "validate/check.h"
#include "validate/driver_reader.h"

#include <string>
#include <vector>

// The driver's answers for one item, and the name the item was asked by.
struct ItemFacts {
    const DriverBoard* board = nullptr; // null when the driver cannot be asked
    std::uint32_t driverVersion = 0;
    std::u16string askedName;
};

// The rule ExpectItemValues holds.
extern const char* const k_itemValuesRule;

// One way a bag departs from the 22 rows: what it holds, and what the row wants.
struct ValueBreach {
    std::string got;
    std::string expected;
};

// Compares the bag with the 22 rows: a missing or an extra tag, a wrong type or a wrong value
// each is a breach naming the tag. Where no board is known, only the tags, types and fixed
// values.
std::vector<ValueBreach> ItemValueBreaches(CheckContext& cx, IkcSysPropertyBag3* bag,
                                           const ItemFacts& facts);
// Records each breach as a failure of the call.
void ExpectItemValues(CheckContext& cx, IkcSysPropertyBag3* bag, const ItemFacts& facts,
                      const std::string& call);

// The board whose record an item name finds as the contract matches it: the first whose item
// name is the same without regard to case (ASCII letters upper-cased, unit by unit, lengths
// equal); null for none.
const DriverBoard* FirstMatch(const std::vector<DriverBoard>& boards, const std::u16string& name);

// 8-bit driver text widened as the module widens it: one unit per Latin-1 byte.
std::u16string Widened(const std::string& text);

#endif
