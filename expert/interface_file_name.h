// Interface file names as the image driver gives them, and the item names made from them.
#ifndef QX_EXPERT_INTERFACE_FILE_NAME_H
#define QX_EXPERT_INTERFACE_FILE_NAME_H

#include "qx/kit/ModuleStatic.h"

#include <cstddef>
#include <string>

// The extension of the driver's interface files, ".zid"; built by the module's static
// constructor table, since an item name is the file name without it.
extern ModuleStatic<std::string> k_InterfaceExtensionString;

// Static constructor and destructor entries for k_InterfaceExtensionString.
void ConstructInterfaceExtensionString();
void DestroyInterfaceExtensionString();

// The text a driver call left in one of the expert's buffers: up to its first zero byte, and
// never past the buffer, even when the driver did not terminate it.
std::string TextInDriverBuffer(const char* buffer, std::size_t bufferSize);

#endif
