#include "bench_boards.h"

#include "com/comobject.h"
#include "com/enuminterfaces.h"
#include "com/widestring.h"
#include "expert/kcsyszeva.h"

#include <zevadriver_control.h>

#include <cstdio>

void InstallBoards(std::uint32_t count) {
    zevadriverReset();
    zevadriverClearBoards();
    for (std::uint32_t i = 0; i < count; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "zeva%03u.zid", static_cast<unsigned>(i));
        zevadriverBoard board{};
        board.size = ZEVADRIVER_BOARD_SIZE;
        board.serialNumber = 0x1000 + i;
        board.activeFile = file;
        // Each board at a location of its own, as the driver asks.
        board.pciBus = 2 + i / 256;
        board.pciDevice = (i / 8) % 32;
        board.pciFunction = i % 8;
        board.pciId = 0x10EE7024;
        board.boardName = "ZEVA PCIe-4C";
        zevadriverAddBoard(&board);
    }
    zevadriverClearLog();
}

IkcSysExpert2* NewInitialisedExpert() {
    IkcSysExpert2* expert = MakeComObject<CkcSysZeva>().detach();
    expert->Initialize();
    return expert;
}

std::vector<std::u16string> ItemNamesOf(IkcSysExpert2* expert) {
    std::vector<std::u16string> names;
    IkcSysEnumStringList* list = nullptr;
    if (expert->SearchForItemNames(&list) != S_OK)
        return names;
    char16_t* name = nullptr;
    while (list->Next(1, &name, nullptr) == S_OK) {
        names.emplace_back(name);
        FreeWideString(name);
    }
    list->Release();
    return names;
}

HRESULT KeepingCollection::AddPropertyBag(IkcSysPropertyBag* bag) {
    bag->AddRef();
    m_bags.push_back(bag);
    return S_OK;
}

void KeepingCollection::Empty() {
    for (IkcSysPropertyBag* bag : m_bags)
        bag->Release();
    m_bags.clear();
}
