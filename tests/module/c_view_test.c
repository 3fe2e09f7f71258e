/* A host written in C drives the module through the C view of its interfaces: the expert,
   its item-name enumerator, a property bag, its tag enumerator and a collection of our own. */
#include "qxzeva/qxzeva_c.h"

#include "qxzeva/module_loader.h"
#include "qxzeva/qxzeva_version.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int g_failures = 0;
static int g_checks = 0;

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        ++g_checks;                                                                                \
        if (!(condition)) {                                                                        \
            ++g_failures;                                                                          \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);          \
        }                                                                                          \
    } while (0)

static int WideEquals(const QX_WCHAR* wide, const char* ascii) {
    size_t i = 0;
    if (wide == NULL)
        return 0;
    for (; ascii[i] != '\0'; ++i)
        if (wide[i] != (QX_WCHAR)(unsigned char)ascii[i])
            return 0;
    return wide[i] == 0 && qxWideStringLength(wide) == i;
}

/* A collection that keeps every bag it is given. */
typedef struct CCollection {
    IkcSysPropertyBagCollection iface;
    IkcSysPropertyBag* bags[16];
    int count;
} CCollection;

static HRESULT CollectionQueryInterface(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                        void** object) {
    (void)self;
    (void)iid;
    *object = NULL;
    return E_NOINTERFACE;
}
static int32_t CollectionAddRef(IkcSysPropertyBagCollection* self) {
    (void)self;
    return 2;
}
static int32_t CollectionRelease(IkcSysPropertyBagCollection* self) {
    (void)self;
    return 1;
}
static HRESULT CollectionAdd(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    CCollection* collection = (CCollection*)self;
    if (collection->count == 16)
        return E_OUTOFMEMORY;
    bag->lpVtbl->AddRef(bag);
    collection->bags[collection->count++] = bag;
    return S_OK;
}
static const IkcSysPropertyBagCollectionVtbl g_collectionTable = {
    CollectionQueryInterface, CollectionAddRef, CollectionRelease, CollectionAdd};

static int WideSame(const QX_WCHAR* left, const QX_WCHAR* right) {
    return left != NULL && right != NULL && qxWideStringLength(left) == qxWideStringLength(right) &&
           memcmp(left, right, qxWideStringLength(left) * sizeof(QX_WCHAR)) == 0;
}

/* The default boards give at least two names. */
static void CheckNameEnumerator(IkcSysEnumStringList* names, QX_WCHAR* firstName[1]) {
    QX_WCHAR* batch[2] = {NULL, NULL};
    QX_WCHAR* fromCopy = NULL;
    uint32_t fetched = 99;
    IkcSysEnumStringList* copy = NULL;
    CHECK(names->lpVtbl->Next(names, 1, firstName, &fetched) == S_OK && fetched == 1);
    CHECK(names->lpVtbl->Clone(names, &copy) == S_OK && copy != NULL);
    CHECK(names->lpVtbl->Reset(names) == S_OK);
    CHECK(names->lpVtbl->Next(names, 2, batch, &fetched) == S_OK && fetched == 2);
    CHECK(WideSame(batch[0], firstName[0]));
    /* the clone starts where its source stood when it was made: at the second name */
    if (copy != NULL) {
        CHECK(copy->lpVtbl->Next(copy, 1, &fromCopy, &fetched) == S_OK && fetched == 1);
        CHECK(WideSame(fromCopy, batch[1]));
        qxFreeWideString(fromCopy);
        CHECK(copy->lpVtbl->Release(copy) == 0);
    }
    qxFreeWideString(batch[0]);
    qxFreeWideString(batch[1]);
    CHECK(names->lpVtbl->Skip(names, 1000) == S_FALSE);
    CHECK(names->lpVtbl->Next(names, 2, batch, &fetched) == S_FALSE && fetched == 0);
}

/* A UTC record is four native words that a C host fills directly: 1970-01-02 01:00:00 UTC
   reads back unchanged, and as the local time the C runtime gives for it. */
