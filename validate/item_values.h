// What an item's bag must hold, row by row: the 22 properties with their tags, types and
// values, fixed or taken from what the image driver answers for the item's board. Written
// here from the contract's table itself, not from the installed property table, so that a
// wrong row there is found too.
#ifndef QX_VALIDATE_ITEM_VALUES_H
#define QX_VALIDATE_ITEM_VALUES_H

#include "validate/check.h"
#include "validate/driver_reader.h"

#include <string>

// The driver's answers for one item, and the name the item was asked by.
struct ItemFacts {
    const DriverBoard* board = nullptr; // null when the driver cannot be asked
    std::uint32_t driverVersion = 0;
    std::u16string askedName;
};

// Compares the bag with the 22 rows: a missing or an extra tag, a wrong type or a wrong value
// each fails, naming the tag. Where no board is known, only the tags, types and fixed values.
void ExpectItemValues(CheckContext& cx, IkcSysPropertyBag3* bag, const ItemFacts& facts,
                      const std::string& call);

// 8-bit driver text widened as the module widens it: one unit per Latin-1 byte.
std::u16string Widened(const std::string& text);

#endif
