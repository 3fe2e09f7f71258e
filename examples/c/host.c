/* A host written in C: loads the expert module, asks it which image-acquisition boards the
   image driver knows, reads a few properties of the first one, has every board's property
   bag handed to a small collection of its own, and gives back everything it was handed.

   Build against the installed package (see Makefile beside this file):
       cc -std=c99 host.c $(pkg-config --cflags --libs qxzeva zevadriver) -o host
   The module is found where the package installed it, or where QXZEVA_MODULE says. */
#include "qxzeva/module_loader.h"  /* qxInstalledModulePath, qxLoadModule, qxCreateExpert */
#include "qxzeva/qxzeva_c.h"       /* the interfaces, results, identifiers, tags, UTF-8 */
#include "qxzeva/qxzeva_version.h" /* QXZEVA_VERSION_STRING */
#include "qxzeva/zevadriver/zevadriver_control.h" /* zevadriverLastDescriptionError */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Prints a string the module handed out (UTF-16) as UTF-8. */
static void PrintWide(const QX_WCHAR* text) {
    char* utf8 = qxWideToNewUtf8(text); /* freed with free() */
    if (utf8 != NULL)
        fputs(utf8, stdout);
    free(utf8);
}

/* The collection SearchForItemsAndProperties hands each item's bag to. It lives on the
   stack of main and is never destroyed through Release, so its counts are nominal. */
typedef struct BoardCollection {
    IkcSysPropertyBagCollection iface; /* first: the module sees only this */
    int boards;
} BoardCollection;

static HRESULT CollectionQueryInterface(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                        void** object) {
    if (object == NULL)
        return E_POINTER;
    *object = NULL;
    if (memcmp(iid, &IID_IUnknown, sizeof *iid) != 0)
        return E_NOINTERFACE;
    *object = self;
    return S_OK;
}
static int32_t CollectionAddRef(IkcSysPropertyBagCollection* self) {
    (void)self;
    return 2;
}
static int32_t CollectionRelease(IkcSysPropertyBagCollection* self) {
    (void)self;
    return 1;
}
/* Each bag is lent for this call only: read it now, or AddRef it to keep it. */
static HRESULT CollectionAddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    BoardCollection* collection = (BoardCollection*)self;
    QX_WCHAR* name = NULL;
    uint32_t bus = 0;
    if (bag->lpVtbl->GetStringProperty(bag, kcSysTagItemName, &name) == S_OK &&
        bag->lpVtbl->GetUnsignedIntegerProperty(bag, kcSysTagPciBus, &bus) == S_OK) {
        printf("  ");
        PrintWide(name);
        printf(" on PCI bus %u\n", (unsigned)bus);
    }
    qxFreeWideString(name);
    ++collection->boards;
    return S_OK;
}
static const IkcSysPropertyBagCollectionVtbl g_collectionOperations = {
    CollectionQueryInterface, CollectionAddRef, CollectionRelease, CollectionAddPropertyBag};

/* Prints the first board's name, vendor, model and serial number. */
static HRESULT ShowBoard(IkcSysExpert2* expert, const QX_WCHAR* itemName) {
    static const struct {
        uint32_t tag;
        const char* label;
    } k_shown[] = {{kcSysTagItemName, "Item"},
                   {kcSysTagVendor, "Vendor"},
                   {kcSysTagModel, "Model"},
                   {kcSysTagSerialNumber, "Serial number"}};
    IkcSysPropertyBag* bag = NULL;
    size_t i;
    HRESULT result = expert->lpVtbl->GetPropertiesOfItem(expert, itemName, &bag);
    if (QX_FAILED(result))
        return result;
    for (i = 0; i < sizeof k_shown / sizeof k_shown[0] && QX_SUCCEEDED(result); ++i) {
        QX_WCHAR* value = NULL;
        result = bag->lpVtbl->GetStringProperty(bag, k_shown[i].tag, &value);
        if (result == S_OK) {
            printf("%-14s", k_shown[i].label);
            PrintWide(value);
            printf("\n");
        }
        qxFreeWideString(value); /* every string the module hands out is the caller's */
    }
    bag->lpVtbl->Release(bag);
    return result;
}