static void CheckTimestamp(IkcSysPropertyBag* bag) {
    const uint32_t k_1970 = 2082844800u;
    const time_t seconds = 90000;
    const struct tm* expected = localtime(&seconds);
    kcSysAttrTimestampUTC stamp = {{0, k_1970 + 90000u, 0, 0}};
    kcSysAttrTimestampUTC back = {{1, 1, 1, 1}};
    kcSysAttrTimestamp local = {0, 0, 0, 0, 0, 0};
    CHECK(bag->lpVtbl->SetTimestampPropertyUTC(bag, 9u, &stamp) == S_OK);
    CHECK(bag->lpVtbl->GetTimestampPropertyUTC(bag, 9u, &back) == S_OK);
    CHECK(memcmp(&back, &stamp, sizeof stamp) == 0);
    CHECK(bag->lpVtbl->GetTimestampProperty(bag, 9u, &local) == S_OK);
    CHECK(expected != NULL && local.year == expected->tm_year + 1900 &&
          local.month == expected->tm_mon + 1 && local.day == expected->tm_mday &&
          local.hour == expected->tm_hour && local.minute == expected->tm_min &&
          local.second == expected->tm_sec);
}

static void CheckBag(IkcSysPropertyBag* bag) {
    const IkcSysPropertyBag3Vtbl* table = bag->lpVtbl;
    IkcSysEnumPropertyTag* tags = NULL;
    uint32_t first[4] = {0, 0, 0, 0};
    uint32_t fetched = 0, unsignedValue = 0, count = 0;
    QX_WCHAR* text = NULL;
    IkcSysPropertyBag* copy = NULL;
    kcSysAttributeType type = 0;
    void* other = NULL;

    CHECK(table->QueryInterface(bag, &IID_IkcSysPropertyBag3, &other) == S_OK && other == bag);
    CHECK(table->Release(bag) == 1);
    CHECK(table->GetPropertyType(bag, kcSysTagSerialNumber, &type) == S_OK &&
          type == kcSysAttrTypeString);
    CHECK(table->GetStringProperty(bag, kcSysTagVendor, &text) == S_OK &&
          WideEquals(text, "Verantic"));
    qxFreeWideString(text);
    CHECK(table->GetUnsignedIntegerProperty(bag, kcSysTagCount02, &unsignedValue) == S_OK &&
          unsignedValue == 1);
    CHECK(table->EnumProperties(bag, &tags) == S_OK && tags != NULL);
    CHECK(tags->lpVtbl->Next(tags, 4, first, &fetched) == S_OK && fetched == 4);
    CHECK(first[0] < first[1] && first[1] < first[2] && first[2] < first[3]);
    CHECK(tags->lpVtbl->Reset(tags) == S_OK);
    /* every tag the module sets has a name, and the type the property table gives it */
    while (tags->lpVtbl->Next(tags, 1, first, &fetched) == S_OK) {
        ++count;
        CHECK(qxTagName(first[0]) != NULL && strncmp(qxTagName(first[0]), "kcSysTag", 8) == 0);
        CHECK(table->GetPropertyType(bag, first[0], &type) == S_OK && type == qxTagType(first[0]) &&
              qxTypeName(type) != NULL);
    }
    CHECK(count == QXZEVA_ITEM_PROPERTY_COUNT);
    CHECK(tags->lpVtbl->Release(tags) == 0);

    CHECK(table->AcquireBatchLock(bag) == S_OK);
    CHECK(table->SetDoubleProperty(bag, 7u, 2.5) == S_OK);
    CHECK(table->ReleaseBatchLock(bag) == S_OK);
    CHECK(table->ClearChangedTags(bag) == S_OK);
    CHECK(table->Clone(bag, &copy) == S_OK && copy != NULL);
    CHECK(copy->lpVtbl->EnumChangedTags(copy, &tags) == S_FALSE || tags != NULL);
    if (tags != NULL)
        tags->lpVtbl->Release(tags);
    CHECK(copy->lpVtbl->HasProperty(copy, 7u) == S_OK);
    CheckTimestamp(copy);
    CHECK(copy->lpVtbl->Release(copy) == 0);
}

