// The expert: the one component the module's factory creates.
#ifndef QX_EXPERT_KCSYSZEVA_H
#define QX_EXPERT_KCSYSZEVA_H

#include "com/comobject.h"
#include "com/hresult_from_exception.h"
#include "com/interfaceentry.h"
#include "com/kcsysenum.h"
#include "com/qxcs.h"
#include "com/qxsynclock.h"
#include "expert/expert_interfaces.h"
#include "expert/interface_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CkcSysZeva : public virtual CQXComObjectRootEx<CQXComMultiThreadModelNoCS>,
                   public IkcSysExpert2,
                   public IkcSysExpertPlugPlay {
public:
    static const _GUID s_productID;

    static const InterfaceEntry* _GetEntries();

    // IkcSysExpertInfo
    HRESULT GetProductID(_GUID* productId) noexcept override;
    HRESULT GetProductDisplayName(char16_t** name) noexcept override;
    HRESULT GetProductVersion(char16_t** version) noexcept override;
    HRESULT GetProgrammaticName(char16_t** name) noexcept override;
    // IkcSysExpert
    HRESULT Initialize() noexcept override;
    HRESULT Finalize() noexcept override;
    HRESULT SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) noexcept override;
    HRESULT SearchForItemNames(IkcSysEnumStringList** names) noexcept override;
    HRESULT GetPropertiesOfItem(const char16_t* itemName,
                                IkcSysPropertyBag** bag) noexcept override;
    HRESULT PopulateOrRefreshProperties(const char16_t* itemName, std::uint32_t tagCount,
                                        const std::uint32_t* tags, int refresh,
                                        IkcSysPropertyBag** bag) noexcept override;
    HRESULT SetPreferredLocale(kcSysLocale locale) noexcept override;
    HRESULT RenameAlias(const char16_t* oldAlias, const char16_t* newAlias,
                        kcSysRenameValidationMode mode, int* valid,
                        char16_t** message) noexcept override;
    // IkcSysExpert2
    HRESULT ValidatePropertyChanges(const char16_t* itemName, IkcSysPropertyBag2* bag,
                                    IkcSysEnumPropertyTag** tags,
                                    char16_t** message) noexcept override;
    HRESULT PersistPropertyChanges(const char16_t* itemName, IkcSysPropertyBag2* bag,
                                   int* rebootRequired) noexcept override;

    // After the interface slots: the destructor, then the plug-and-play operation. Only
    // the last Release destroys an expert.
protected:
    virtual ~CkcSysZeva();

public:
    HRESULT
    RegisterNotificationCallback(IkcSysFrameworkNotificationHandler* handler) noexcept override;

    // For tests: the records discovery made; exact only while no other task uses the expert.
    const std::vector<InterfaceRecord>& InterfacesForTesting() const { return m_interfaces; }
    std::uint32_t DriverVersionForTesting() const { return m_driverVersion; }

protected:
    CkcSysZeva();

private:
    static HRESULT CopyOutString(const char16_t* text, char16_t** out);

    // Runs an operation's work while it holds m_cs, which guards the records: the
    // listings rename them while the lookups read them, and any host task may call. No host
    // code runs while it is held, so a host's call back can never wait for it. Whatever the
    // work throws becomes the result.
    template <class Work>
    HRESULT Locked(Work&& work) noexcept {
        return HResultOf([&] {
            Tessaly::CqxSyncLock lock(m_cs);
            return work();
        });
    }

    // Discovery: the work of Initialize, and what it learns of one interface (nothing when
    // the interface has no active interface file and cannot get one, or no PCI location).
    HRESULT DiscoverInterfaces();
    static std::optional<InterfaceRecord> DiscoverInterface(std::uint32_t serialNumber);
    // Refreshes every record's name from the driver's active interface file and appends the
    // names, in record order, to names.
    void ListItemNames(ItemNameList* names);
    // Sets the item's properties on bag from its record and the driver's version,
    // reporting it as itemName. Throws E_OUTOFMEMORY when a property could not be stored for
    // want of memory.
    static void FillItemProperties(const InterfaceRecord& record, std::uint32_t driverVersion,
                                   const char16_t* itemName, IkcSysPropertyBag* bag);
    // The first record named exactly wanted; failing that, the first whose name equals it
    // without regard to case; null when none does.
    const InterfaceRecord* FindRecord(const qx::kit::WideString& wanted) const;
    // A file name without its ".zid" extension: the item name.
    static std::string StripInterfaceExtension(const std::string& name);

    Tessaly::CqxCS m_cs;
    std::vector<InterfaceRecord> m_interfaces;
    std::uint32_t m_driverVersion = 0;
};

#endif
