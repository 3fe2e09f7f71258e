# Fails unless the module's dynamic symbol table defines exactly the four exports.
include(${CMAKE_CURRENT_LIST_DIR}/dynamic_symbols.cmake)
dynamic_symbols(${MODULE} --defined-only names)
list(SORT names)
set(expected _ctors _dtors createZEVASysapiExpert
    nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray)
if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports are '${names}', expected '${expected}'")
endif()
message(STATUS "exports: ${names}")