/* Lists the item names and shows the first item. */
static HRESULT ListBoards(IkcSysExpert2* expert) {
    IkcSysEnumStringList* names = NULL;
    QX_WCHAR* first = NULL;
    QX_WCHAR* name = NULL;
    uint32_t fetched = 0;
    HRESULT result = expert->lpVtbl->SearchForItemNames(expert, &names);
    if (result != S_OK) /* S_FALSE: no boards, and no enumerator */
        return result;
    printf("Items\n");
    while (names->lpVtbl->Next(names, 1, &name, &fetched) == S_OK && fetched == 1) {
        printf("  ");
        PrintWide(name);
        printf("\n");
        if (first == NULL)
            first = name; /* kept for below, freed there */
        else
            qxFreeWideString(name);
        name = NULL;
    }
    names->lpVtbl->Release(names);
    if (first != NULL)
        result = ShowBoard(expert, first);
    qxFreeWideString(first);
    return result;
}

static HRESULT Report(IkcSysExpert2* expert) {
    BoardCollection collection = {{&g_collectionOperations}, 0};
    QX_WCHAR* version = NULL;
    HRESULT result = expert->lpVtbl->GetProductVersion(expert, &version);
    if (QX_FAILED(result))
        return result;
    printf("Product version ");
    PrintWide(version);
    printf(" (package %s)\n", QXZEVA_VERSION_STRING);
    qxFreeWideString(version);

    /* Initialize asks the driver once. S_FALSE, a success code to QX_SUCCEEDED, means the
       driver did not answer: the simulated driver then says why, when it refused its board
       description. */
    result = expert->lpVtbl->Initialize(expert);
    if (result == S_FALSE) {
        const char* reason = zevadriverLastDescriptionError();
        fprintf(stderr, "the image driver did not answer%s%s\n", reason != NULL ? ": " : "",
                reason != NULL ? reason : "");
        return result;
    }
    if (result != S_OK)
        return result;
    result = ListBoards(expert);
    if (QX_SUCCEEDED(result)) {
        printf("Every board\n");
        result = expert->lpVtbl->SearchForItemsAndProperties(expert, &collection.iface);
        printf("%d boards reported\n", collection.boards);
    }
    expert->lpVtbl->Finalize(expert);
    return QX_SUCCEEDED(result) ? S_OK : result; /* S_FALSE here: no boards, which is fine */
}

int main(void) {
    char path[4096];
    char error[512];
    qx_load_status status = QX_LOAD_OK;
    qx_module* module;
    IkcSysExpert2* expert = NULL;
    HRESULT result;

    /* No path is compiled in: the loader knows where the package put the module. */
    if (qxInstalledModulePath(path, sizeof path) < 0) {
        fprintf(stderr, "cannot tell where the module is installed\n");
        return 1;
    }
    /* A loader older than the headers may lack what they promise: say so. */
    if (strcmp(qxLoaderVersion(), QXZEVA_VERSION_STRING) != 0)
        fprintf(stderr, "note: loader %s, headers %s\n", qxLoaderVersion(), QXZEVA_VERSION_STRING);
    module = qxLoadModule(path, &status, error, sizeof error);
    if (module == NULL) {
        fprintf(stderr, "%s\n", error); /* begins with qxLoadStatusText(status) */
        return 1;
    }
    result = qxCreateExpert(module, &expert); /* through the module's factory */
    if (QX_SUCCEEDED(result)) {
        result = Report(expert);
        expert->lpVtbl->Release(expert); /* the factory's reference */
    }
    if (QX_FAILED(result)) {
        const char* name = qxHResultName(result);
        fprintf(stderr, "failed: %s (0x%08X)\n", name != NULL ? name : "HRESULT", (unsigned)result);
    }
    qxUnloadModule(module);
    return result == S_OK ? 0 : 1;
}
