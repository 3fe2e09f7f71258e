/** @file identifiers.h
    The interface identifiers, written once in QXZEVA_INTERFACE_IDS and expanded into the
    constants and the table the module and the hosts look identifiers up in. */
#ifndef QXZEVA_IDENTIFIERS_H
#define QXZEVA_IDENTIFIERS_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/guid.h"

/** @defgroup qxzeva_identifiers Interface identifiers
    The 16-byte identifiers that name the interfaces, for QueryInterface. The expert answers
    IID_IUnknown, IID_IkcSysExpertInfo, IID_IkcSysExpert, IID_IkcSysExpert2 and
    IID_IkcSysExpertPlugPlay; a property bag answers IID_IUnknown and the three bag
    identifiers with one pointer; the enumerators answer IID_IUnknown and their own. Each is a
    constant _GUID (static const in C, inline constexpr in C++) naming the interface of its name
    without `IID_`; in the C view IkcSysExpertInfo and IkcSysExpert are the first slots of
    IkcSysExpert2, IkcSysPropertyBag and IkcSysPropertyBag2 those of IkcSysPropertyBag3:

    | Constant | Identifier |
    |---|---|
    | IID_IUnknown | {00000000-0000-0000-C000-000000000046} |
    | IID_IkcSysExpertInfo | {9C257614-172D-4D5D-81BB-3D4F72BD30A4} |
    | IID_IkcSysExpert | {B259235B-6978-4402-8910-E19E1295F326} |
    | IID_IkcSysExpert2 | {CF3357AD-3023-4121-A60E-2FF9B3A87BEE} |
    | IID_IkcSysExpertPlugPlay | {C20E7758-0346-431A-A411-BF7C1E736A60} |
    | IID_IkcSysPropertyBag | {3E2F201D-CABE-466F-93AE-502244C18DDE} |
    | IID_IkcSysPropertyBag2 | {E275E061-297B-4463-A5F1-5D2D9D8F3898} |
    | IID_IkcSysPropertyBag3 | {B122AAB9-2F03-4E75-A0D1-A0F7C7DF2838} |
    | IID_IkcSysEnumPropertyTag | {B21429CD-0DDD-48FA-9DDD-33A1CFA79CDE} |
    | IID_IkcSysEnumStringList | {FB09815D-7F02-459F-87B8-78227BE84126} |
    @{ */

/** @cond QX_INTERNAL (the constants are listed in the table above) */

/* Which object's interfaces an identifier belongs to: the module answers the identifiers of
   one family with one pointer to the family's newest table. IUnknown is every object's. */
typedef enum qxInterfaceFamily {
    QX_FAMILY_UNKNOWN = 0,
    QX_FAMILY_EXPERT = 1,
    QX_FAMILY_EXPERT_PLUG_PLAY = 2,
    QX_FAMILY_PROPERTY_BAG = 3,
    QX_FAMILY_ENUM_PROPERTY_TAG = 4,
    QX_FAMILY_ENUM_STRING_LIST = 5
} qxInterfaceFamily;

