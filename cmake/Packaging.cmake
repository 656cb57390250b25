# What `cmake --install` puts in place and CPack packs: the packaging tool, the
# shipping stub it uses by default and, on Linux, the tool's man page. A .deb from a
# Linux build, a .zip from a Windows one.
include(GNUInstallDirs)

install(TARGETS ovrapack RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(CODE "
  if(NOT EXISTS \"${OVRA_SHIPPING_STUB}\")
    message(FATAL_ERROR \"The stub ${OVRA_SHIPPING_STUB} is missing: build the mingw preset first, or set OVRA_SHIPPING_STUB\")
  endif()")
install(FILES ${OVRA_SHIPPING_STUB} DESTINATION ${CMAKE_INSTALL_DATADIR}/ovrasfx)

# A CMake package, so a product's own build finds the tool, the stub and
# ovrasfx_add_installer() with find_package(OvraSFX).
include(CMakePackageConfigHelpers)
set(OVRASFX_TOOL_NAME ovrapack${CMAKE_EXECUTABLE_SUFFIX})
set(OVRASFX_WINDOWS_TOOL FALSE)
if(WIN32)
  set(OVRASFX_WINDOWS_TOOL TRUE)
endif()
set(package_dir ${CMAKE_BINARY_DIR}/cmake-package)
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/OvraSFXConfig.cmake.in ${package_dir}/OvraSFXConfig.cmake @ONLY)
write_basic_package_version_file(${package_dir}/OvraSFXConfigVersion.cmake COMPATIBILITY SameMajorVersion
  ARCH_INDEPENDENT)
install(FILES ${package_dir}/OvraSFXConfig.cmake ${package_dir}/OvraSFXConfigVersion.cmake
  ${CMAKE_SOURCE_DIR}/cmake/package/OvraSFXInstaller.cmake DESTINATION ${CMAKE_INSTALL_DATADIR}/cmake/OvraSFX)

# Fuzzing builds make no man page: their programs are not for running by hand.
if(NOT CMAKE_CROSSCOMPILING AND NOT OVRA_FUZZ)
  find_program(OVRA_HELP2MAN help2man REQUIRED)
  set(man_page ${CMAKE_BINARY_DIR}/ovrapack.1)
  add_custom_command(OUTPUT ${man_page}
    COMMAND ${CMAKE_COMMAND} -DOVRAPACK=$<TARGET_FILE:ovrapack> -DHELP2MAN=${OVRA_HELP2MAN} -DOUT=${man_page}
            -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ovrapack ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Writing the man page of ovrapack from its help texts"
    VERBATIM)
  add_custom_target(ovrapack_man_page ALL DEPENDS ${man_page})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME ovrasfx)
set(CPACK_PACKAGE_VENDOR "OvraSFX")
set(CPACK_PACKAGE_CONTACT "OvraSFX developers <ovrasfx@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Self-extracting installer for Windows: packaging tool and stub")
set(CPACK_PACKAGE_DESCRIPTION
  "ovrapack builds self-extracting Windows installers from a folder and the OvraSFX stub,\nand lists, tests and extracts them.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
