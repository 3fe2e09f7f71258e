# Reads a few of the man(3) pages as man shows them: each has SYNOPSIS with its #include and
# link line and SEE ALSO, and each but the overview RETURN VALUE; a string macro keeps its double quotes; the results'
# table has one row per result; a name on a page's NAME line opens that page; no generator
# signs them; the C++ example and docs/hosts.md ask find_package for the version qxzeva(3) gives.
# Takes MAN (the man program), PAGES (the folder of the finished pages), EXAMPLE_CMAKE (the
# C++ example's CMakeLists.txt), HOSTS_PAGE (docs/hosts.md) and IDENTIFIERS
# (include/qxzeva/identifiers.h).
cmake_minimum_required(VERSION 3.25)

function(render page)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=200
        ${MAN} --warnings -l ${page}
        WORKING_DIRECTORY ${PAGES}/.. RESULT_VARIABLE status OUTPUT_VARIABLE text
        ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
        message(FATAL_ERROR "man -l ${page} (${status}):\n${warnings}")
    endif()
    set(text "${text}" PARENT_SCOPE)
endfunction()

set(failures "")
foreach(row
        "qxzeva|#include \"qxzeva/qxzeva_c.h\"|pkg-config --cflags --libs qxzeva zevadriver"
        "IkcSysPropertyBag3|#include \"qxzeva/qxzeva_cxx.h\"|-lqxloader|\nRETURN VALUE\n"
        "qxLoadModule|#include \"qxzeva/module_loader.h\"|-lqxloader|\nRETURN VALUE\n"
        "QX_SUCCEEDED|#include \"qxzeva/qxzeva_c.h\"|-lqxloader|\nRETURN VALUE\n"
        "zevadriverLoadDescription|#include \"qxzeva/zevadriver/zevadriver_control.h\"|-lzevadriver|\nRETURN VALUE\n")
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 page)
    render(man3/${page}.3)
    foreach(expected "\nSYNOPSIS\n" "\nSEE ALSO\n" ${row})
        list(FIND row "${expected}" is_name)
        if(NOT is_name EQUAL 0)
            string(FIND "${text}" "${expected}" at)
            if(at EQUAL -1)
                string(APPEND failures "${page}(3) lacks \"${expected}\"\n")
            endif()
        endif()
    endforeach()
    if(text MATCHES "[Dd]oxygen|Generated automatically")
        string(APPEND failures "${page}(3) names its generator\n")
    endif()
endforeach()

render(man3/qxInstalledModulePath.3)
if(NOT text MATCHES "#define QX_MODULE_ENVIRONMENT \"QXZEVA_MODULE\"\n")
    string(APPEND failures "the string macro lost its quotes:\n${text}\n")
endif()

# The results as results.h defines them, one row each: name, value, meaning.
render(man3/QX_SUCCEEDED.3)
string(REPLACE ";" "," text "${text}")
foreach(result S_OK=0x00000000 S_FALSE=0x00000001 E_NOTIMPL=0x80004001 E_NOINTERFACE=0x80004002
        E_POINTER=0x80004003 E_FAIL=0x80004005 E_OUTOFMEMORY=0x8007000E
        E_PROPERTY_TYPE_MISMATCH=0x80040370 E_PROPERTY_NOT_FOUND=0x80040371
        E_ITEM_NOT_FOUND=0x80040375)
    string(REPLACE "=" " +" row_pattern "${result}")
    string(REGEX MATCHALL "\n +${row_pattern} +[a-z][^\n]*" rows "${text}")
    list(LENGTH rows count)
    if(NOT count EQUAL 1)
        string(APPEND failures "QX_SUCCEEDED(3): ${count} rows for ${result}\n")
    endif()
endforeach()

# A further name on the NAME line opens its page.
render(man3/qxUnloadModule.3)
if(NOT text MATCHES "qxLoadModule, qxUnloadModule")
    string(APPEND failures "qxUnloadModule(3) does not open qxLoadModule(3):\n${text}\n")
endif()

# IID_IUnknown(3) gives each identifier as identifiers.h defines it, in the text a host reads.
file(READ ${IDENTIFIERS} header)
string(REGEX MATCHALL "X\\(([A-Za-z0-9]+), QX_FAMILY_[A-Z_]+, *\\\\?[ \n]*\\{0x([0-9A-F]+), 0x([0-9A-F]+), 0x([0-9A-F]+), \\{([0-9A-Fx, ]+)\\}\\}\\)" rows "${header}")
list(LENGTH rows count)
render(man3/IID_IUnknown.3)
if(count LESS 10)
    string(APPEND failures "identifiers.h: ${count} identifiers read\n")
endif()
foreach(row IN LISTS rows)
    string(REGEX MATCH "X\\(([A-Za-z0-9]+), QX_FAMILY_[A-Z_]+, *\\\\?[ \n]*\\{0x([0-9A-F]+), 0x([0-9A-F]+), 0x([0-9A-F]+), \\{([0-9A-Fx, ]+)\\}\\}\\)" _ "${row}")
    set(name ${CMAKE_MATCH_1})
    set(fields ${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4})
    string(REGEX REPLACE "0x|, " "" bytes "${CMAKE_MATCH_5}")
    string(SUBSTRING "${bytes}" 0 4 clock)
    string(SUBSTRING "${bytes}" 4 -1 node)
    set(expected "IID_${name} +\\{${fields}-${clock}-${node}\\}\n")
    if(NOT text MATCHES "${expected}")
        string(APPEND failures "IID_IUnknown(3) does not give IID_${name} as ${expected}\n")
    endif()
endforeach()

# The C++ example and docs/hosts.md ask find_package for the version qxzeva(3) gives.
render(man3/qxzeva.3)
string(REGEX MATCH "find_package\\(qxzeva [0-9.]+" asked "${text}")
foreach(file ${EXAMPLE_CMAKE} ${HOSTS_PAGE})
    file(STRINGS ${file} line REGEX "find_package\\(qxzeva ")
    string(REGEX MATCH "find_package\\(qxzeva [0-9.]+" line "${line}")
    if(asked STREQUAL "" OR NOT line STREQUAL asked)
        string(APPEND failures "${file} says ${line}, qxzeva(3) ${asked}\n")
    endif()
endforeach()

if(NOT failures STREQUAL "")
    message(FATAL_ERROR "${failures}")
endif()
