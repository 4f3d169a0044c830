# SPDX-License-Identifier: GPL-3.0-or-later
# Installation (cmake --install) and the Debian package (cpack -G DEB, which
# scripts/package runs). The stand-ins install their own rules in tools/.
#
# An installed Skedra still reads config.cfg from the working directory (or
# -c FILE); the examples land in share/skedra/examples, and the copies of the
# configuration and demo schedule installed there name the key file and the
# block file by their installed paths, so that
#   skedra -c /usr/share/skedra/examples/beamline.cfg
# works from any working directory.
include(GNUInstallDirs)

set(SKEDRA_MAINTAINER "Skedra developers <skedra-devel@lists.example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(SKEDRA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(SKEDRA_EXAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/skedra/examples)
set(SKEDRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/skedra)

install(TARGETS skedra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Qt comes from the system's library folders: no search path of our own
# ($ORIGIN/../lib, which the Qt project set-up adds) in installed programs.
set_target_properties(skedra tolva-server dorvan-sim PROPERTIES INSTALL_RPATH "")

# Examples. The relative "examples/..." paths inside the configuration and the
# schedule hold for a checkout only; the installed copies get absolute ones,
# worked out at install time from the prefix in use (cmake --install --prefix,
# or /usr for the package: CPack installs with DESTDIR, below, so that the
# prefix is the one the files will have on the target machine).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${SKEDRA_EXAMPLES_DIR}
        USE_SOURCE_PERMISSIONS
        PATTERN beamline.cfg EXCLUDE
        PATTERN demo-schedule.csv EXCLUDE)
set(_skedra_examples_code [[
set(_dir "@SKEDRA_EXAMPLES_DIR@")
if(NOT IS_ABSOLUTE "${_dir}")
  set(_dir "${CMAKE_INSTALL_PREFIX}/${_dir}")
endif()
foreach(_name beamline.cfg demo-schedule.csv)
  file(READ "@PROJECT_SOURCE_DIR@/examples/${_name}" _text)
  string(REPLACE "examples/" "${_dir}/" _text "${_text}")
  file(WRITE "@PROJECT_BINARY_DIR@/installed-examples/${_name}" "${_text}")
  file(INSTALL "@PROJECT_BINARY_DIR@/installed-examples/${_name}" DESTINATION "${_dir}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
]])
string(CONFIGURE "${_skedra_examples_code}" _skedra_examples_code @ONLY)
install(CODE "${_skedra_examples_code}")

# Desktop entry, icon and the AppStream description software centres show.
install(FILES ${SKEDRA_PACKAGING_DIR}/skedra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SKEDRA_PACKAGING_DIR}/org.example.skedra.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SKEDRA_PACKAGING_DIR}/skedra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${SKEDRA_PACKAGING_DIR}/skedra-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME skedra.png)

# Manual pages and the package's documents, compressed as Debian wants them
# (gzip -9n: no name or time stamp inside, so the bytes only change with the text).
string(TIMESTAMP SKEDRA_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${SKEDRA_PACKAGING_DIR}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog
               @ONLY)
set(_skedra_gz)
set(_skedra_man ${PROJECT_SOURCE_DIR}/skedra.1 ${SKEDRA_PACKAGING_DIR}/skedra-tolva-server.1
                ${SKEDRA_PACKAGING_DIR}/skedra-dorvan-sim.1)
foreach(_src ${_skedra_man} ${PROJECT_BINARY_DIR}/packaging/changelog)
  get_filename_component(_name ${_src} NAME)
  set(_gz ${PROJECT_BINARY_DIR}/packaging/${_name}.gz)
  add_custom_command(OUTPUT ${_gz}
                     COMMAND gzip -9nc ${_src} > ${_gz}
                     DEPENDS ${_src} VERBATIM)
  list(APPEND _skedra_gz ${_gz})
endforeach()
add_custom_target(skedra_package_docs ALL DEPENDS ${_skedra_gz})
install(FILES ${PROJECT_BINARY_DIR}/packaging/skedra.1.gz
              ${PROJECT_BINARY_DIR}/packaging/skedra-tolva-server.1.gz
              ${PROJECT_BINARY_DIR}/packaging/skedra-dorvan-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${SKEDRA_PACKAGING_DIR}/copyright
        DESTINATION ${SKEDRA_DOC_DIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skedra)
set(CPACK_PACKAGE_VENDOR "Skedra developers")
set(CPACK_PACKAGE_CONTACT "${SKEDRA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unattended X-ray absorption measurement schedules")
set(CPACK_PACKAGE_DESCRIPTION
    "Skedra runs a night of X-ray absorption (XAFS) measurements unattended: the\n"
    "operator builds a schedule of samples, edges, crystals and energy blocks,\n"
    "saves and loads it as CSV, and starts it. Skedra drives the beamline's\n"
    "measurement program with text commands over the Tolva message bus, waits\n"
    "for its events and asks the operator for the manual set-up changes.\n"
    "\n"
    "The interface is Japanese by default. Stand-ins of the bus server and of\n"
    "the measurement program (skedra-tolva-server, skedra-dorvan-sim) allow\n"
    "trials without a beamline.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without them the Japanese window shows English dialog buttons and empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
