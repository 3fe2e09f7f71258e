# Checks what a host author gets, from outside the build tree.
#   MODE=prefix: installs into a prefix, moves the prefix elsewhere, then builds the C view
#                test against it once through pkg-config and once through find_package, and
#                runs both.
#   MODE=deb:    makes the Debian package and the tarball, unpacks the Debian package into a
#                temporary root and runs its host program from there.
# Takes BUILD_DIR, SOURCE_DIR, WORK_DIR, C_COMPILER, CPACK, MODE.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${status}): ${command}\n${out}${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

set(c_host_source ${SOURCE_DIR}/tests/module/c_view_test.c)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

if(MODE STREQUAL "prefix")
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/staged)
    # Relocatable: the files must work from wherever the prefix ends up.
    set(prefix ${WORK_DIR}/moved)
    file(RENAME ${WORK_DIR}/staged ${prefix})
    file(GLOB_RECURSE package_files ${prefix}/lib/cmake/*.cmake ${prefix}/lib/pkgconfig/*.pc)
    foreach(file IN LISTS package_files)
        file(READ ${file} text)
        foreach(path ${BUILD_DIR} ${SOURCE_DIR} ${WORK_DIR})
            string(FIND "${text}" "${path}" at)
            if(NOT at EQUAL -1)
                message(FATAL_ERROR "${file} names ${path}")
            endif()
        endforeach()
    endforeach()
    foreach(file share/man/man1/qxzeva-host.1 share/man/man5/qxzeva-boards.5
            share/qxzeva/qxzeva-host-report.schema.json)
        if(NOT EXISTS ${prefix}/${file})
            message(FATAL_ERROR "not installed: ${file}")
        endif()
    endforeach()

    set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
    run(pkg-config --cflags --libs qxzeva)
    separate_arguments(flags UNIX_COMMAND "${run_output}")
    run(pkg-config --variable=module qxzeva)
    string(STRIP "${run_output}" module)
    run(${C_COMPILER} -std=c11 -Wall -Werror ${c_host_source} -DQX_MODULE_PATH="${module}"
        ${flags} -o ${WORK_DIR}/c_host_pkgconfig)
    run(${WORK_DIR}/c_host_pkgconfig)
    message(STATUS "through pkg-config: ${run_output}")

    run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/host/package_consumer -B ${WORK_DIR}/consumer
        -G Ninja -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_PREFIX_PATH=${prefix}
        -DQX_C_HOST_SOURCE=${c_host_source})
    run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
    run(${WORK_DIR}/consumer/c_host)
    message(STATUS "through find_package: ${run_output}")
elseif(MODE STREQUAL "deb")
    run(${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/packages)
    file(GLOB deb ${WORK_DIR}/packages/*.deb)
    file(GLOB tarball ${WORK_DIR}/packages/*.tar.gz)
    if(NOT deb OR NOT tarball)
        message(FATAL_ERROR "cpack made no Debian package or no tarball")
    endif()
    run(dpkg-deb --field ${deb} Depends)
    if(NOT run_output MATCHES "libc6" OR NOT run_output MATCHES "libstdc\\+\\+6")
        message(FATAL_ERROR "the Debian package states no runtime dependencies: ${run_output}")
    endif()
    run(tar -tzf ${tarball})
    if(NOT run_output MATCHES "bin/qxzeva-host\n" OR NOT run_output MATCHES "qxzeva.pc")
        message(FATAL_ERROR "the tarball lacks the host program or qxzeva.pc")
    endif()
    run(dpkg-deb -x ${deb} ${WORK_DIR}/unpacked)
    run(${WORK_DIR}/unpacked/usr/bin/qxzeva-host --names-only)
    if(NOT run_output MATCHES "img3")
        message(FATAL_ERROR "the packaged host program listed: ${run_output}")
    endif()
else()
    message(FATAL_ERROR "MODE must be prefix or deb")
endif()
