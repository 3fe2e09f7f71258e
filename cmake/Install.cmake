# What a host needs: the module, the stand-ins it runs on, the host program, the host-facing
# headers (the C view and the C++ helpers under include/qxzeva), and the means to find them:
# a CMake package (find_package(qxzeva CONFIG)) and a pkg-config file, both relocatable.
include(CMakePackageConfigHelpers)

# The libraries a host links carry the major version in their names (libqxloader.so.18): the
# CMake package promises compatibility within a major version, and so does the name. They
# need nothing but the system's libraries, so they carry no run path. The driver library
# has a major version of its own (libzevadriver.so.19, platform/imagedriver/CMakeLists.txt).
set_target_properties(qxkernel qxloader PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
# The module is a plug-in, loaded by path and never linked: it lies in the package's own
# folder beside those libraries, where qxInstalledModulePath() finds it. It needs the kernel
# stand-in and the driver one folder up, and the programs the loader: in the system's
# library folder (the Debian packages) the dynamic loader finds them by itself, so neither
# carries a run path; under a private prefix, which may be moved, only a run path relative
# to the file does.
set(QX_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/qxzeva)
if(CMAKE_INSTALL_FULL_LIBDIR IN_LIST CMAKE_C_IMPLICIT_LINK_DIRECTORIES)
    foreach(program qxzeva-host qxzeva-validate)
        if(TARGET ${program})
            set_target_properties(${program} PROPERTIES INSTALL_RPATH "")
        endif()
    endforeach()
else()
    set_target_properties(qxzevaSysapiExpert PROPERTIES INSTALL_RPATH "$ORIGIN/..")
endif()

# The host-facing headers: the folder include/qxzeva as it is, and the version header made
# beside it, installed as <prefix>/include/qxzeva, so that a host puts <prefix>/include alone
# on its path and writes #include "qxzeva/...": the C view (qxzeva_c.h), the C++ view
# (qxzeva_cxx.h), whose classes the module implements, and the C++ helpers (qxzeva_host.h).
install(DIRECTORY include/qxzeva DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${QX_GENERATED_INCLUDE_DIR}/qxzeva/qxzeva_version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qxzeva)
# Deprecated: a forwarding header where each header lay before 18.5.0 moved it, so that older
# include lines still build, each saying so (NEWS). The package files put none of those
# folders on the include path: a host's own "types.h" or "ref.h" must not resolve to ours.
install(DIRECTORY include/compat/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# qxzeva::headers: include "qxzeva/qxzeva_c.h" (C), or "qxzeva/qxzeva_cxx.h" and
# "qxzeva/qxzeva_host.h" (C++).
add_library(qxzeva_headers INTERFACE)
target_include_directories(qxzeva_headers INTERFACE
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<BUILD_INTERFACE:${QX_GENERATED_INCLUDE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
# qxzeva::module is loaded, never linked: $<TARGET_FILE:qxzeva::module> is its path.
set_target_properties(qxzeva_headers PROPERTIES EXPORT_NAME headers)
set_target_properties(qxzevaSysapiExpert PROPERTIES EXPORT_NAME module)
set_target_properties(qxkernel PROPERTIES EXPORT_NAME kernel)
set_target_properties(qxloader PROPERTIES EXPORT_NAME loader)
target_compile_features(qxzeva_headers INTERFACE cxx_std_17)
install(TARGETS qxzevaSysapiExpert qxzeva_headers EXPORT qxzevaTargets
    LIBRARY DESTINATION ${QX_MODULE_INSTALL_DIR})

# Manual pages, written or generated: the C functions' (man3) come with the reference
# (docs/CMakeLists.txt), from the same comments; each file listed here is installed in the folder of
# the section its suffix names (qxzeva-host.1 in man1). Add a page by adding its file.
if(NOT CMAKE_CROSSCOMPILING AND QX_BUILD_HOST)
    set(QX_MAN_PAGES ${PROJECT_BINARY_DIR}/host/qxzeva-host.1
        ${PROJECT_BINARY_DIR}/host/qxzeva-boards.5
        ${PROJECT_BINARY_DIR}/validate/qxzeva-validate.1)
    # A page names the installed files by the prefix given at configure time; installed
    # under another (cmake --install --prefix), it names that one instead.
    foreach(page IN LISTS QX_MAN_PAGES)
        string(REGEX REPLACE ".*\\.([1-9])$" "\\1" section ${page})
        get_filename_component(name ${page} NAME)
        set(_qx_replace "")
        foreach(dir LIBDIR DATADIR)
            string(APPEND _qx_replace "string(REPLACE [[${CMAKE_INSTALL_FULL_${dir}}/]] "
                "\"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_${dir}}/\" text \"\${text}\")\n")
        endforeach()
        set(_qx_page ${CMAKE_CURRENT_BINARY_DIR}/man-installed/${name})
        install(CODE "file(READ [[${page}]] text)\n${_qx_replace}
            file(WRITE [[${_qx_page}]] \"\${text}\")
            file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man${section}\"
                TYPE FILE FILES [[${_qx_page}]])")
    endforeach()
endif()

# The examples a host author starts from, what changed for hosts in each release, and what
# may change within a SONAME.
install(DIRECTORY examples/ DESTINATION ${QX_INSTALL_DOCDIR}/examples)
install(FILES NEWS docs/abi.md DESTINATION ${QX_INSTALL_DOCDIR})

# The JSON Schema of the host program's --json report.
set(QX_SCHEMA_INSTALL_FILE ${CMAKE_INSTALL_DATADIR}/qxzeva/qxzeva-host-report.schema.json)
install(FILES host/qxzeva-host-report.schema.json DESTINATION ${CMAKE_INSTALL_DATADIR}/qxzeva)

set(QX_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qxzeva)
install(EXPORT qxzevaTargets NAMESPACE qxzeva:: DESTINATION ${QX_CMAKE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/qxzevaConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/qxzevaConfig.cmake
    INSTALL_DESTINATION ${QX_CMAKE_PACKAGE_DIR}
    PATH_VARS QX_SCHEMA_INSTALL_FILE)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/qxzevaConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qxzevaConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/qxzevaConfigVersion.cmake
    DESTINATION ${QX_CMAKE_PACKAGE_DIR})

# pkg-config: qxzeva (the headers and the loader) and zevadriver (the simulated driver's
# control library). Every path is taken from where the file itself lies (${pcfiledir}), so
# the prefix can be moved; a distribution's packages, whose prefix stays, turn
# QX_RELOCATABLE_PKGCONFIG off for plain paths (-I/usr/include, not a path through libdir).
option(QX_RELOCATABLE_PKGCONFIG "pkg-config files find the prefix from where they lie" ON)
if(QX_RELOCATABLE_PKGCONFIG)
    file(RELATIVE_PATH QX_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
    string(REGEX REPLACE "/$" "" QX_PC_PREFIX "${QX_PC_PREFIX}")
    set(QX_PC_PREFIX "\${pcfiledir}/${QX_PC_PREFIX}")
else()
    set(QX_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
endif()
foreach(module qxzeva zevadriver)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${module}.pc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${module}.pc @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${module}.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
