# Fails unless a shared object's dynamic symbol table defines exactly what it should.
#   MODULE=path                the module: its four exports, written here.
#   LIBRARY=path LIST=file     a library: the symbols the list (abi/*.abilist) names, each as
#                              "name@VERSION type", type as nm gives it; '#' starts a comment.
include(${CMAKE_CURRENT_LIST_DIR}/dynamic_symbols.cmake)
if(MODULE)
    dynamic_symbols(${MODULE} --defined-only names)
    list(SORT names)
    set(expected _ctors _dtors createZEVASysapiExpert
        nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray)
    if(NOT names STREQUAL expected)
        message(FATAL_ERROR "exports are '${names}', expected '${expected}'")
    endif()
    message(STATUS "exports: ${names}")
    return()
endif()

versioned_dynamic_symbols(${LIBRARY} exported)
file(STRINGS ${LIST} lines)
set(listed)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line)
        list(APPEND listed "${line}")
    endif()
endforeach()
set(unlisted ${exported})
list(REMOVE_ITEM unlisted ${listed})
set(missing ${listed})
list(REMOVE_ITEM missing ${exported})
if(unlisted OR missing)
    foreach(kind unlisted missing)
        if(NOT ${kind})
            set(${kind} "(none)")
        endif()
        list(JOIN ${kind} "\n  " ${kind})
    endforeach()
    get_filename_component(name ${LIBRARY} NAME)
    message(FATAL_ERROR "${name} does not export what ${LIST} lists.\n"
        "Exported but not listed:\n  ${unlisted}\nListed but not exported:\n  ${missing}\n"
        "A symbol a host may have bound to is never removed within a major version. A new "
        "API symbol goes in the library's version script (in a node of the release that "
        "adds it), in this list and in the Debian symbols file; anything else must stay "
        "hidden.")
endif()
list(LENGTH exported count)
message(STATUS "${LIBRARY} exports the ${count} symbols of ${LIST}")
