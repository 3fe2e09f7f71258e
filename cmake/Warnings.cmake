add_compile_options(-Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
endif()

# The module's four layers hold themselves to more: no silent narrowing or change of sign
# (the target's size_t and long are 32 bits, the build machine's 64), no name hiding another
# and nothing outside ISO C++. Linked by each layer alone, so the stand-ins, the host program
# and the tests keep the flags above.
add_library(qx_strict_warnings INTERFACE)
target_compile_options(qx_strict_warnings INTERFACE
    -Wconversion -Wsign-conversion -Wshadow -Wpedantic)
