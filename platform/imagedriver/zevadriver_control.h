/* Control of the simulated image driver, for tests and the host program: what boards it
 * knows, which of its functions fail, and which calls it received. Every function is
 * thread-safe; the driver functions and these share one lock.
 *
 * The driver starts with the boards of the file named by the environment variable
 * ZEVADRIVER_BOARDS, read at first use, or with its built-in boards when the variable is
 * unset. A file that cannot be read or is rejected leaves the driver without boards: the
 * reason goes to stderr (and zevadriverLastDescriptionError gives it) and every driver
 * function fails with
 * ZEVADRIVER_ERROR_BAD_DESCRIPTION until the boards are set here (reset, a description
 * loaded, or the boards cleared). */
#ifndef ZEVADRIVER_CONTROL_H
#define ZEVADRIVER_CONTROL_H

#include <stddef.h>
#include <stdint.h>

#include "zevadriver_functions.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Statuses the simulated driver returns; 0 is success. */
enum {
    ZEVADRIVER_ERROR_BAD_ARGUMENT = -20001,     /* a null pointer where data was expected */
    ZEVADRIVER_ERROR_UNKNOWN_SERIAL = -20002,   /* no board has that serial number */
    ZEVADRIVER_ERROR_NO_ACTIVE_FILE = -20003,   /* the board has no active interface file */
    ZEVADRIVER_ERROR_UNKNOWN_FILE = -20004,     /* no such interface file for that board */
    ZEVADRIVER_ERROR_FILE_EXISTS = -20005,      /* the file belongs to another board */
    ZEVADRIVER_ERROR_BUFFER_TOO_SMALL = -20006, /* serial-number array shorter than the boards */
    ZEVADRIVER_ERROR_NAME_TOO_LONG = -20007,    /* a name does not fit the driver's buffers */
    ZEVADRIVER_ERROR_DUPLICATE_SERIAL = -20008, /* a board with that serial number exists */
    ZEVADRIVER_ERROR_NO_MEMORY = -20009,
    ZEVADRIVER_ERROR_CLAIM_REFUSED = -20010,   /* the board is set to refuse claims */
    ZEVADRIVER_ERROR_BAD_DESCRIPTION = -20011, /* ZEVADRIVER_BOARDS names a rejected file */
    /* A board the driver refuses, one status per rule (zevadriverLastBoardError says why): */
    ZEVADRIVER_ERROR_OUT_OF_RANGE = -20012,       /* a number beyond its field's range */
    ZEVADRIVER_ERROR_MISSING_TEXT = -20013,       /* a text the board needs is null or empty */
    ZEVADRIVER_ERROR_CONTROL_CHARACTER = -20014,  /* a text holds a control character */
    ZEVADRIVER_ERROR_BAD_FILE_NAME = -20015,      /* not a plain file name ending in .zid */
    ZEVADRIVER_ERROR_DUPLICATE_LOCATION = -20016, /* a board at that PCI location exists */
    ZEVADRIVER_ERROR_BAD_RECORD_SIZE = -20017,    /* a record's size member is not one known */
    ZEVADRIVER_ERROR_INJECTED = -20099            /* a convenient status for scripted failures */
};

/* Longest texts the driver keeps: file names fit the 256-byte buffer, board names the
 * 50-byte one, each with its terminating zero. */
enum { ZEVADRIVER_MAX_FILE_NAME = 255, ZEVADRIVER_MAX_BOARD_NAME = 49 };

/* The driver's functions, as named in the call log and in failure injection: one value per
 * row of ZEVADRIVER_FUNCTIONS, from 0 in the list's order. The list grows within a SONAME,
 * so the type holds no count of it: zevadriverFunctionName() is null past the last one. */
#define ZEVADRIVER_FUNCTION_VALUE(enumerator, name, parameters, arguments) enumerator,
/* clang-format off */
typedef enum zevadriverFunction {
    ZEVADRIVER_FUNCTIONS(ZEVADRIVER_FUNCTION_VALUE)
} zevadriverFunction;
/* clang-format on */
#undef ZEVADRIVER_FUNCTION_VALUE

/* The driver function's own name, e.g. "qxzevauGetBoardName"; null for an unknown value. */
const char* zevadriverFunctionName(zevadriverFunction function);
/* A status's name as the enumeration above spells it, e.g. "ZEVADRIVER_ERROR_NO_ACTIVE_FILE";
 * null for 0 and for any status it does not list. */
const char* zevadriverStatusName(int32_t status);

/* The fields of a board, each written once: the record below, the driver's own record, the
 * keys of a board description (qxzeva-boards(5)) and their checks all come from this list.
 * The list's order is the record's layout after its size: a new field goes at the end.
 *   X(member, key, kind, limit, required, meaning)
 * kind INTEGER: uint32_t, 0 to limit. TEXT: a text of 1 to limit bytes. FILE: a TEXT that
 * names an interface file. FLAG: true or false, an int in the record. */
