#include "propertybag/attribute_types.h"

#include "qx/kit/FixedPoint128.h"

std::uint32_t TimestampWord(const kcSysAttrTimestampUTC& record, unsigned index) {
    return nQXSS100::tFixedPoint128<64, true>::FromBigEndianBytes(record.bytes).Word(index);
}

kcSysAttrTimestampUTC MakeTimestampUTC(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                       std::uint32_t w3) {
    kcSysAttrTimestampUTC record{};
    nQXSS100::tFixedPoint128<64, true>(w0, w1, w2, w3).ToBigEndianBytes(record.bytes);
    return record;
}
