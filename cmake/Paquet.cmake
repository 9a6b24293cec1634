# cpack -G DEB: a Debian package installing into /usr. The program goes
# straight into /usr/bin (component "paquet", left out of a plain
# cmake --install), with a menu entry that runs "ardemo"; the icons, the
# AppStream metainfo and the rest of the common install rules come along
# (component "Unspecified"). The per-user layout of cmake --install (program
# folder under opt/, component "utilisateur") is not packaged.

# What the package says about the project; set them before releasing.
set(ARDEMO_ID "fr.ardemo.Ardemo" CACHE STRING "AppStream component id")
set(ARDEMO_SITE "https://example.org/ardemo" CACHE STRING "Home page (the screenshot is found there)")
set(ARDEMO_AUTEUR "Équipe Ardemo" CACHE STRING "Author and maintainer name")
set(ARDEMO_COURRIEL "ardemo@example.org" CACHE STRING "Maintainer e-mail address")
set(ARDEMO_LICENCE "LicenseRef-proprietary" CACHE STRING "SPDX licence of the program's own code")
set(ARDEMO_LICENCE_TEXTE "All rights reserved: no licence to copy, modify or redistribute has been granted."
    CACHE STRING "Short text of that licence for the copyright file")
set(ARDEMO_DATE "2026-12-06" CACHE STRING "Release date of this version")

set(_paquet ${CMAKE_BINARY_DIR}/paquet)
configure_file(resources/ardemo.metainfo.xml.in ${_paquet}/${ARDEMO_ID}.metainfo.xml @ONLY)
configure_file(resources/copyright.in ${_paquet}/copyright @ONLY)
set(ARDEMO_EXEC ardemo)
configure_file(resources/ardemo.desktop.in ${_paquet}/ardemo.desktop @ONLY)
# The Debian changelog, compressed the way lintian wants it (no name, no date).
string(TIMESTAMP _rfc2822 "%a, %d %b %Y 12:00:00 +0000" UTC)
file(WRITE ${_paquet}/changelog.Debian
     "ardemo (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
     "  * Version ${PROJECT_VERSION}, built with CPack.\n\n"
     " -- ${ARDEMO_AUTEUR} <${ARDEMO_COURRIEL}>  ${_rfc2822}\n")
execute_process(COMMAND gzip -9nf ${_paquet}/changelog.Debian)

install(FILES ${_paquet}/${ARDEMO_ID}.metainfo.xml DESTINATION share/metainfo)
install(TARGETS ardemo RUNTIME DESTINATION bin COMPONENT paquet EXCLUDE_FROM_ALL)
install(FILES ${_paquet}/ardemo.desktop DESTINATION share/applications COMPONENT paquet EXCLUDE_FROM_ALL)
install(FILES ${_paquet}/copyright ${_paquet}/changelog.Debian.gz DESTINATION share/doc/ardemo
        COMPONENT paquet EXCLUDE_FROM_ALL)
# Manual pages go into a Debian package compressed with gzip -9n: those that
# the common rules installed plain are compressed here (this component is
# installed after them).
install(CODE [[
  file(GLOB_RECURSE _pages "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/man/*")
  foreach(_page IN LISTS _pages)
    if(NOT _page MATCHES "\.gz$")
      execute_process(COMMAND gzip -9nf "${_page}")
    endif()
  endforeach()
]] COMPONENT paquet EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL Unspecified paquet)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PACKAGE_NAME ardemo)
set(CPACK_PACKAGE_VENDOR "${ARDEMO_AUTEUR}")
set(CPACK_PACKAGE_CONTACT "${ARDEMO_AUTEUR} <${ARDEMO_COURRIEL}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-page calendar of a whole year as a picture")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Ardemo lays out the twelve months of a year on one sheet, with weekends and\n"
    "French public holidays in colour (Alsace-Moselle and the overseas departments\n"
    "on request), ISO week numbers and special colours for chosen days, kept in\n"
    "files. The calendar becomes a picture that is saved, copied, previewed or\n"
    "printed at a chosen width. The program's texts are in French.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ARDEMO_SITE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not seen by dpkg-shlibdeps: the metric-compatible fonts that stand in for
# Arial and Arial Narrow; the French translation of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
