# The QuelDB package a host builds against: cmake --install build --prefix P
# puts the libraries, public headers, CMake package (components queldb and
# widgets), queldb.pc and queldb-widgets.pc, the Designer plugin and the queldb
# tool below P. Every installed file finds the others relative to itself, so P
# may be moved. Install components, one per Debian package (packaging/):
#   queldb_runtime   libqueldb.so.1            queldb_development  headers, libqueldb.so, CMake package, queldb.pc
#   widgets_runtime  libqueldb_widgets.so.1    widgets_development their headers, .so, targets, queldb-widgets.pc
#   designer_plugin  the Qt Designer plugin    queldb_tool         the queldb tool
include(CMakePackageConfigHelpers)

# A SONAME and a version, unless the library's own rules gave it one.
get_target_property(_queldb_soversion queldb SOVERSION)
if(NOT _queldb_soversion)
  set_target_properties(queldb PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
endif()

set(QUELDB_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/QuelDB)

# $ORIGIN followed by the way from an installed folder to the library folder.
function(queldb_origin_rpath target from_dir)
  file(RELATIVE_PATH way /root/${from_dir} /root/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${way}")
endfunction()

install(TARGETS queldb EXPORT QuelDBTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT queldb_runtime NAMELINK_COMPONENT queldb_development)
install(DIRECTORY include/queldb DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT queldb_development)

if(TARGET queldb_widgets)
  queldb_origin_rpath(queldb_widgets ${CMAKE_INSTALL_LIBDIR})
  install(TARGETS queldb_widgets EXPORT QuelDBWidgetsTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT widgets_runtime NAMELINK_COMPONENT widgets_development)
  install(DIRECTORY ui/include/queldb DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT widgets_development)
endif()

if(TARGET queldb_designer)
  queldb_origin_rpath(queldb_designer ${QUELDB_DESIGNER_INSTALL_DIR})
  install(TARGETS queldb_designer LIBRARY DESTINATION ${QUELDB_DESIGNER_INSTALL_DIR} COMPONENT designer_plugin)
endif()

if(TARGET queldb_tool)
  queldb_origin_rpath(queldb_tool ${CMAKE_INSTALL_BINDIR})
  install(TARGETS queldb_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT queldb_tool)
endif()

# One export per component: the widgets' targets, and Qt with them, are loaded
# only when a host asks for them.
install(EXPORT QuelDBTargets NAMESPACE QuelDB:: DESTINATION ${QUELDB_INSTALL_CMAKEDIR} COMPONENT queldb_development)
if(TARGET queldb_widgets)
  install(EXPORT QuelDBWidgetsTargets NAMESPACE QuelDB:: DESTINATION ${QUELDB_INSTALL_CMAKEDIR}
    COMPONENT widgets_development)
  set(QUELDB_CONFIG_WITH_WIDGETS ON)
else()
  set(QUELDB_CONFIG_WITH_WIDGETS OFF)
endif()
configure_package_config_file(cmake/QuelDBConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QuelDBConfig.cmake
  INSTALL_DESTINATION ${QUELDB_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuelDBConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuelDBConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QuelDBConfigVersion.cmake
  DESTINATION ${QUELDB_INSTALL_CMAKEDIR} COMPONENT queldb_development)

# The .pc files name their prefix relative to their own folder.
file(RELATIVE_PATH QUELDB_PC_PREFIX_FROM_PCDIR /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
set(pc_names queldb)
if(TARGET queldb_widgets)
  list(APPEND pc_names queldb-widgets)
endif()
set(queldb_pc_component queldb_development)
set(queldb-widgets_pc_component widgets_development)
foreach(pc_name IN LISTS pc_names)
  configure_file(cmake/${pc_name}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc_name}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc_name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT ${${pc_name}_pc_component})
endforeach()