/* The names of tags and type codes, the UTF-8 of wide strings and the loader's own texts. */
static void CheckTexts(void) {
    static const QX_WCHAR k_wide[] = {'K', 0xDC, '1', 0xD83D, 0xDE00, 0xD800, 0};
    static const char k_utf8[] = "K\xC3\x9C"
                                 "1\xF0\x9F\x98\x80\xEF\xBF\xBD";
    /* sizes of the buffer, and the bytes of the whole characters that fit before the zero */
    static const size_t k_cut[][2] = {{1, 0}, {2, 1}, {3, 1},  {4, 3},  {5, 4},
                                      {8, 4}, {9, 8}, {11, 8}, {12, 11}};
    /* the type codes 1 to 7, as hosts know them */
    static const char* const k_typeNames[] = {
        "kcSysAttrTypeBoolean",     "kcSysAttrTypeInteger", "kcSysAttrTypeUnsignedInteger",
        "kcSysAttrTypeDouble",      "kcSysAttrTypeGuid",    "kcSysAttrTypeString",
        "kcSysAttrTypeTimestampUTC"};
    char out[16];
    char* whole = qxWideToNewUtf8(k_wide);
    size_t i;
    CHECK(whole != NULL && strcmp(whole, k_utf8) == 0);
    free(whole);
    CHECK(qxWideToUtf8(k_wide, out, sizeof out) == 11 && strcmp(out, k_utf8) == 0);
    CHECK(qxWideToUtf8(k_wide, NULL, 0) == 11 && qxWideToUtf8(NULL, out, 1) == 0 && out[0] == 0);
    for (i = 0; i < sizeof k_cut / sizeof k_cut[0]; ++i) {
        memset(out, 'x', sizeof out);
        CHECK(qxWideToUtf8(k_wide, out, k_cut[i][0]) == 11 && strlen(out) == k_cut[i][1] &&
              strncmp(out, k_utf8, k_cut[i][1]) == 0);
    }
    CHECK(strcmp(qxTagName(kcSysTagSerialNumber), "kcSysTagSerialNumber") == 0);
    CHECK(qxTagName(7u) == NULL && qxTagType(7u) == 0);
    for (i = 0; i < sizeof k_typeNames / sizeof k_typeNames[0]; ++i)
        CHECK(strcmp(qxTypeName((int32_t)(i + 1)), k_typeNames[i]) == 0);
    CHECK(qxTypeName(0) == NULL && qxTypeName(kcSysAttrTypeTimestampUTC + 1) == NULL);
    for (i = QX_LOAD_OK; i <= QX_LOAD_NO_MEMORY; ++i)
        CHECK(qxLoadStatusText((qx_load_status)i) != NULL &&
              (i == 0 || strcmp(qxLoadStatusText((qx_load_status)i),
                                qxLoadStatusText((qx_load_status)(i - 1))) != 0));
    CHECK(qxLoadStatusText((qx_load_status)(QX_LOAD_NO_MEMORY + 1)) == NULL);
    CHECK(strcmp(qxLoaderVersion(), QXZEVA_VERSION_STRING) == 0);
}

int main(void) {
    char error[512];
    qx_load_status status = QX_LOAD_OK;
    qx_module* module = qxLoadModule(QX_MODULE_PATH, &status, error, sizeof error);
    if (module == NULL) {
        fprintf(stderr, "%s\n", error);
        return 1;
    }
    IkcSysExpert2* expert = (IkcSysExpert2*)error; /* a sentinel the creation must clear */
    IkcSysEnumStringList* names = NULL;
    IkcSysPropertyBag* bag = NULL;
    QX_WCHAR* text = NULL;
    QX_WCHAR* firstName[1] = {NULL};
    CCollection collection = {{&g_collectionTable}, {NULL}, 0};
    int i;

    CheckTexts();
    CHECK(qxCreateExpert(module, NULL) == E_POINTER);
    CHECK(qxCreateExpert(NULL, &expert) == E_POINTER && expert == NULL);
    CHECK(qxCreateExpert(module, &expert) == S_OK && expert != NULL);
    if (expert == NULL)
        return 1;
    CHECK(expert->lpVtbl->GetProgrammaticName(expert, &text) == S_OK && WideEquals(text, "qxzeva"));
    qxFreeWideString(text);
    CHECK(expert->lpVtbl->Initialize(expert) == S_OK);
    CHECK(expert->lpVtbl->SearchForItemNames(expert, &names) == S_OK && names != NULL);
    CheckNameEnumerator(names, firstName);
    CHECK(names->lpVtbl->Release(names) == 0);

    CHECK(expert->lpVtbl->GetPropertiesOfItem(expert, firstName[0], &bag) == S_OK && bag);
    if (bag != NULL) {
        CheckBag(bag);
        CHECK(bag->lpVtbl->Release(bag) == 0);
    }
    qxFreeWideString(firstName[0]);

    CHECK(expert->lpVtbl->SearchForItemsAndProperties(expert, &collection.iface) == S_OK);
    CHECK(collection.count > 0);
    for (i = 0; i < collection.count; ++i)
        CHECK(collection.bags[i]->lpVtbl->Release(collection.bags[i]) == 0);

    CHECK(expert->lpVtbl->Finalize(expert) == S_OK);
    CHECK(expert->lpVtbl->Release(expert) == 0);
    CHECK(qxUnloadModule(module) == 0);
    printf("%d passed, %d failed\n", g_checks - g_failures, g_failures);
    return g_failures == 0 ? 0 : 1;
}
