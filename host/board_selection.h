// Which boards a report covers, chosen as the PCI tools choose devices: by PCI location,
// written [[bus]:][device][.function] in hexadecimal with any part left out for "any", and
// by serial number.
#ifndef QX_HOST_BOARD_SELECTION_H
#define QX_HOST_BOARD_SELECTION_H

#include "host/exit_codes.h"
#include "host/report.h"
#include "host/unreported_boards.h"

#include <cstdint>
#include <optional>
#include <string>

struct PciSelector {
    std::optional<std::uint32_t> bus;
    std::optional<std::uint32_t> device;
    std::optional<std::uint32_t> function;
};

// Each returns false with the reason in why when the text is no such value.
bool ParsePciSelector(const std::string& text, PciSelector* selector, std::string* why);
bool ParseSerial(const std::string& text, std::uint32_t* serial, std::string* why);
// The same, for the option table, which only asks whether a value is one.
bool CheckPciSelector(const std::string& text, std::string* why);
bool CheckSerial(const std::string& text, std::string* why);

struct BoardSelection {
    std::string slotText; // as given; empty: every location
    PciSelector slot;
    std::optional<std::uint32_t> serial;

    bool Any() const { return !slotText.empty() || serial.has_value(); }
};

// The selection the two option values ask for, both already checked.
BoardSelection MakeSelection(const std::string& slot, const std::string& serial);

bool IsSelected(const BoardSelection& selection, const ItemReading& item);
bool IsSelected(const BoardSelection& selection, const UnreportedBoard& board);

// The boards the module did not report that the selection asks for, for the report: the
// first with the reason discovery stopped, the others with where it stopped.
std::vector<UnreportedReading> SelectedUnreported(const BoardSelection& selection,
                                                  const UnreportedBoards& unreported);

// What a message needs to say what each option alone would have chosen.
struct SelectionContext {
    std::string item;                      // --item as given; empty without it
    const std::vector<ItemReading>* every; // every item the expert reports
    const UnreportedBoards* unreported;    // the driver's boards the module did not report
};

// Keeps the selected items. When none is left: k_exitUnknownItem with a reason that names
// every option that took part and what each alone selects, or k_exitIncomplete when the
// driver knows a board the selection asks for that the module did not report.
HostExit ApplySelection(const BoardSelection& selection, const SelectionContext& context,
                        HostReport* report, std::string* error);

#endif
