# scripts/run.sh on a copy of the tree with a source that does not compile: the script must
# fail, show the compiler's error and say which step failed, and print nothing on standard
# output. The broken source is the one the build compiles first, so the failure comes within
# seconds; the script treats a failure in any source alike. Takes SOURCE_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR} PATTERN build EXCLUDE PATTERN .git EXCLUDE)
file(APPEND ${WORK_DIR}/platform/kernel/futex_lock.cpp
    "\nint run_script_check = no_such_name_anywhere;\n")

execute_process(COMMAND ${WORK_DIR}/scripts/run.sh --names-only
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(problems "")
if(status EQUAL 0)
    string(APPEND problems "it exited with 0\n")
endif()
if(NOT err MATCHES "futex_lock\\.cpp:[0-9]+:[0-9]+: error: [^\n]*no_such_name_anywhere")
    string(APPEND problems "the compiler's error is not shown\n")
endif()
if(NOT err MATCHES "run\\.sh: failed while building the module, the stand-ins and the host program")
    string(APPEND problems "the failed step is not named\n")
endif()
if(NOT out STREQUAL "")
    string(APPEND problems "standard output is not empty\n")
endif()
if(problems)
    message(FATAL_ERROR "scripts/run.sh on a broken tree (exit ${status}):\n${problems}"
                        "--- stdout:\n${out}--- stderr:\n${err}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "run.sh failed as it should (exit ${status})")
