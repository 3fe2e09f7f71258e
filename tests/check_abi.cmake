# Holds the ABI of the three libraries a host links and of the module's C view (abi/c_view.c)
# to the baseline in abi/<ARCH>/: each is dumped with abidw and compared with abidiff.
#   - the same ABI: passes;
#   - only additions (new functions or variables): passes, reports them and asks for the
#     baseline to be renewed, so that they are held from now on;
#   - anything else (a symbol removed, a record, table or enumeration changed): fails,
#     with abidiff's account of the change and what to do.
# RENEW=ON writes the dumps into the baseline instead (scripts/renew-abi-baseline.sh).
# Takes ABIDW, ABIDIFF, SOURCE_DIR, ARCH, WORK_DIR, KERNEL, LOADER, DRIVER, C_VIEW.
cmake_minimum_required(VERSION 3.25)

set(baseline_dir ${SOURCE_DIR}/abi/${ARCH})
set(renew "scripts/renew-abi-baseline.sh")
# What each dump holds: the exported interface of the object, with the types of the headers
# that declare it; a type defined elsewhere (a handle's record) is opaque to hosts and dumped
# as a declaration only. No path of this tree or of the build is written into the dump.
set(objects libqxkernel libqxloader libzevadriver qxzeva_c_view)
set(libqxkernel_file ${KERNEL})
set(libqxkernel_headers --headers-dir ${SOURCE_DIR}/platform/kernel/include)
set(libqxloader_file ${LOADER})
set(libqxloader_headers --headers-dir ${SOURCE_DIR}/include/qxzeva)
set(libzevadriver_file ${DRIVER})
set(libzevadriver_headers --headers-dir ${SOURCE_DIR}/platform/imagedriver
    --headers-dir ${SOURCE_DIR}/platform/imagedriver/include)
set(qxzeva_c_view_file ${C_VIEW})
set(qxzeva_c_view_headers --headers-dir ${SOURCE_DIR}/include/qxzeva)

file(MAKE_DIRECTORY ${WORK_DIR})
if(RENEW)
    file(MAKE_DIRECTORY ${baseline_dir})
endif()

set(failures "")
foreach(object IN LISTS objects)
    if(RENEW)
        set(dump ${baseline_dir}/${object}.abi)
    else()
        set(dump ${WORK_DIR}/${object}.abi)
    endif()
    execute_process(COMMAND ${ABIDW} --no-corpus-path --no-comp-dir-path --short-locs
            --exported-interfaces-only --drop-private-types ${${object}_headers}
            --out-file ${dump} ${${object}_file}
        RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "abidw failed (${status}) on ${${object}_file}:\n${err}")
    endif()
    if(RENEW)
        message(STATUS "baseline renewed: abi/${ARCH}/${object}.abi")
        continue()
    endif()

    set(baseline ${baseline_dir}/${object}.abi)
    if(NOT EXISTS ${baseline})
        string(APPEND failures "${object}: no baseline abi/${ARCH}/${object}.abi; make it with ${renew}\n")
        continue()
    endif()
    set(suppressions "")
    if(EXISTS ${SOURCE_DIR}/abi/suppressions.abignore)
        set(suppressions --suppressions ${SOURCE_DIR}/abi/suppressions.abignore)
    endif()
    # The changed types themselves, each once, rather than every path to them.
    execute_process(COMMAND ${ABIDIFF} --leaf-changes-only ${suppressions} ${baseline} ${dump}
        RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE err)
    # abidiff's status is a bit set: 1 error, 2 usage error, 4 a change, 8 an incompatible one.
    math(EXPR trouble "${status} & 3")
    math(EXPR incompatible "${status} & 8")
    if(NOT trouble EQUAL 0)
        message(FATAL_ERROR "abidiff failed (${status}) on abi/${ARCH}/${object}.abi:\n${err}")
    elseif(status EQUAL 0)
        message(STATUS "${object}: the ABI of abi/${ARCH}/${object}.abi")
        continue()
    endif()

    # A change counts as an addition alone when every summary removes and changes nothing.
    set(only_added TRUE)
    if(NOT incompatible EQUAL 0 OR NOT report MATCHES "summary:")
        set(only_added FALSE)
    endif()
    string(REGEX MATCHALL "[^\n]*summary:[^\n]*" summaries "${report}")
    foreach(summary IN LISTS summaries)
        if(summary MATCHES "[1-9][0-9]* (Removed|Changed|leaf types? changed)")
            set(only_added FALSE)
        endif()
    endforeach()
    string(STRIP "${report}" report)
    if(only_added)
        message(WARNING "${object} adds to the ABI of abi/${ARCH}/${object}.abi:\n${report}\n"
            "Compatible within the SONAME (docs/abi.md). Renew the baseline with ${renew} so that "
            "the additions are held too, and give each new library symbol the version that "
            "brought it (version script, abi/*.abilist, debian/*.symbols).")
    else()
        string(APPEND failures "${object} changed incompatibly against abi/${ARCH}/${object}.abi:\n"
            "${report}\n\n")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${failures}"
        "A host or module built against the baseline would break; docs/abi.md says what may "
        "change within a SONAME. Undo the change, or, if it is meant, give the library a new "
        "SONAME (ZEVADRIVER_SOVERSION for libzevadriver, else the major number of "
        "project(VERSION)): new version node, Debian package name and symbols file, a line in "
        "NEWS, and the baseline renewed with ${renew}.")
endif()
