# A Debian package and a tarball of the same install: cpack in the build folder makes both,
# cpack -G DEB or -G TGZ one of them.
set(CPACK_PACKAGE_NAME qxzeva)
set(CPACK_PACKAGE_VENDOR "Verantic Corporation")
set(CPACK_PACKAGE_CONTACT "QX ZEVA maintainers <qxzeva@verantic.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "QX ZEVA System API expert module, its host program and the headers hosts build against")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES OFF)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# Runtime dependencies stated from the libraries that the package's programs and libraries
# link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR MATCHES "powerpc|ppc")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE powerpc)
endif()

include(CPack)
