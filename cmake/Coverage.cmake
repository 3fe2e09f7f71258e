# Line and branch counts of every target (gcc's --coverage), for the coverage preset;
# scripts/coverage.sh reads them with gcovr after the tests, against the floors in gcovr.cfg.
option(QX_COVERAGE "Build with gcc's coverage counters" OFF)
if(QX_COVERAGE)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        message(FATAL_ERROR "coverage is counted with gcc (use the coverage preset)")
    endif()
    # Atomic counters: the threaded tests would otherwise lose counts, even to negative ones.
    add_compile_options(--coverage -fprofile-update=atomic)
    add_link_options(--coverage)
    # For code whose processes end by _exit, which skips the counters' own write at exit.
    add_compile_definitions(QX_COVERAGE=1)
endif()
