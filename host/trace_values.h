// How a trace shows the plain values that cross the interfaces: strings as text, tags in
// hexadecimal with their keys, GUIDs in braces with the interface they name. Interface pointers are
// shown by the tracing tables (traced_interfaces.cpp), which add overloads of their own.
#ifndef QX_HOST_TRACE_VALUES_H
#define QX_HOST_TRACE_VALUES_H

#include "cli/c_view.h"

#include <cstdint>
#include <string>

class CallTrace;

namespace trace_values {

std::string Quoted(const QX_WCHAR* text); // "null" for no string
std::string Number(std::uint32_t value);  // 0x%08X from 0x10000 up, else decimal
std::string GuidText(const _GUID& id);

// An argument as the call shows it. Out-parameters (pointers the callee writes through)
// show nothing here, and their values after the call.
template <class T>
std::string ArgText(T*) {
    return "";
}
std::string ArgText(std::uint32_t value);
std::string ArgText(std::int32_t value);
std::string ArgText(double value);
std::string ArgText(_GUID value);
std::string ArgText(const _GUID* iid);
std::string ArgText(const QX_WCHAR* text);
std::string ArgText(const std::uint32_t* tags);
std::string ArgText(const kcSysAttrTimestamp* time);
std::string ArgText(const kcSysAttrTimestampUTC* time);

// An out-parameter's value after a successful call, read through a pointer that is not
// null; every other argument shows nothing.
template <class T>
std::string OutText(CallTrace*, T) {
    return "";
}
std::string OutText(CallTrace*, QX_WCHAR** text);
std::string OutText(CallTrace*, std::uint32_t* value);
std::string OutText(CallTrace*, std::int32_t* value);
std::string OutText(CallTrace*, double* value);
std::string OutText(CallTrace*, _GUID* value);
std::string OutText(CallTrace*, kcSysAttributeType* type);
std::string OutText(CallTrace*, kcSysAttrTimestamp* time);
std::string OutText(CallTrace*, kcSysAttrTimestampUTC* time);

} // namespace trace_values

#endif
