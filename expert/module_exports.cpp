#include "expert/module_exports.h"

#include "com/hresult_from_exception.h"
#include "com/qxmutex.h"
#include "expert/kcsyszeva.h"
#include "expert/product_version.h"

namespace {
// The record's versions are the product's, with the build's stage and number ("f0": final,
// build 0) after them.
#define QX_RECORD_VERSION QX_PRODUCT_VERSION_STRING "f0"

// The last entry is one text written on two lines.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
const char* const nQXVersion_versionStringArray[] = {
    "nQXVersion_CompanyName=Verantic Corporation",
    "nQXVersion_LegalCopyright=Copyright (c) 2018 Verantic Corporation. All rights reserved.",
    "nQXVersion_ProductName=QXZEVA_SYSAPI_EXPERT",
    "nQXVersion_OriginalFilename=qxzevaSysapiExpert.out",
    "nQXVersion_FileDescription=System API Expert for QX ZEVA",
    "nQXVersion_ProductVersion=" QX_RECORD_VERSION,
    "nQXVersion_FileVersion=" QX_RECORD_VERSION,
    "nQXVersion_InternalName=QXZEVA_SYSAPI_EXPERT " QX_RECORD_VERSION,
    "nQXVersion_Comments=2018/09/20 14:39:22, qxzevaSysapiExpert/vxworks/ppc603/"
    "windRiver-gcc-3.4/release",
    nullptr};
// NOLINTEND(bugprone-suspicious-missing-comma)
} // namespace

extern "C" {

HRESULT createZEVASysapiExpert(void** expert) noexcept {
    if (expert == nullptr)
        return E_POINTER;
    *expert = nullptr;
    // Counting without the global lock would not be atomic: nothing counted is made then.
    if (!InterLockedIncDecIsUsable())
        return E_OUTOFMEMORY;
    return HResultOf([&] {
        *expert = static_cast<IkcSysExpert2*>(MakeComObject<CkcSysZeva>().detach());
        return S_OK;
    });
}

const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray() noexcept {
    return nQXVersion_versionStringArray;
}
}
