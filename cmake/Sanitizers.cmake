# One sanitizer set for the whole tree, so that the module, the stand-ins and the tests
# share one runtime. Undefined behaviour stops the run instead of only being reported.
if(QX_SANITIZE)
    string(REPLACE ";" "," _qx_sanitizers "${QX_SANITIZE}")
    add_compile_options(-fsanitize=${_qx_sanitizers} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${_qx_sanitizers})
    if("undefined" IN_LIST QX_SANITIZE)
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
