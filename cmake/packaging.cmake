# What a release ships, as install() rules: the Windows build installs the folder of the zip
# (scripts/package zip), the native build the files of the corvane-cli .deb (scripts/package deb,
# through CPack). scripts/release runs both on release builds (CORVANE_RELEASE, see the top CMakeLists.txt).

# For scripts/package: the version this build carries and the time its files are dated.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/version.txt CONTENT "${CORVANE_VERSION}\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/source_date_epoch.txt
     CONTENT "${CORVANE_SOURCE_DATE_EPOCH}\n")

if(WIN32)
  # Corvane-<version>/ of the zip.
  install(TARGETS Corvane corvane-cli RUNTIME DESTINATION .)
  install(TARGETS CorvaneHook RUNTIME DESTINATION . ARCHIVE EXCLUDE_FROM_ALL COMPONENT unused)
  install(DIRECTORY data/Devices data/Languages DESTINATION .)
  # The program saves macros into Macros but never makes the folder.
  install(DIRECTORY DESTINATION Macros)
  # The demo macros, as exchange files to import (the format is the same).
  file(GLOB _samples CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/Macros/*.ini)
  foreach(_sample ${_samples})
    get_filename_component(_name ${_sample} NAME_WLE)
    install(FILES ${_sample} DESTINATION Samples RENAME ${_name}.mcr)
  endforeach()
  install(FILES data/linux/70-corvane.rules DESTINATION linux)
  install(FILES data/README.txt DESTINATION .)
  # No Corvane.ini: an update extracted over a folder must not replace the user's settings.
  return()
endif()

# The corvane-cli package.
set(CORVANE_MAINTAINER "Corvane developers <corvane@example.org>" CACHE STRING
    "The .deb's Maintainer field")
install(TARGETS corvane-cli RUNTIME DESTINATION bin)
install(FILES data/linux/70-corvane.rules DESTINATION lib/udev/rules.d)

# Debian's documentation folder: the copyright, and a changelog of this version, compressed
# without a name or time in its header.
set(_doc ${CMAKE_BINARY_DIR}/generated/doc)
set(ENV{SOURCE_DATE_EPOCH} ${CORVANE_SOURCE_DATE_EPOCH})
string(TIMESTAMP _date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT ${_doc}/changelog CONTENT "corvane-cli (${CORVANE_VERSION}) unstable; urgency=medium

  * Corvane ${CORVANE_VERSION}.

 -- ${CORVANE_MAINTAINER}  ${_date}
")
execute_process(COMMAND gzip -9nkf ${_doc}/changelog RESULT_VARIABLE _failed)
if(_failed)
  message(FATAL_ERROR "gzip of the changelog failed")
endif()
install(FILES cmake/deb/copyright ${_doc}/changelog.gz README.md DESTINATION share/doc/corvane-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-cli)
set(CPACK_PACKAGE_VERSION ${CORVANE_VERSION})
set(CPACK_PACKAGE_CONTACT ${CORVANE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure a seven-button USB gaming mouse")
# CPack indents each line; Debian's tools want them under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "corvane-cli shows the stored configuration of Corvane (button functions,
DPI stages, report rate, macros), backs it up and restores it, and uploads
it to the mouse through the kernel's hidraw devices. A udev rule lets the
user at the seat open the mouse.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/deb/postinst
    ${CMAKE_SOURCE_DIR}/cmake/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
