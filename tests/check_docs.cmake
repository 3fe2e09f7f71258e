# Checks the HTML reference the build made (HTML_DIR) against the headers: both
# examples embedded, every entry of the lists summarised, and each table of operations listed
# in its slot order, which is the interface.
set(findings)
foreach(page c_2host_8c-example.html cpp_2host_8cpp-example.html group__qxzeva__loader.html
        group__qxzeva__results.html group__qxzeva__values.html group__qxzeva__identifiers.html
        group__qxzeva__exports.html group__qxzeva__kernel.html group__qxzeva__text.html
        qxzeva__version_8h.html
        qxzeva__host_8h.html classqxzeva_1_1BasicRef.html classqxzeva_1_1WideString.html)
    if(NOT EXISTS ${HTML_DIR}/${page})
        list(APPEND findings "no page ${page}")
    endif()
endforeach()
file(GLOB pages ${HTML_DIR}/*.html)
foreach(page IN LISTS pages)
    file(READ ${page} html)
    if(html MATCHES "class=\"desc\"></td>")
        get_filename_component(name ${page} NAME)
        list(APPEND findings "${name} lists an entry with no summary")
    endif()
endforeach()

# SLOT_NAMES prints each table with its slots, from the lists the C view is expanded from.
execute_process(COMMAND ${SLOT_NAMES} OUTPUT_VARIABLE tables RESULT_VARIABLE status)
string(STRIP "${tables}" tables)
string(REPLACE "\n" ";" tables "${tables}")
if(NOT status EQUAL 0 OR NOT tables)
    list(APPEND findings "${SLOT_NAMES} printed no tables")
endif()
foreach(line IN LISTS tables)
    separate_arguments(declared UNIX_COMMAND "${line}")
    list(POP_FRONT declared table)
    file(READ ${HTML_DIR}/struct${table}.html html)
    string(REGEX MATCHALL "memItemRight\" valign=\"bottom\"><(a [^>]*|b)>[A-Za-z_]+</[ab]>"
        listed "${html}")
    list(TRANSFORM listed REPLACE ".*>([A-Za-z_]+)</[ab]>$" "\\1")
    if(NOT declared STREQUAL listed)
        list(APPEND findings "${table}: slots ${declared}, listed ${listed}")
    endif()
endforeach()

if(findings)
    list(JOIN findings "\n  " text)
    message(FATAL_ERROR "the reference:\n  ${text}")
endif()
message(STATUS "the reference embeds both examples and lists every table in slot order")
