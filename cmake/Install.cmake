# What `cmake --install` puts where, by component:
#   runtime      qvadmin, libqvflash.so.1 and libqvflash-utils.so.1, qv-system-profiler
#   development  qvflash.h, qvflash-utils.h, the unversioned .so links, a pkg-config file per
#                library
#   emulator     the stand-in PKCS#11 module, qvtoken and qvtoken-card; only on request
#                (--component emulator)
# The files find each other relative to themselves (runpath, profiler path), so a copy works
# from whatever prefix it is installed to.
#
# Every install, of any component, also writes an install record beside its manifest: its stage
# (DESTDIR), its prefix and the folders it made (cmake/install/InstallRecord.cmake), so that
# scripts/uninstall removes what the install made, from where it made it, and leaves the folders
# that were there before.

# The destination folders of every component below.
set(QV_INSTALL_FOLDERS ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR} ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    ${CMAKE_INSTALL_LIBEXECDIR} ${CMAKE_INSTALL_INCLUDEDIR})
function(qv_install_record phase)
  install(CODE "set(QV_INSTALL_PHASE ${phase})
set(QV_INSTALL_FOLDERS \"${QV_INSTALL_FOLDERS}\")
set(QV_INSTALL_RECORD_DIR \"${CMAKE_BINARY_DIR}\")
include(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/install/InstallRecord.cmake\")" ALL_COMPONENTS)
endfunction()
qv_install_record(before)

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

qv_install_record(after)
