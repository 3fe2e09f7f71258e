# Installs the build into a fresh prefix and runs the host program from there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/qxzeva-host bin/qxzeva-validate lib/qxzeva/qxzevaSysapiExpert.so lib/libqxkernel.so.18 lib/libqxloader.so.18
        lib/libzevadriver.so.19 include/qxzeva/qxzeva_c.h include/qxzeva/qxzeva_version.h
        include/qxzeva/qxzeva_host.h include/qxzeva/kernel/semLib.h
        include/qxzeva/module_loader.h include/qxzeva/zevadriver/zevadriver_control.h)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/qxzeva-host --names-only
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "img3")
    message(FATAL_ERROR "installed host program failed (${status}): ${errors}${output}")
endif()
message(STATUS "installed host program lists: ${output}")
execute_process(COMMAND ${PREFIX}/bin/qxzeva-validate --only-failed
        ${PREFIX}/lib/qxzeva/qxzevaSysapiExpert.so
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the installed validator failed the installed module (${status}): "
        "${errors}${output}")
endif()
