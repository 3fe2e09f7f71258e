// The image driver's user-library functions that the expert imports by name. They stay
// undefined in the module and are bound when it is loaded, so whatever stands in the
// driver's place (the driver's library, a simulation, a program's own definitions) is used.
// Every function returns 0 on success; texts are zero-terminated and end inside the
// buffer sizes below. The simulated driver lists them once more, with what it needs to define
// them, in ZEVADRIVER_FUNCTIONS (zevadriver_functions.h); a function is added to both.
#ifndef QX_IMAGEDRIVER_IMAGEDRIVER_H
#define QX_IMAGEDRIVER_IMAGEDRIVER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t qxzevauStatus;

/* Buffer sizes the expert hands to the driver. */
enum {
    QXZEVAU_INTERFACE_FILE_BUFFER = 256, /* discovery: active file, claim, set active */
    QXZEVAU_REFRESH_FILE_BUFFER = 512,   /* item-name refresh: active file */
    QXZEVAU_BOARD_NAME_BUFFER = 50
};

qxzevauStatus qxzevauGetDriverVersion(uint32_t* version);
qxzevauStatus qxzevauDeployInterfaceFiles(void);
/* With a null array: the number of interfaces into *count. Else fills *count entries. */
qxzevauStatus qxzevauGetSerialNumber(uint32_t* serialNumbers, uint32_t* count);
qxzevauStatus qxzevauGetActiveInterfaceFile(uint32_t serialNumber, char* fileName);
qxzevauStatus qxzevauClaimNewInterfaceFile(uint32_t serialNumber, char* fileName);
qxzevauStatus qxzevauSetActiveInterfaceFile(uint32_t serialNumber, const char* fileName);
qxzevauStatus qxzevauGetBoardPCILocation(uint32_t serialNumber, uint32_t* bus, uint32_t* device,
                                         uint32_t* function);
qxzevauStatus imgGetBoardPCIID(uint32_t serialNumber, uint32_t* pciId);
qxzevauStatus qxzevauGetBoardName(uint32_t serialNumber, char* boardName);

#ifdef __cplusplus
}
#endif

#endif
