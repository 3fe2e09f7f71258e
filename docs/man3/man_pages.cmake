# The manual pages of section 3, written by hand in this folder as <page>.3.in: the project's
# version filled in, and for every further name a page's NAME line lists (qxUnloadModule on
# qxLoadModule's), a page that sources it, so that `man <name>` opens it. Included from
# docs/CMakeLists.txt; sets QX_MAN3_DIR to the folder of the finished pages.
set(QX_MAN3_DIR ${CMAKE_CURRENT_BINARY_DIR}/man3)
# The product version the expert reports, written once in expert/product_version.h, for
# qxzeva(3)'s account of the two versions: QX_PRODUCT_VERSION (18.5).
file(STRINGS ${PROJECT_SOURCE_DIR}/expert/product_version.h _qx_product_lines
    REGEX "^#define QX_PRODUCT_VERSION_(MAJOR|MINOR) [0-9]+$")
string(REGEX REPLACE "[^;]*MAJOR ([0-9]+);[^;]*MINOR ([0-9]+)" "\\1.\\2" QX_PRODUCT_VERSION
    "${_qx_product_lines}")
if(NOT QX_PRODUCT_VERSION MATCHES "^[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "expert/product_version.h: no product version in ${_qx_product_lines}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/expert/product_version.h)
file(REMOVE_RECURSE ${QX_MAN3_DIR})
file(GLOB _qx_man3_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.3.in)
foreach(source IN LISTS _qx_man3_sources)
    get_filename_component(page ${source} NAME)
    string(REGEX REPLACE "\\.in$" "" page ${page})
    string(REGEX REPLACE "\\.3$" "" page_name ${page})
    configure_file(${source} ${QX_MAN3_DIR}/${page} @ONLY)
    file(STRINGS ${source} names_line REGEX " \\\\- " LIMIT_COUNT 1)
    string(REGEX REPLACE " \\\\- .*$" "" names "${names_line}")
    string(REPLACE ", " ";" names "${names}")
    list(FIND names ${page_name} at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${source}: its NAME line does not list ${page_name}")
    endif()
    foreach(name IN LISTS names)
        if(NOT name STREQUAL page_name)
            file(WRITE ${QX_MAN3_DIR}/${name}.3 ".so man3/${page}\n")
        endif()
    endforeach()
endforeach()
