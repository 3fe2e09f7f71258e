# The names in a shared object's dynamic symbol table, as ${NM} -D lists them with the filter
# `which` (--defined-only or --undefined-only), version suffixes dropped.
function(dynamic_symbols file which out)
    execute_process(COMMAND ${NM} -D ${which} ${file} OUTPUT_VARIABLE listing
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${NM} failed on ${file}")
    endif()
    string(REGEX MATCHALL "[^\n]+" lines "${listing}")
    set(names)
    foreach(line IN LISTS lines)
        # "<value> <type> name@VERSION" or "<type> name": keep the name, drop the version.
        string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] ([^@ ]+).*$" "\\1" name "${line}")
        list(APPEND names "${name}")
    endforeach()
    set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The defined symbols of a shared object's dynamic symbol table as "name@VERSION type" (the
# version node a symbol belongs to, nm's type letter; a version node itself as "NODE A"),
# sorted.
function(versioned_dynamic_symbols file out)
    execute_process(COMMAND ${NM} -D --defined-only --with-symbol-versions ${file}
        OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${NM} failed on ${file}")
    endif()
    string(REGEX MATCHALL "[^\n]+" lines "${listing}")
    set(symbols)
    foreach(line IN LISTS lines)
        # "<value> <type> name@@VERSION": the default version of a name, the one a program
        # binds to when it links.
        string(REGEX REPLACE "^[0-9a-fA-F]* *([A-Za-z]) ([^@ ]+)@*([^@ ]*)$" "\\2@\\3 \\1"
            symbol "${line}")
        string(REGEX REPLACE "@ " " " symbol "${symbol}")
        list(APPEND symbols "${symbol}")
    endforeach()
    list(SORT symbols)
    set(${out} "${symbols}" PARENT_SCOPE)
endfunction()