/* Every identifier the module defines: X(interface, family, identifier). */
#define QXZEVA_INTERFACE_IDS(X)                                                                    \
    X(IUnknown, QX_FAMILY_UNKNOWN,                                                                 \
      {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}})              \
    X(IkcSysExpertInfo, QX_FAMILY_EXPERT,                                                          \
      {0x9C257614, 0x172D, 0x4D5D, {0x81, 0xBB, 0x3D, 0x4F, 0x72, 0xBD, 0x30, 0xA4}})              \
    X(IkcSysExpert, QX_FAMILY_EXPERT,                                                              \
      {0xB259235B, 0x6978, 0x4402, {0x89, 0x10, 0xE1, 0x9E, 0x12, 0x95, 0xF3, 0x26}})              \
    X(IkcSysExpert2, QX_FAMILY_EXPERT,                                                             \
      {0xCF3357AD, 0x3023, 0x4121, {0xA6, 0x0E, 0x2F, 0xF9, 0xB3, 0xA8, 0x7B, 0xEE}})              \
    X(IkcSysExpertPlugPlay, QX_FAMILY_EXPERT_PLUG_PLAY,                                            \
      {0xC20E7758, 0x0346, 0x431A, {0xA4, 0x11, 0xBF, 0x7C, 0x1E, 0x73, 0x6A, 0x60}})              \
    X(IkcSysPropertyBag, QX_FAMILY_PROPERTY_BAG,                                                   \
      {0x3E2F201D, 0xCABE, 0x466F, {0x93, 0xAE, 0x50, 0x22, 0x44, 0xC1, 0x8D, 0xDE}})              \
    X(IkcSysPropertyBag2, QX_FAMILY_PROPERTY_BAG,                                                  \
      {0xE275E061, 0x297B, 0x4463, {0xA5, 0xF1, 0x5D, 0x2D, 0x9D, 0x8F, 0x38, 0x98}})              \
    X(IkcSysPropertyBag3, QX_FAMILY_PROPERTY_BAG,                                                  \
      {0xB122AAB9, 0x2F03, 0x4E75, {0xA0, 0xD1, 0xA0, 0xF7, 0xC7, 0xDF, 0x28, 0x38}})              \
    X(IkcSysEnumPropertyTag, QX_FAMILY_ENUM_PROPERTY_TAG,                                          \
      {0xB21429CD, 0x0DDD, 0x48FA, {0x9D, 0xDD, 0x33, 0xA1, 0xCF, 0xA7, 0x9C, 0xDE}})              \
    X(IkcSysEnumStringList, QX_FAMILY_ENUM_STRING_LIST,                                            \
      {0xFB09815D, 0x7F02, 0x459F, {0x87, 0xB8, 0x78, 0x22, 0x7B, 0xE8, 0x41, 0x26}})

#ifdef __cplusplus
#define QX_CONSTANT inline constexpr
#else
#define QX_CONSTANT static const
#endif

#define QX_INTERFACE_ID(name, family, ...) QX_CONSTANT _GUID IID_##name = __VA_ARGS__;
QXZEVA_INTERFACE_IDS(QX_INTERFACE_ID)
#undef QX_INTERFACE_ID

/* One identifier the module defines, with its interface's name and family. */
typedef struct qxInterfaceInfo {
    const _GUID* iid;
    const char* name;
    qxInterfaceFamily family;
} qxInterfaceInfo;

#define QX_INTERFACE_ROW(name, family, ...) {&IID_##name, #name, family},
QX_CONSTANT qxInterfaceInfo qxInterfaces[] = {QXZEVA_INTERFACE_IDS(QX_INTERFACE_ROW)};
#undef QX_INTERFACE_ROW

#define QX_INTERFACE_ONE(name, family, ...) +1
enum { QXZEVA_INTERFACE_COUNT = 0 QXZEVA_INTERFACE_IDS(QX_INTERFACE_ONE) };
#undef QX_INTERFACE_ONE
#undef QX_CONSTANT

/* The entry of an identifier the module defines, or null. */
static inline const qxInterfaceInfo* qxFindInterface(const _GUID* iid) {
    int i;
    for (i = 0; i < QXZEVA_INTERFACE_COUNT; ++i)
        if (qxSameGuid(qxInterfaces[i].iid, iid))
            return &qxInterfaces[i];
    return 0;
}

/** @endcond */

/** @} */

#ifdef __cplusplus
namespace qxzeva {
/** The identifier QueryInterface is asked with for an interface type: each header that
    declares an interface specialises it from the identifier of the same name. */
template <class Interface>
struct InterfaceId;
} // namespace qxzeva

/** @cond QX_INTERNAL */
/* The specialisation for Type, whose identifier is IID_Name. */
#define QXZEVA_INTERFACE_ID_OF(Type, Name)                                                         \
    template <>                                                                                    \
    struct qxzeva::InterfaceId<Type> {                                                             \
        static constexpr const _GUID& value = IID_##Name;                                          \
    };
/** @endcond */
#endif

#endif
