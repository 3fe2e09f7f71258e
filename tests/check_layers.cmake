# Fails when a file of the module includes a header of a layer above its own. The layers,
# lowest first: qx/kit <- com <- propertybag <- expert, all on the host-facing ABI folder
# include/qxzeva, whose headers include only each other and the system's. The folders outside
# the module use what a host has, the installed interface, and include no header of a layer.
# The programs' kit (cli/) uses the installed interface alone; each program (host/,
# validate/) builds on the kit and the installed interface, never on the other program.
# Run with -DSOURCE_DIR=<project>.
cmake_minimum_required(VERSION 3.25)
set(layers qx/kit com propertybag expert)
set(outside cli host validate platform examples)
set(findings)
foreach(layer IN LISTS layers)
    list(FIND layers ${layer} own_rank)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[^\"<]*[\"<]([^\">]*)[\">].*" "\\1" header "${line}")
            foreach(other IN LISTS layers)
                list(FIND layers ${other} other_rank)
                if(other_rank GREATER own_rank AND header MATCHES "^${other}/")
                    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
                    list(APPEND findings "${name} (${layer}) includes ${header} (${other})")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()
list(JOIN layers "|" any_layer)
foreach(folder IN LISTS outside)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.c
        ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](${any_layer})/")
        foreach(line IN LISTS includes)
            file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
            list(APPEND findings "${name} (outside the module) includes the module's ${line}")
        endforeach()
    endforeach()
endforeach()
file(GLOB files ${SOURCE_DIR}/include/qxzeva/*.h)
foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        if(NOT line MATCHES "\"qxzeva/[^/\"]+\"")
            file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
            list(APPEND findings "${name} (the ABI folder) includes ${line}")
        endif()
    endforeach()
endforeach()
# The kit and the programs, like any host, build on the installed interface alone (the loader's
# header is part of it): their own headers, the kit's and the ABI folder's; none of the
# module's, the stand-ins' or the other program's. The host program alone drives the
# simulated driver, through its control header.
foreach(folder IN ITEMS cli host validate)
    set(own "qxzeva|cli")
    if(NOT folder STREQUAL "cli")
        string(APPEND own "|${folder}")
    endif()
    file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
        foreach(line IN LISTS includes)
            if((line MATCHES "\"" AND NOT line MATCHES "\"(${own})/[^/\"]+\"") OR
               line MATCHES "<(qx|com|propertybag|expert|cli|host|validate|platform)/" OR
               (line MATCHES "<zevadriver" AND NOT folder STREQUAL "host"))
                file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
                list(APPEND findings "${name} (${folder}) includes ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(findings)
    list(JOIN findings "\n  " text)
    message(FATAL_ERROR "includes of a higher layer or of the module from outside it:\n  ${text}")
endif()
message(STATUS "every file of the module includes only its own layer and those below, "
               "and the folders outside it only the installed interface")
