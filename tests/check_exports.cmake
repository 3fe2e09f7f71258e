# Fails unless the module's dynamic symbol table defines exactly the four exports.
execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
    list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected _ctors _dtors createZEVASysapiExpert
    nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray)
if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports are '${names}', expected '${expected}'")
endif()
message(STATUS "exports: ${names}")
