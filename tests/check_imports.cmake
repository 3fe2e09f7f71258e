# Fails when the module imports a symbol the target does not offer. Allowed: what the kernel
# stand-in defines (the target kernel's functions), the image driver's functions
# (DRIVER_FUNCTIONS, a file of one name a line) and the runtime symbols of ALLOWLIST, one a
# line, with '#' comments.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/dynamic_symbols.cmake)

dynamic_symbols(${MODULE} --undefined-only imports)
dynamic_symbols(${KERNEL} --defined-only kernel_functions)
file(STRINGS ${DRIVER_FUNCTIONS} driver_functions)
file(STRINGS ${ALLOWLIST} allowed REGEX "^[^#]")
list(TRANSFORM allowed REPLACE "#.*$" "")
list(TRANSFORM allowed STRIP)

set(refused)
foreach(name IN LISTS imports)
    if(name IN_LIST kernel_functions OR name IN_LIST driver_functions OR name IN_LIST allowed)
        continue()
    endif()
    list(APPEND refused "${name}")
endforeach()
if(refused)
    list(JOIN refused "\n  " text)
    message(FATAL_ERROR "the module imports what the target does not offer:\n  ${text}")
endif()
list(LENGTH imports count)
message(STATUS "${count} imports, each offered by the target")
