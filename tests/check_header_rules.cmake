# What the compiler holds a host to through the installed headers: each file of
# tests/header_rules is a small translation unit whose first line says the standard and
# whether it compiles cleanly (-Wall -Wextra -Werror -pedantic: "compiles: why") or fails
# with exactly one error, which contains the text after "fails: ". Takes C_COMPILER, CXX_COMPILER, INCLUDE_ROOT,
# GENERATED_INCLUDE_ROOT (the folder of the made version header), RULES (the folder).
cmake_minimum_required(VERSION 3.25)

set(failures "")
file(GLOB rules ${RULES}/*.c ${RULES}/*.cpp)
list(LENGTH rules count)
foreach(rule IN LISTS rules)
    get_filename_component(name ${rule} NAME)
    file(STRINGS ${rule} first_line LIMIT_COUNT 1)
    if(NOT first_line MATCHES "^/\\* -std=([^ ]+) (compiles|fails): (.*) \\*/$")
        message(FATAL_ERROR "${name}: the first line says no standard and outcome")
    endif()
    set(standard ${CMAKE_MATCH_1})
    set(expected "")
    if(CMAKE_MATCH_2 STREQUAL "fails")
        set(expected "${CMAKE_MATCH_3}")
    endif()
    set(compiler ${CXX_COMPILER})
    if(name MATCHES "\\.c$")
        set(compiler ${C_COMPILER})
    endif()
    execute_process(COMMAND ${compiler} -std=${standard} -Wall -Wextra -Werror -pedantic
            -I${INCLUDE_ROOT} -I${GENERATED_INCLUDE_ROOT} -fsyntax-only ${rule}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(expected STREQUAL "")
        if(NOT status EQUAL 0)
            string(APPEND failures "${name} does not compile:\n${out}${err}\n")
        endif()
        continue()
    endif()
    string(FIND "${err}" "${expected}" at)
    # Errors, not counting the missing header that stops the compiler after an #error.
    string(REGEX MATCHALL "(^|\n)[^\n]*: error: " errors "${err}")
    list(LENGTH errors error_count)
    if(status EQUAL 0 OR at EQUAL -1 OR NOT error_count EQUAL 1)
        string(APPEND failures "${name}: expected one error saying \"${expected}\", got "
            "${error_count} (status ${status}):\n${err}\n")
    endif()
endforeach()
if(NOT failures STREQUAL "")
    message(FATAL_ERROR "${failures}")
endif()
message(STATUS "the ${count} files of ${RULES} compile or fail as they say")
