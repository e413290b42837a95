# What `cmake --install` puts where, by component:
#   runtime      qvadmin, libqvflash.so.1 and libqvflash-utils.so.1, qv-system-profiler
#   development  qvflash.h, qvflash-utils.h, the unversioned .so links, a pkg-config file per
#                library
#   emulator     the stand-in PKCS#11 module, qvtoken and qvtoken-card; only on request
#                (--component emulator)
# The files find each other relative to themselves (runpath, profiler path), so a copy works
# from whatever prefix it is installed to.

install(TARGETS qvadmin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(TARGETS qvflash qvflash-utils
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
if(TARGET qv-system-profiler)
  install(TARGETS qv-system-profiler RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR} COMPONENT runtime)
endif()

install(FILES qvflash/qvflash.h qvflash-utils/qvflash-utils.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
# The pkg-config files find the prefix from their own folder.
file(RELATIVE_PATH QV_PKGCONFIG_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
foreach(library qvflash qvflash-utils)
  get_target_property(QV_PC_VERSION ${library} VERSION)
  set(QV_PC_NAME ${library})
  if(library STREQUAL "qvflash")
    set(QV_PC_DESCRIPTION "A token's flash functions over PC/SC")
  else()
    set(QV_PC_DESCRIPTION "A snapshot of the host's hardware ids")
  endif()
  configure_file(${CMAKE_CURRENT_LIST_DIR}/install/library.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endforeach()

install(TARGETS qvpkcs11zrn LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT emulator EXCLUDE_FROM_ALL)
install(TARGETS qvtoken qvtoken-card RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT emulator EXCLUDE_FROM_ALL)