#define ZEVADRIVER_BOARD_FIELDS(X)                                                                 \
    X(serialNumber, "serial_number", INTEGER, 0xFFFFFFFFu, 1, "the board's serial number")         \
    X(activeFile, "active_file", FILE, ZEVADRIVER_MAX_FILE_NAME, 0,                                \
      "the board's active interface file; none when empty")                                        \
    X(claimFile, "claim_file", FILE, ZEVADRIVER_MAX_FILE_NAME, 0,                                  \
      "the file the next claim creates; the driver picks one when empty")                          \
    X(pciBus, "pci_bus", INTEGER, 255, 1, "the board's PCI bus")                                   \
    X(pciDevice, "pci_device", INTEGER, 31, 1, "the board's PCI device")                           \
    X(pciFunction, "pci_function", INTEGER, 7, 1, "the board's PCI function")                      \
    X(pciId, "pci_id", INTEGER, 0xFFFFFFFFu, 1, "the board's PCI identifier")                      \
    X(boardName, "board_name", TEXT, ZEVADRIVER_MAX_BOARD_NAME, 1, "the board's name")             \
    X(claimFails, "claim_fails", FLAG, 1, 0, "every claim for the board is refused")

/* One board. Null texts count as empty. Build it by naming its fields, never by position,
 * and set its size: zevadriverBoard board = {.size = ZEVADRIVER_BOARD_SIZE}; in C, or
 * board.size = ZEVADRIVER_BOARD_SIZE;
 *
 * The records a host allocates, zevadriverBoard and zevadriverCall, carry their size as
 * their first member. A later release of libzevadriver.so.19 may add fields at their end;
 * the library reads and writes only the fields the host's size covers, gives the fields
 * beyond it their defaults, and refuses a size that no release had
 * (ZEVADRIVER_ERROR_BAD_RECORD_SIZE). The whole rule: abi.md, installed beside NEWS
 * (docs/abi.md in the source). */
#define ZEVADRIVER_C_INTEGER uint32_t
#define ZEVADRIVER_C_TEXT const char*
#define ZEVADRIVER_C_FILE const char*
#define ZEVADRIVER_C_FLAG int
#define ZEVADRIVER_C_FIELD(member, key, kind, limit, required, meaning) ZEVADRIVER_C_##kind member;
typedef struct zevadriverBoard {
    uint32_t size; /* sizeof(zevadriverBoard) as the host was built with it */
    ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_C_FIELD)
} zevadriverBoard;
#undef ZEVADRIVER_C_FIELD
#define ZEVADRIVER_BOARD_SIZE ((uint32_t)sizeof(zevadriverBoard))

/* The built-in boards and driver version; no failures, no overrides, an empty log. */
void zevadriverReset(void);

/* Replaces the boards and the driver version by those of a TOML description file. On
 * failure nothing changes, -1 is returned and `error` (when not null) receives a text
 * "file:line:column: problem", cut to fit errorSize. Returns 0 on success. */
int zevadriverLoadDescription(const char* path, char* error, size_t errorSize);

/* Why the last board description read was refused, "file:line:column: problem", as the
 * driver wrote it to stderr (which it does not do again): that of ZEVADRIVER_BOARDS, read at
 * first use (this call reads it when nothing did yet), or of the last zevadriverLoadDescription.
 * Null when that description was accepted, when none was read or after zevadriverReset. The
 * text stays valid until the next zevadriverLoadDescription or zevadriverReset. A host that
 * got S_FALSE from Initialize calls it to tell the driver's reason. */
const char* zevadriverLastDescriptionError(void);

/* Scripting the boards. Boards keep the order in which they were added.
 * zevadriverAddBoard and zevadriverSetActiveFile refuse exactly what a board description
 * refuses (qxzeva-boards(5)), each rule with its own status and the description's words. */
void zevadriverClearBoards(void);
int32_t zevadriverAddBoard(const zevadriverBoard* board); /* 0 or a ZEVADRIVER_ERROR_ */
/* The same without the rules on the board's values (ranges, empty names, control characters,
 * the form of file names, one board at a PCI location): a board no description can hold, to
 * test a host against a driver that reports such values. A board still needs a known record
 * size, texts that fit the driver's buffers, its own serial number and files of its own. */
int32_t zevadriverAddBoardUnchecked(const zevadriverBoard* board);
/* Why the calling thread's last zevadriverAddBoard, zevadriverAddBoardUnchecked or
 * zevadriverSetActiveFile refused, in the words a board description gets for the same value
 * ("board_name: the text is empty"); null after one that succeeded. Valid until the thread's
 * next such call. */
const char* zevadriverLastBoardError(void);
void zevadriverSetDriverVersion(uint32_t version);
/* Makes `fileName` the board's active interface file; null removes the active file. */
int32_t zevadriverSetActiveFile(uint32_t serialNumber, const char* fileName);
/* A non-zero status makes every claim for that board fail with it; 0 lets claims succeed. */
int32_t zevadriverSetClaimStatus(uint32_t serialNumber, int32_t status);

/* Failure injection. A failing call writes nothing and returns the given status.
 * FailAlways with status 0 stops the permanent failure; FailOnCall makes the nth call
 * from now (1 = the next one) fail once. ClearFailures undoes both for every function. */
