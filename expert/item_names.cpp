// Item names: each interface is known by its active interface file without ".zid", asked of
// the driver again at every listing since the active file may change while the expert lives.
#include "expert/interface_file_name.h"
#include "expert/kcsyszeva.h"

#include <imagedriver.h>

#include <memory>

void CkcSysZeva::ListItemNames(ItemNameList* names) {
    for (InterfaceRecord& record : m_interfaces) {
        // One byte past what the driver is told stays zero, whatever the driver writes.
        char buffer[QXZEVAU_REFRESH_FILE_BUFFER + 1] = {};
        if (qxzevauGetActiveInterfaceFile(record.serialNumber, buffer) == 0) {
            const std::string file = TextInDriverBuffer(buffer, QXZEVAU_REFRESH_FILE_BUFFER);
            if (file != record.interfaceFileName)
                record.interfaceFileName = StripInterfaceExtension(file);
        }
        names->emplace_back(record.interfaceFileName.c_str());
    }
}

HRESULT CkcSysZeva::SearchForItemNames(IkcSysEnumStringList** names) noexcept {
    if (names == nullptr)
        return E_POINTER;
    *names = nullptr; // S_FALSE is a success too: the caller's pointer is never left unset
    return Locked([&] {
        auto list = std::make_unique<ItemNameList>();
        ListItemNames(list.get());
        if (list->empty())
            return S_FALSE;
        *names = MakeEnumerator<CkcSysEnumItemNames>(std::move(list)).detach();
        return S_OK;
    });
}
