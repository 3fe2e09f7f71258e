# What a host author gets: the installed package found through pkg-config and CMake, the
# Debian package and tarball, and the JSON report checked against its schema. Only where
# programs of the target run as child processes. Included from tests/CMakeLists.txt.
set(_qx_host_tests ${CMAKE_CURRENT_LIST_DIR})

# The package as a host author gets it, from the plain build: a host built without the
# sanitizers could not load a sanitized module, and the coverage build's counters are for
# the tests. The Debian packages are built from a copy of the source, so only where the test
# command builds them: the native preset.
if(NOT QX_SANITIZE AND NOT QX_COVERAGE)
    foreach(mode prefix deb)
        set(_qx_package_test package_${mode}_builds_and_runs_the_examples)
        add_test(NAME ${_qx_package_test}
            COMMAND ${CMAKE_COMMAND} -DMODE=${mode} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                    -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DC_COMPILER=${CMAKE_C_COMPILER}
                    -DCXX_COMPILER=${CMAKE_CXX_COMPILER} -DCPACK=${CMAKE_CPACK_COMMAND}
                    -DVERSION=${PROJECT_VERSION}
                    -DDRIVER_SOVERSION=$<TARGET_PROPERTY:zevadriver,SOVERSION>
                    -DDRIVER_VERSION=$<TARGET_PROPERTY:zevadriver,VERSION>
                    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/package-${mode}
                    -P ${_qx_host_tests}/check_package.cmake)
        # Alone: every install from the build folder rewrites its install manifest, and the
        # package build takes both cores.
        set_tests_properties(${_qx_package_test} PROPERTIES
            LABELS host TIMEOUT 1800 RUN_SERIAL ON)
    endforeach()
endif()

# Debian's validator, not whatever python3 comes first on the PATH.
find_program(QX_DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME host_json_report_matches_its_schema
    COMMAND ${QX_DEBIAN_PYTHON3} ${_qx_host_tests}/check_report_schema.py
            $<TARGET_FILE:qxzeva-host>
            ${PROJECT_SOURCE_DIR}/host/qxzeva-host-report.schema.json
            ${CMAKE_CURRENT_BINARY_DIR}
            ${PROJECT_SOURCE_DIR}/platform/imagedriver/example_boards.toml)
set_tests_properties(host_json_report_matches_its_schema PROPERTIES
    LABELS host TIMEOUT ${QX_TEST_TIMEOUT})
