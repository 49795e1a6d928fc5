# cmake --install: the tool, the plug-ins, the runtime (shared and static),
# its headers with the contract headers of the host binding, a CMake package
# and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ISOFMT_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/isofmt)

install(TARGETS isofmt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS dtbasic1 dtextnd1 dtaltfm1 dtclockf LIBRARY DESTINATION ${ISOFMT_PLUGIN_INSTALL_DIR})
install(TARGETS isofmt_shared isofmt_runtime EXPORT isofmtTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/runtime/include/isofmt/host.h ${PROJECT_SOURCE_DIR}/runtime/include/isofmt/select.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/isofmt)

# The contract headers go to include/isofmt/abi/ and include each other as
# "isofmt/abi/NAME" there.
file(GLOB abi_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/abi/*)
foreach(f IN LISTS abi_files)
  get_filename_component(n ${f} NAME)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${f})
  file(READ ${f} text)
  string(REPLACE "#include \"abi/" "#include \"isofmt/abi/" text "${text}")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/install-include/isofmt/abi/${n} CONTENT "${text}" @ONLY)
endforeach()
install(DIRECTORY ${PROJECT_BINARY_DIR}/install-include/isofmt/abi DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/isofmt)

install(EXPORT isofmtTargets NAMESPACE isofmt:: DESTINATION ${ISOFMT_CMAKE_INSTALL_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/isofmtConfig.cmake.in
  ${PROJECT_BINARY_DIR}/isofmtConfig.cmake INSTALL_DESTINATION ${ISOFMT_CMAKE_INSTALL_DIR} PATH_VARS ISOFMT_PLUGIN_INSTALL_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/isofmtConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/isofmtConfig.cmake ${PROJECT_BINARY_DIR}/isofmtConfigVersion.cmake
  DESTINATION ${ISOFMT_CMAKE_INSTALL_DIR})

# The .pc file finds the prefix from its own place, so that a staged or moved
# install works as well.
file(RELATIVE_PATH pc_to_prefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/isofmt.pc.in ${PROJECT_BINARY_DIR}/isofmt.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/isofmt.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
