# Checks what a host author gets, from outside the build tree.
#   MODE=prefix: installs into a prefix and moves it elsewhere; compiles the installed headers
#                alone and together; builds the installed examples there, the C one with
#                pkg-config and the C++ one with find_package, and the C view test both ways;
#                runs them, the examples also under memcheck.
#   MODE=deb:    builds the Debian packages with dpkg-buildpackage from a copy of the source,
#                unit tests included, and checks that nocheck leaves the tests out; runs
#                lintian on every package, checks the libraries' names, that nothing carries
#                a run path, the plug-in's folder and the triggers, unpacks them into a
#                temporary root, runs the host program and builds and runs the examples from
#                there (memcheck without suppressions); makes the tarball.
# Takes BUILD_DIR, SOURCE_DIR, WORK_DIR, C_COMPILER, CXX_COMPILER, CPACK, VERSION, MODE, and
# DRIVER_SOVERSION and DRIVER_VERSION, the driver library's own (libzevadriver.so.19).
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${status}): ${command}\n${out}${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

string(REGEX MATCH "^[0-9]+" major ${VERSION})
# What both examples print on the simulated driver's default boards.
set(example_output "Product version 18.5 (package ${VERSION})
Items
  img0
  img1
  img2
  img3
Item          img0
Vendor        Verantic
Model         PCIe-4C
Serial number 01C4A2F0
Every board
  img0 on PCI bus 3
  img1 on PCI bus 4
  img2 on PCI bus 7
  img3 on PCI bus 9
4 boards reported
")

# Runs a program alone and then under memcheck: the same output, no error, no block lost.
# The suppressions are the installed ones, which the README names, where an install has them
# (MEMCHECK_SUPPRESSIONS); the Debian packages need none.
function(run_example program)
    run(${program})
    if(NOT run_output STREQUAL example_output)
        message(FATAL_ERROR "${program} printed:\n${run_output}")
    endif()
    set(suppressions "")
    if(MEMCHECK_SUPPRESSIONS)
        set(suppressions --suppressions=${MEMCHECK_SUPPRESSIONS})
    endif()
    run(valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect
        --errors-for-leak-kinds=definite,indirect ${suppressions} ${program})
    if(NOT run_output STREQUAL example_output)
        message(FATAL_ERROR "${program} printed under memcheck:\n${run_output}")
    endif()
endfunction()

# Builds both installed examples (DOCS: their folder) against the package at PREFIX (its
# library folder LIBDIR) the way their own build files say, and runs them.
function(build_and_run_examples docs prefix libdir name)
    file(COPY ${docs}/examples/c ${docs}/examples/cpp DESTINATION ${WORK_DIR}/examples-${name})
    set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
    run(make -C ${WORK_DIR}/examples-${name}/c CC=${C_COMPILER}
        "CFLAGS=-O2 -Wall -Wextra -Werror -pedantic")
    run_example(${WORK_DIR}/examples-${name}/c/host)
    run(${CMAKE_COMMAND} -S ${WORK_DIR}/examples-${name}/cpp -B ${WORK_DIR}/examples-${name}/cpp/build
        -G Ninja -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${prefix}
        "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror -pedantic")
    run(${CMAKE_COMMAND} --build ${WORK_DIR}/examples-${name}/cpp/build)
    run_example(${WORK_DIR}/examples-${name}/cpp/build/host)
    message(STATUS "both examples (${name}) print the boards, with nothing lost")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

if(MODE STREQUAL "prefix")
    set(c_host_source ${SOURCE_DIR}/tests/module/c_view_test.c)
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
        if(text MATCHES "rpath")
            message(FATAL_ERROR "${file} gives hosts a run path")
        elseif(text MATCHES "include/(qxzeva|qxloader)")
            message(FATAL_ERROR "${file} puts a folder below the include root on the path")
        endif()
    endforeach()
    # The manual pages name the files where this install put them.
    file(READ ${prefix}/share/man/man1/qxzeva-host.1 page)
    string(FIND "${page}" "${WORK_DIR}/staged/lib/qxzeva/qxzevaSysapiExpert.so" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "qxzeva-host(1) does not name the installed module:\n${page}")
    endif()
    foreach(file share/man/man1/qxzeva-host.1 share/man/man5/qxzeva-boards.5
            share/man/man3/qxzeva.3 share/man/man3/qxWideToUtf8.3 share/man/man3/qxUnloadModule.3
            lib/pkgconfig/zevadriver.pc include/qxzeva/qxzeva_cxx.h
            share/man/man1/qxzeva-validate.1 share/qxzeva/qxzeva-validate-report.schema.json
            share/qxzeva/qxzeva-host-report.schema.json
            share/qxzeva/example_boards.toml share/doc/qxzeva/html/index.html
            share/doc/qxzeva/examples/c/host.c share/doc/qxzeva/examples/cpp/host.cpp)
        if(NOT EXISTS ${prefix}/${file})
            message(FATAL_ERROR "not installed: ${file}")
        endif()
    endforeach()

    # Every installed header compiles alone with the include root alone on the path, the C
    # ones also as C99; all of them in one C++ translation unit: no header needs a file that
    # is not installed, and none brings the other view's names into the global namespace.
    set(includes -I${prefix}/include)
    file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/qxzeva/*.h)
    set(together "")
    foreach(header IN LISTS headers)
        string(APPEND together "#include \"${header}\"\n")
        file(WRITE ${WORK_DIR}/alone.cpp "#include \"${header}\"\n")
        run(${CXX_COMPILER} -std=c++17 -Wall -Wextra -Werror -pedantic ${includes}
            -fsyntax-only ${WORK_DIR}/alone.cpp)
        if(NOT header MATCHES "/(qxzeva_host|qxzeva_cxx|ref)\\.h$")
            file(WRITE ${WORK_DIR}/alone.c "#include \"${header}\"\ntypedef int qx_not_empty;\n")
            run(${C_COMPILER} -std=c99 -Wall -Wextra -Werror -pedantic ${includes} -fsyntax-only
                ${WORK_DIR}/alone.c)
        endif()
    endforeach()
    string(APPEND together
        "static_assert(sizeof(qxzeva::c::IkcSysExpert2) == sizeof(::IkcSysExpert2), \"\");\n"
        "static_assert(std::is_abstract_v<IkcSysPropertyBag3>, \"the C++ view's, unambiguous\");\n")
    file(WRITE ${WORK_DIR}/together.cpp "${together}")
    run(${CXX_COMPILER} -std=c++17 -Wall -Wextra -Werror -pedantic ${includes} -fsyntax-only
        ${WORK_DIR}/together.cpp)

    # The libraries need no run path; the module, under a prefix that may move, its own one.
    foreach(file lib/libqxkernel.so.${major} lib/libqxloader.so.${major}
            lib/libzevadriver.so.${DRIVER_SOVERSION} lib/qxzeva/qxzevaSysapiExpert.so)
        run(readelf -d ${prefix}/${file})
        if(file MATCHES "qxzevaSysapiExpert"
                AND NOT run_output MATCHES "RUNPATH[^\n]*\\$ORIGIN/\\.\\.]")
            message(FATAL_ERROR "the module finds no libraries under a moved prefix:\n${run_output}")
        elseif(NOT file MATCHES "qxzevaSysapiExpert" AND run_output MATCHES "R(UN)?PATH")
            message(FATAL_ERROR "${file} carries a run path:\n${run_output}")
        endif()
    endforeach()
    set(MEMCHECK_SUPPRESSIONS ${prefix}/share/doc/qxzeva/examples/valgrind.supp)
    build_and_run_examples(${prefix}/share/doc/qxzeva ${prefix} ${prefix}/lib moved-prefix)
    # The environment names another module: the host loads that one, or says it is missing.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QXZEVA_MODULE=${WORK_DIR}/no-such-module.so
        ${WORK_DIR}/examples-moved-prefix/c/host RESULT_VARIABLE status ERROR_VARIABLE err
        OUTPUT_QUIET)
    if(status EQUAL 0 OR NOT err MATCHES "module not found: ${WORK_DIR}/no-such-module.so")
        message(FATAL_ERROR "QXZEVA_MODULE was not followed (${status}): ${err}")
    endif()
    # A rejected board file: the driver serves no boards, so Initialize gives S_FALSE and
    # each host fails, giving the driver's reason.
    file(WRITE ${WORK_DIR}/rejected.toml "driver_version = \"x\"\n")
    foreach(host c/host cpp/build/host)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ZEVADRIVER_BOARDS=${WORK_DIR}/rejected.toml
            ${WORK_DIR}/examples-moved-prefix/${host} RESULT_VARIABLE status ERROR_VARIABLE err
            OUTPUT_VARIABLE out)
        if(status EQUAL 0 OR out MATCHES "img0" OR NOT err MATCHES
                "the image driver did not answer: [^\n]*rejected.toml:1:18: expected an integer")
            message(FATAL_ERROR "${host} took a rejected board file (${status}):\n${out}${err}")
        endif()
    endforeach()

    run(pkg-config --cflags --libs qxzeva)
    separate_arguments(flags UNIX_COMMAND "${run_output}")
    # One include folder: pkg-config gives <prefix>/include alone, so a host's own headers
    # of our headers' names are its own ("types.h" beside its source: cc ... -Iinclude).
    run(pkg-config --cflags qxzeva zevadriver)
    separate_arguments(cflags UNIX_COMMAND "${run_output}")
    string(REGEX REPLACE "^-I" "" root "${cflags}")
    get_filename_component(root "${root}" REALPATH)
    get_filename_component(expected_root ${prefix}/include REALPATH)
    if(NOT cflags MATCHES "^-I[^;]*$" OR NOT root STREQUAL expected_root)
        message(FATAL_ERROR "pkg-config gives more than the include root: ${cflags}")
    endif()
    file(WRITE ${WORK_DIR}/own/include/types.h "#define HOST_OWN_TYPES 1\n")
    file(WRITE ${WORK_DIR}/own/include/ref.h "#define HOST_OWN_REF 1\n")
    file(WRITE ${WORK_DIR}/own/main.c "#include \"qxzeva/qxzeva_c.h\"
#include \"types.h\"
#include \"ref.h\"
#if !defined(HOST_OWN_TYPES) || !defined(HOST_OWN_REF)
#error the package's headers shadow the host's own
#endif
int main(void) { return S_OK; }
")
    run(${C_COMPILER} -std=c99 -Wall -Wextra -Werror -pedantic ${cflags} -I${WORK_DIR}/own/include
        -fsyntax-only ${WORK_DIR}/own/main.c)

    # The include lines written before 18.5.0 moved the headers still build through the
    # forwarding headers, each naming the line to write instead: below the include root, and
    # the bare ones with the old folders a host adds itself.
    file(WRITE ${WORK_DIR}/old_includes.cpp "#include \"qxzeva/expert/qxzeva_c.h\"
#include \"qxzeva/hostkit/qxzeva_host.h\"
#include \"qxloader/module_loader.h\"
#include \"qxkernel/semLib.h\"
#include \"zevadriver/zevadriver_control.h\"
#include \"expert/qxzeva_c.h\"
#include \"module_loader.h\"
#include \"qxzeva_version.h\"
static_assert(QXZEVA_VERSION_MAJOR == ${major} && SEM_Q_FIFO == 0, \"the moved headers\");
static_assert(sizeof(zevadriverBoard) > 0 && sizeof(qxzeva::c::IkcSysExpert2Vtbl) > 0, \"the moved headers\");
")
    execute_process(COMMAND ${CXX_COMPILER} -std=c++17 -Wall -Wextra -Werror -pedantic ${cflags}
            -I${prefix}/include/qxzeva -I${prefix}/include/qxloader -fsyntax-only
            ${WORK_DIR}/old_includes.cpp
        RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
    foreach(moved "qxzeva/expert/qxzeva_c.h|qxzeva/qxzeva_c.h"
            "qxzeva/hostkit/qxzeva_host.h|qxzeva/qxzeva_host.h"
            "qxloader/module_loader.h|qxzeva/module_loader.h"
            "qxkernel/semLib.h|qxzeva/kernel/semLib.h"
            "zevadriver/zevadriver_control.h|qxzeva/zevadriver/zevadriver_control.h")
        string(REPLACE "|" ";" moved "${moved}")
        list(GET moved 0 old)
        list(GET moved 1 new)
        string(FIND "${err}" "\"${old}\" is deprecated: write #include \"${new}\"" at)
        if(NOT status EQUAL 0 OR at EQUAL -1)
            message(FATAL_ERROR "${old} did not build with its deprecation (${status}):\n${err}")
        endif()
    endforeach()
    run(pkg-config --variable=module qxzeva)
    string(STRIP "${run_output}" module)
    run(${C_COMPILER} -std=c11 -Wall -Werror ${c_host_source} -DQX_MODULE_PATH="${module}"
        ${flags} -o ${WORK_DIR}/c_host_pkgconfig)
    # pkg-config gives no run path: under a prefix of its own, a host finds the libraries
    # through LD_LIBRARY_PATH (or a run path of its own, as the example's Makefile adds).
    run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${WORK_DIR}/c_host_pkgconfig)
    message(STATUS "C view test through pkg-config: ${run_output}")

    run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/host/package_consumer -B ${WORK_DIR}/consumer
        -G Ninja -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_PREFIX_PATH=${prefix}
        -DQX_C_HOST_SOURCE=${c_host_source})
    run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
    run(${WORK_DIR}/consumer/c_host)
    message(STATUS "C view test through find_package: ${run_output}")
elseif(MODE STREQUAL "deb")
    run(dpkg-parsechangelog -l ${SOURCE_DIR}/debian/changelog -S Version)
    string(STRIP "${run_output}" changelog_version)
    if(NOT changelog_version MATCHES "^${VERSION}(-|$)")
        message(FATAL_ERROR "debian/changelog says ${changelog_version}, the project ${VERSION}")
    endif()

    # dpkg-buildpackage writes beside the tree it builds: a copy of the source.
    file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}/source
        REGEX "^${SOURCE_DIR}/(build|\\.git)$" EXCLUDE)
    # Debian's tools with the system's own programs, not whatever comes first on the PATH.
    set(debian_path PATH=/usr/sbin:/usr/bin:/sbin:/bin)
    # As Debian builds by default, without nocheck: the unit tests are built and run, and a
    # symbol lost from a library fails dpkg-gensymbols.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${debian_path}
        "DEB_BUILD_OPTIONS=parallel=2" dpkg-buildpackage -b -us -uc
        WORKING_DIRECTORY ${WORK_DIR}/source RESULT_VARIABLE status
        OUTPUT_FILE ${WORK_DIR}/dpkg-buildpackage.log ERROR_FILE ${WORK_DIR}/dpkg-buildpackage.log)
    file(READ ${WORK_DIR}/dpkg-buildpackage.log log)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "dpkg-buildpackage failed:\n${log}")
    elseif(NOT log MATCHES "100% tests passed, 0 tests failed out of [1-9]")
        message(FATAL_ERROR "dpkg-buildpackage ran no unit tests:\n${log}")
    endif()
    # With nocheck the tests are neither built nor run. A second whole build would double the
    # run time, so the nocheck build is taken up to its configuration, on a fresh copy: no
    # test target is made, and the test step does nothing (it would fail on a tree without
    # tests, as it did when the build made none).
    file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}/source-nocheck
        REGEX "^${SOURCE_DIR}/(build|\\.git)$" EXCLUDE)
    foreach(step override_dh_auto_configure override_dh_auto_test)
        run(${CMAKE_COMMAND} -E env ${debian_path} DEB_BUILD_OPTIONS=nocheck
            make -C ${WORK_DIR}/source-nocheck -f debian/rules ${step})
        set(step_output "${run_output}")
    endforeach()
    file(GLOB nocheck_cache ${WORK_DIR}/source-nocheck/obj-*/CMakeCache.txt)
    file(STRINGS ${nocheck_cache} tests_option REGEX "^QX_BUILD_TESTS:")
    if(NOT tests_option STREQUAL "QX_BUILD_TESTS:BOOL=OFF" OR step_output MATCHES "ctest")
        message(FATAL_ERROR "nocheck still builds or runs tests: ${tests_option}\n${step_output}")
    endif()
    file(GLOB debs ${WORK_DIR}/*.deb)
    run(${CMAKE_COMMAND} -E env ${debian_path} lintian --fail-on error,warning ${debs})
    if(run_output MATCHES "(^|\n)[EW]: ")
        message(FATAL_ERROR "lintian:\n${run_output}")
    endif()

    run(dpkg-architecture -qDEB_HOST_MULTIARCH)
    string(STRIP "${run_output}" multiarch)
    set(root ${WORK_DIR}/root)
    foreach(package qxzeva libqxloader${major} libqxkernel${major}
            libzevadriver${DRIVER_SOVERSION} libqxzeva-dev qxzeva-doc)
        file(GLOB deb ${WORK_DIR}/${package}_*.deb)
        if(NOT deb)
            message(FATAL_ERROR "no package ${package}")
        endif()
        run(dpkg-deb -x ${deb} ${root})
        if(package MATCHES "^lib.*(${major}|${DRIVER_SOVERSION})$")
            file(GLOB symbols ${WORK_DIR}/${package}-dbgsym_*.deb)
            run(dpkg-deb --info ${deb} triggers)
            if(NOT symbols OR NOT run_output MATCHES "ldconfig")
                message(FATAL_ERROR "${package}: no debug symbols package or no ldconfig trigger")
            endif()
        endif()
    endforeach()
    set(libdir ${root}/usr/lib/${multiarch})
    set(qxloader_names ${VERSION} ${major})
    set(qxkernel_names ${VERSION} ${major})
    set(zevadriver_names ${DRIVER_VERSION} ${DRIVER_SOVERSION})
    foreach(library qxloader qxkernel zevadriver)
        list(GET ${library}_names 0 file_version)
        list(GET ${library}_names 1 soversion)
        run(readelf -d ${libdir}/lib${library}.so.${file_version})
        if(NOT run_output MATCHES "Library soname: \\[lib${library}\\.so\\.${soversion}\\]")
            message(FATAL_ERROR "lib${library} is not named for its major version:\n${run_output}")
        endif()
    endforeach()
    # In the system's folders the dynamic loader finds everything: no file carries a run path.
    foreach(file ${libdir}/libqxloader.so.${VERSION} ${libdir}/libqxkernel.so.${VERSION}
            ${libdir}/libzevadriver.so.${DRIVER_VERSION} ${libdir}/qxzeva/qxzevaSysapiExpert.so
            ${root}/usr/bin/qxzeva-host)
        run(readelf -d ${file})
        if(run_output MATCHES "R(UN)?PATH")
            message(FATAL_ERROR "${file} carries a run path:\n${run_output}")
        endif()
    endforeach()
    # The unpacked tree stands in for the system's folders, which the loader searches itself.
    set(ENV{LD_LIBRARY_PATH} ${libdir})
    if(EXISTS ${libdir}/qxzevaSysapiExpert.so OR NOT EXISTS ${libdir}/qxzeva/qxzevaSysapiExpert.so)
        message(FATAL_ERROR "the plug-in is not in the package's own folder")
    endif()
    if(NOT EXISTS ${root}/usr/share/qxzeva/example_boards.toml)
        message(FATAL_ERROR "the example board description is not under /usr/share/qxzeva")
    endif()
    # The packages' pkg-config files give plain paths; the examples are built through the
    # unpacked root as a system root.
    file(STRINGS ${libdir}/pkgconfig/qxzeva.pc prefix_line REGEX "^prefix=")
    if(NOT prefix_line STREQUAL "prefix=/usr")
        message(FATAL_ERROR "qxzeva.pc says ${prefix_line}, not prefix=/usr")
    endif()
    set(ENV{PKG_CONFIG_SYSROOT_DIR} ${root})

    run(${root}/usr/bin/qxzeva-host --names-only)
    if(NOT run_output MATCHES "img3")
        message(FATAL_ERROR "the packaged host program listed: ${run_output}")
    endif()
    build_and_run_examples(${root}/usr/share/doc/qxzeva-doc ${root}/usr ${libdir} debian)

    run(${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/tarball)
    file(GLOB tarball ${WORK_DIR}/tarball/*.tar.gz)
    run(tar -tzf ${tarball})
    if(NOT run_output MATCHES "bin/qxzeva-host\n" OR NOT run_output MATCHES "qxzeva.pc")
        message(FATAL_ERROR "the tarball lacks the host program or qxzeva.pc")
    endif()
else()
    message(FATAL_ERROR "MODE must be prefix or deb")
endif()
