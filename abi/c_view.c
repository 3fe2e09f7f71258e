/* The C view as a host compiles against it, for the ABI baseline: each interface table,
   record and enumeration a host sees is a parameter of the one exported function below, so
   the object's debug information describes every one of them, member by member, and abidw
   can dump them. A type added to the C view gets its parameter here. Never run. */
#include "qxzeva/qxzeva_c.h"

#if defined(__GNUC__)
#define QX_ABI_EXPORT __attribute__((visibility("default")))
#else
#define QX_ABI_EXPORT
#endif

QX_ABI_EXPORT void qxzevaCViewTypes(
    const IUnknown* unknown, const IkcSysExpert2* expert, const IkcSysExpertPlugPlay* plugPlay,
    const IkcSysPropertyBag3* bag, const IkcSysEnumStringList* names,
    const IkcSysEnumPropertyTag* tags, const IkcSysPropertyBagCollection* collection,
    const IkcSysFrameworkNotificationHandler* handler, const _GUID* iid,
    const qxInterfaceInfo* interfaceInfo, qxInterfaceFamily family, kcSysAttributeType type,
    kcSysItemPropertyTag tag, const kcSysAttrTimestampUTC* utc, const kcSysAttrTimestamp* local,
    HRESULT result, const QX_WCHAR* text, qxCreateExpertFunction factory,
    qxVersionArrayFunction versionRecord);

void qxzevaCViewTypes(const IUnknown* unknown, const IkcSysExpert2* expert,
                      const IkcSysExpertPlugPlay* plugPlay, const IkcSysPropertyBag3* bag,
                      const IkcSysEnumStringList* names, const IkcSysEnumPropertyTag* tags,
                      const IkcSysPropertyBagCollection* collection,
                      const IkcSysFrameworkNotificationHandler* handler, const _GUID* iid,
                      const qxInterfaceInfo* interfaceInfo, qxInterfaceFamily family,
                      kcSysAttributeType type, kcSysItemPropertyTag tag,
                      const kcSysAttrTimestampUTC* utc, const kcSysAttrTimestamp* local,
                      HRESULT result, const QX_WCHAR* text, qxCreateExpertFunction factory,
                      qxVersionArrayFunction versionRecord) {
    (void)unknown, (void)expert, (void)plugPlay, (void)bag, (void)names, (void)tags;
    (void)collection, (void)handler, (void)iid, (void)interfaceInfo, (void)family, (void)type;
    (void)tag, (void)utc, (void)local, (void)result, (void)text, (void)factory;
    (void)versionRecord;
}