void zevadriverFailAlways(zevadriverFunction function, int32_t status);
void zevadriverFailOnCall(zevadriverFunction function, uint32_t nthCall, int32_t status);
void zevadriverClearFailures(void);

/* The next qxzevauGetSerialNumber call with a null array reports `count` instead of the
 * number of boards (once). */
void zevadriverOverrideSerialCount(uint32_t count);

/* While on, the function's texts (active file, claimed file or board name) fill the whole
 * buffer, padded with '#', and get no terminating zero. */
void zevadriverSetUnterminatedTexts(zevadriverFunction function, int on);

/* Takes the caller's buffer for the function's texts to be `bytes` long instead of the
 * driver's own size (0 goes back to it), so that an unterminated text fills a caller's larger
 * buffer to its end. */
void zevadriverSetTextBufferSize(zevadriverFunction function, uint32_t bytes);

/* The call log: one entry per driver call, in order, with the serial number it named (0 for
 * the functions that take none), the status it returned and what it wrote. The log keeps the
 * first 4096 calls after it was cleared. A record the library fills in the host's array: the
 * host sets `size` of the first one (ZEVADRIVER_CALL_SIZE), which the library takes as every
 * entry's size, as for zevadriverBoard.
 *
 * From 18.7.0 the record ends with what the call wrote through its pointers, a call that
 * failed included (a serial-number array too short still gets the count); a call made to fail
 * by the failure injection wrote nothing. */
enum { ZEVADRIVER_CALL_VALUES = 3, ZEVADRIVER_CALL_SERIALS = 8 };
typedef struct zevadriverCall {
    uint32_t size; /* sizeof(zevadriverCall) as the host was built with it */
    zevadriverFunction function;
    uint32_t serialNumber;
    int32_t status;
    /* The numbers written, in the order of the function's parameters: the driver version;
     * the count of qxzevauGetSerialNumber; bus, device, function; the PCI identifier. */
    uint32_t valueCount;
    uint32_t values[ZEVADRIVER_CALL_VALUES];
    /* How many serial numbers qxzevauGetSerialNumber wrote into the array, and the first
     * ZEVADRIVER_CALL_SERIALS of them. */
    uint32_t serialCount;
    uint32_t serials[ZEVADRIVER_CALL_SERIALS];
    /* The file name or board name written, or the file name qxzevauSetActiveInterfaceFile
     * was given: its bytes up to the first zero or the buffer's end (textLength of them),
     * of which `text` holds the first ZEVADRIVER_MAX_FILE_NAME, always zero-terminated. */
    uint32_t textLength;
    char text[ZEVADRIVER_MAX_FILE_NAME + 1];
} zevadriverCall;
#define ZEVADRIVER_CALL_SIZE ((uint32_t)sizeof(zevadriverCall))

/* Copies up to `capacity` entries into `calls` (may be null when capacity is 0) and sets
 * `*count` (when not null) to the number of entries in the log, which may be more. Returns 0,
 * or ZEVADRIVER_ERROR_BAD_RECORD_SIZE (nothing copied, the count still set) when calls[0].size
 * is no size the library knows. */
int32_t zevadriverReadLog(zevadriverCall* calls, size_t capacity, size_t* count);
void zevadriverClearLog(void);

#ifdef __cplusplus
}

/* The driver functions' names beside their values, from the one list that names them. */
struct zevadriverFunctionEntry {
    zevadriverFunction function;
    const char* name;
};
#define ZEVADRIVER_FUNCTION_ENTRY(enumerator, name, parameters, arguments) {enumerator, #name},
inline constexpr zevadriverFunctionEntry k_zevadriverFunctions[] = {
    ZEVADRIVER_FUNCTIONS(ZEVADRIVER_FUNCTION_ENTRY)};
#undef ZEVADRIVER_FUNCTION_ENTRY

/* The statuses' names, each written once: the entry spells the name it is made from. */
struct zevadriverStatusEntry {
    int32_t status;
    const char* name;
};
#define ZEVADRIVER_STATUS_ENTRY(status)                                                            \
    { status, #status }
inline constexpr zevadriverStatusEntry k_zevadriverStatuses[] = {
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_BAD_ARGUMENT),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_UNKNOWN_SERIAL),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_NO_ACTIVE_FILE),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_UNKNOWN_FILE),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_FILE_EXISTS),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_BUFFER_TOO_SMALL),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_NAME_TOO_LONG),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_DUPLICATE_SERIAL),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_NO_MEMORY),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_CLAIM_REFUSED),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_BAD_DESCRIPTION),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_OUT_OF_RANGE),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_MISSING_TEXT),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_CONTROL_CHARACTER),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_BAD_FILE_NAME),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_DUPLICATE_LOCATION),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_BAD_RECORD_SIZE),
    ZEVADRIVER_STATUS_ENTRY(ZEVADRIVER_ERROR_INJECTED),
};
#undef ZEVADRIVER_STATUS_ENTRY

#endif

#endif
