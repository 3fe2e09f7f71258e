# The validator on this module, where every check must pass, and on modules with one fault
# each, where exactly the check of that fault must fail (check_validator.py holds the table).
# Included from tests/CMakeLists.txt.
# The faults, each written once: faulty_module.cpp's QX_FAULT_ names; check_validator.py holds
# what each must make the validator say.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/faulty_module.cpp _qx_fault_lines
    REGEX "^#define QX_FAULT_[a-z_]+ [0-9]+")
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/faulty_module.cpp _qx_fault_defines REGEX "^#define QX_FAULT_")
list(LENGTH _qx_fault_lines _qx_read)
list(LENGTH _qx_fault_defines _qx_defined)
if(NOT _qx_read EQUAL _qx_defined)
    message(FATAL_ERROR "faulty_module.cpp: write each QX_FAULT_ definition on one line")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_LIST_DIR}/faulty_module.cpp)
set(_qx_faults)
foreach(line IN LISTS _qx_fault_lines)
    string(REGEX REPLACE "^#define QX_FAULT_([a-z_]+) .*" "\\1" fault "${line}")
    list(APPEND _qx_faults ${fault})
endforeach()
foreach(fault IN LISTS _qx_faults)
    add_library(faulty_${fault} MODULE ${CMAKE_CURRENT_LIST_DIR}/faulty_module.cpp)
    target_compile_definitions(faulty_${fault} PRIVATE QX_FAULT=QX_FAULT_${fault}
        QX_REAL_MODULE="$<TARGET_FILE:qxzevaSysapiExpert>")
    # The driver too, as a module that calls it imports it: the validator asks the driver
    # through the module's imports.
    target_link_libraries(faulty_${fault} PRIVATE qxloader -Wl,--no-as-needed zevadriver
        -Wl,--as-needed)
    set_target_properties(faulty_${fault} PROPERTIES PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/faulty)
    add_dependencies(faulty_${fault} qxzevaSysapiExpert)
    list(APPEND _qx_faulty_targets faulty_${fault})
endforeach()
add_custom_target(faulty_modules ALL DEPENDS ${_qx_faulty_targets})

find_program(QX_VALIDATE_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME validator_passes_this_module_and_finds_each_fault
    COMMAND ${QX_VALIDATE_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/check_validator.py
        --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}"
        --sanitized "${QX_SANITIZE}"
        --coverage "$<BOOL:${QX_COVERAGE}>"
        $<TARGET_FILE:qxzeva-validate> $<TARGET_FILE:qxzevaSysapiExpert>
        ${CMAKE_CURRENT_BINARY_DIR}/faulty
        ${PROJECT_SOURCE_DIR}/validate/qxzeva-validate-report.schema.json)
set_tests_properties(validator_passes_this_module_and_finds_each_fault PROPERTIES
    LABELS validate TIMEOUT 900)

# The validator's own units: outcomes, grading in the report, the table of checks.
add_executable(validator_unit_tests ${CMAKE_CURRENT_LIST_DIR}/validator_units_test.cpp)
target_link_libraries(validator_unit_tests PRIVATE qxzeva_validate_units GTest::gmock_main)
gtest_discover_tests(validator_unit_tests DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${QX_TEST_TIMEOUT} LABELS validate)
