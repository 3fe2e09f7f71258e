# A tarball of the install: cpack in the build folder makes it. The Debian packages are made
# the Debian way, by dpkg-buildpackage from debian/.
set(CPACK_PACKAGE_NAME qxzeva)
set(CPACK_PACKAGE_VENDOR "Verantic Corporation")
set(CPACK_PACKAGE_CONTACT "QX ZEVA maintainers <qxzeva@verantic.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "QX ZEVA System API expert module, its host program and the headers hosts build against")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR TGZ)
set(CPACK_STRIP_FILES OFF)

include(CPack)
