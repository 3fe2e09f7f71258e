/* The image driver's functions, each written once: the control interface's enumeration and
 * names, the simulated driver's definitions, the tests' wrappers and the library's list of
 * exports all come from this list. A row repeats its function's declaration in imagedriver.h,
 * the driver's own header, and the compiler holds the two together: the simulated driver
 * defines each function from its row.
 *   X(enumerator, name, parameters, arguments)
 * enumerator: its zevadriverFunction value; arguments: the parameters' names, to pass them on.
 * In the order the expert first calls them. Includes nothing, so that the build can read the
 * names through the preprocessor alone. */
#ifndef ZEVADRIVER_FUNCTIONS_H
#define ZEVADRIVER_FUNCTIONS_H

/* clang-format off */
#define ZEVADRIVER_FUNCTIONS(X) \
    X(ZEVADRIVER_GET_DRIVER_VERSION, qxzevauGetDriverVersion, (uint32_t* version), (version)) \
    X(ZEVADRIVER_DEPLOY_INTERFACE_FILES, qxzevauDeployInterfaceFiles, (void), ()) \
    X(ZEVADRIVER_GET_SERIAL_NUMBER, qxzevauGetSerialNumber, \
      (uint32_t* serialNumbers, uint32_t* count), (serialNumbers, count)) \
    X(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, qxzevauGetActiveInterfaceFile, \
      (uint32_t serialNumber, char* fileName), (serialNumber, fileName)) \
    X(ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE, qxzevauClaimNewInterfaceFile, \
      (uint32_t serialNumber, char* fileName), (serialNumber, fileName)) \
    X(ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE, qxzevauSetActiveInterfaceFile, \
      (uint32_t serialNumber, const char* fileName), (serialNumber, fileName)) \
    X(ZEVADRIVER_GET_BOARD_PCI_LOCATION, qxzevauGetBoardPCILocation, \
      (uint32_t serialNumber, uint32_t* bus, uint32_t* device, uint32_t* function), \
      (serialNumber, bus, device, function)) \
    X(ZEVADRIVER_GET_BOARD_PCI_ID, imgGetBoardPCIID, \
      (uint32_t serialNumber, uint32_t* pciId), (serialNumber, pciId)) \
    X(ZEVADRIVER_GET_BOARD_NAME, qxzevauGetBoardName, \
      (uint32_t serialNumber, char* boardName), (serialNumber, boardName))
/* clang-format on */

#endif
