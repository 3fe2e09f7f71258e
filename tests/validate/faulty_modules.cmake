# The validator on this module, where every check must pass, and on modules with one fault
# each, where exactly the check of that fault must fail (check_validator.py holds the table).
# Included from tests/CMakeLists.txt.
set(_qx_faults asymmetric no_e_pointer block_length leak crash hang count_off_by_one unknown_item
    type_mismatch shallow_clone enum_end constructor_crash wrong_value literal_contract
    count_not_atomic leak_next)
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
        $<TARGET_FILE:qxzeva-validate> $<TARGET_FILE:qxzevaSysapiExpert>
        ${CMAKE_CURRENT_BINARY_DIR}/faulty
        ${PROJECT_SOURCE_DIR}/validate/qxzeva-validate-report.schema.json)
set_tests_properties(validator_passes_this_module_and_finds_each_fault PROPERTIES
    LABELS validate TIMEOUT 900)
