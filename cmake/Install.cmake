# What a host needs: the module, the stand-ins it runs on, the host program and the
# host-facing headers (C++ interfaces under include/qxzeva, and the C view).
set_target_properties(qxzevaSysapiExpert qxkernel qxloader zevadriver PROPERTIES
    INSTALL_RPATH "$ORIGIN")
install(TARGETS qxzevaSysapiExpert LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES
    expert/qxzeva_c.h expert/expert_interfaces.h expert/module_exports.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qxzeva/expert)
install(FILES
    com/unknown.h com/guid.h com/hresult.h com/iids.h com/enuminterfaces.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qxzeva/com)
install(FILES
    propertybag/propertybag_interfaces.h propertybag/attribute_types.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qxzeva/propertybag)
