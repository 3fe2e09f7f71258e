#include "validate/test_bed.h"

#include "validate/driver_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::string g_ownFile;

// The driver writes a rejected description's reason to standard error at its first use; the
// validator tells it once itself, so the probe keeps the driver's own copy off the terminal.
class QuietStandardError {
public:
    QuietStandardError() : m_saved(dup(2)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, 2);
            close(null);
        }
    }
    ~QuietStandardError() {
        if (m_saved >= 0) {
            dup2(m_saved, 2);
            close(m_saved);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int m_saved;
};

void Probe(CheckContext& cx) {
    qx_module* module = cx.Module().module;
    DriverAnswers answers;
    std::string refused;
    {
        const QuietStandardError quiet;
        cx.Calling("the image driver's qxzevauGetSerialNumber(null, &count)");
        answers = AskDriver(module, false);
        refused = DescriptionError(module);
    }
    if (!refused.empty())
        cx.Skip("the driver rejects the board set: " + refused);
    if (answers.reachable && answers.status != 0)
        cx.Skip("the driver answers " + answers.failedCall + " with status " +
                std::to_string(answers.status));
    if (answers.reachable && answers.boardCount == 0)
        cx.Skip("the driver knows no board, so no check has anything to report on");
    if (answers.reachable)
        return;
    // A driver the validator cannot reach: the module's own answer tells.
    Ref<IkcSysExpert2> expert = cx.NewExpert();
    cx.Calling("IkcSysExpert2::Initialize()");
    if (expert->lpVtbl->Initialize(expert.get()) == S_FALSE)
        cx.Skip("Initialize gives S_FALSE: the image driver does not answer");
    if (cx.ItemNames(expert.get()).empty())
        cx.Skip("the module lists no item, and the validator cannot ask the driver why");
}

const CheckRow k_probe = {"test_bed.usable",
                          CheckLevel::quick,
                          1,
                          Grade::must,
                          "qxzeva-boards(5)",
                          "the driver accepts the board set and knows a board",
                          Probe};

} // namespace

const CheckRow& TestBedProbe() {
    return k_probe;
}

std::string OwnBoardSet() {
    // Latin-1 texts, written as TOML's UTF-8: a file name of 255 bytes and a board name of 49
    // bytes, each holding characters above U+007F.
    std::string longFile;
    while (longFile.size() < 251 - 12)
        longFile += "Kamera-";
    longFile.resize(251 - 12);
    longFile += "\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF"
                "\u00E9\u00E8\u00EA\u00FF\u00A0";
    // 239 ASCII bytes and 12 Latin-1 characters: 251 bytes, and ".zid" makes 255.
    return "# qxzeva-validate's own board set\n"
           "driver_version = 0x15030000\n\n"
           "[[board]]\nserial_number = 0x01C4A2F0\nactive_file = \"img0.zid\"\n"
           "pci_bus = 3\npci_device = 0\npci_function = 0\npci_id = 0x74C11F0A\n"
           "board_name = \"ZEVA PCIe-4C\"\n\n"
           "[[board]]\nserial_number = 0xFFFFFFFF\nactive_file = \"" +
           longFile +
           ".zid\"\n"
           "pci_bus = 255\npci_device = 31\npci_function = 7\npci_id = 0xFFFFFFFF\n"
           "board_name = \"ZEVA \u00C4rger-\u00DCberwachung \u00E9t\u00E9 PCIe-8C "
           "\u00FF\u00FE\u00FD\u00FC\u00FB\u00FA\u00F9\u00F8\u00F7\u00F6\u00F5xyz\"\n\n"
           "[[board]]\nserial_number = 0\nactive_file = \"ZWEI.zid\"\n"
           "pci_bus = 4\npci_device = 1\npci_function = 0\npci_id = 0\n"
           "board_name = \"ZEVA \"\n\n"
           "[[board]]\nserial_number = 0x00002222\nactive_file = \"zwei.zid\"\n"
           "pci_bus = 4\npci_device = 2\npci_function = 0\npci_id = 0x22221F0A\n"
           "board_name = \"ZEVA zwei\"\n\n"
           "[[board]]\nserial_number = 0x00000A0B\nactive_file = \"a.zidb.zid\"\n"
           "pci_bus = 4\npci_device = 1\npci_function = 1\npci_id = 0x0001FFFF\n"
           "board_name = \"zeva lower-case\"\n\n"
           "[[board]]\nserial_number = 0x0203D4C8\nclaim_file = \"camera.zid\"\n"
           "pci_bus = 9\npci_device = 0\npci_function = 1\npci_id = 0x7CF41F0A\n"
           "board_name = \"ZEVA PCIe-CL\"\n\n"
           "[[board]]\nserial_number = 0x0203D4C9\n"
           "pci_bus = 9\npci_device = 0\npci_function = 2\npci_id = 0x7CF41F0B\n"
           "board_name = \"Z\"\n\n"
           "[[board]]\nserial_number = 0x00E93B15\nclaim_fails = true\n"
           "pci_bus = 7\npci_device = 2\npci_function = 0\npci_id = 0x61B01F0A\n"
           "board_name = \"ZEVA PCI-1C\"\n\n"
           "[[board]]\nserial_number = 0x00E93B16\nactive_file = \"beyond.zid\"\n"
           "pci_bus = 7\npci_device = 3\npci_function = 0\npci_id = 0x61B01F0B\n"
           "board_name = \"ZEVA after the refused claim\"\n";
}

// Called before the validator starts any task, so the environment is its own to change.
// NOLINTBEGIN(concurrency-mt-unsafe)
std::string ChooseBoardSet(const std::string& boardsOption, std::string& why) {
    if (!boardsOption.empty()) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): read and set before any check starts
        setenv("ZEVADRIVER_BOARDS", boardsOption.c_str(), 1);
        return boardsOption + " (--boards)";
    }
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read and set before any check starts
    const char* environment = std::getenv("ZEVADRIVER_BOARDS");
    if (environment != nullptr && *environment != '\0')
        return environment + std::string(" (ZEVADRIVER_BOARDS)");
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read and set before any check starts
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/qxzeva-validate-boards-XXXXXX";
    const int fd = mkstemp(path.data());
    const std::string text = OwnBoardSet();
    const bool written =
        fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0)
        close(fd);
    if (!written) {
        why = "the validator's own board set cannot be written to " + path;
        if (fd >= 0)
            unlink(path.c_str());
        return "";
    }
    g_ownFile = path;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read and set before any check starts
    setenv("ZEVADRIVER_BOARDS", path.c_str(), 1);
    return "the validator's own set";
}
// NOLINTEND(concurrency-mt-unsafe)

void RemoveOwnBoardSet() {
    if (!g_ownFile.empty())
        unlink(g_ownFile.c_str());
    g_ownFile.clear();
}
