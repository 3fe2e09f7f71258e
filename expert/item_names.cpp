// Item names: each interface is known by its active interface file without ".zid", asked of
// the driver again at every listing since the active file may change while the expert lives.
#include "com/hresult_from_exception.h"
#include "expert/interface_file_name.h"
#include "expert/kcsyszeva.h"

#include <imagedriver.h>

#include <memory>

HRESULT CkcSysZeva::ListItemNames(ItemNameList* names) {
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
    return S_OK;
}

HRESULT CkcSysZeva::SearchForItemNames(IkcSysEnumStringList** names) {
    if (names == nullptr)
        return E_POINTER;
    try {
        auto list = std::make_unique<ItemNameList>();
        const HRESULT listed = ListItemNames(list.get());
        if (FAILED(listed))
            return listed;
        if (list->empty())
            return S_FALSE;
        *names = MakeEnumerator<CkcSysEnumItemNames>(std::move(list));
        return S_OK;
    } catch (...) {
        return HResultFromCurrentException();
    }
}
