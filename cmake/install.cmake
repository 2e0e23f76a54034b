# SPDX-License-Identifier: MIT
# Installation into the standard places of a Linux desktop, and the Debian
# package built from it (see README: scripts/package, or cpack -G DEB in a
# build configured with -DBUILD_TESTING=OFF). An installed program keeps its
# archive in the user's data directory.

include(GNUInstallDirs)

if(TARGET codicefiscale)
  install(TARGETS codicefiscale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The icon at every size desktops ask for, and scalable; the desktop entry,
# named after the AppStream id.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/codicefiscale-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME codicefiscale.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/codicefiscale.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/it.progettocodicefiscale.codicefiscale.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The manual pages, in English and in Italian (shown under an Italian
# locale), and the changelog, compressed as Debian wants them: no file name
# or time inside, so that the package comes out the same each time.
set(CF_COMPRESSED_DOCS)
foreach(source docs/codicefiscale.1 docs/codicefiscale.it.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/${source} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${source}")
  list(APPEND CF_COMPRESSED_DOCS ${compressed})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${CF_COMPRESSED_DOCS})
install(FILES ${PROJECT_BINARY_DIR}/codicefiscale.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/codicefiscale.it.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1
        RENAME codicefiscale.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
              ${PROJECT_SOURCE_DIR}/NOTICE-DATA.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The project's contacts are the ones the about window shows.
file(STRINGS ${PROJECT_SOURCE_DIR}/windows/frame/about.h CF_CONTACTS REGEX "kContact[A-Za-z]+\\[\\] = ")
string(REGEX REPLACE ".*kContactEmail\\[\\] = \"([^\"]+)\".*" "\\1" CF_CONTACT_EMAIL "${CF_CONTACTS}")
string(REGEX REPLACE ".*kContactWebsite\\[\\] = \"([^\"]+)\".*" "\\1" CF_CONTACT_WEBSITE "${CF_CONTACTS}")
# The pages of the website that the AppStream description links: where bugs
# are reported, and the screenshots of docs/screenshots.
set(CF_BUG_REPORT_URL "${CF_CONTACT_WEBSITE}/segnalazioni")
set(CF_SCREENSHOTS_URL "${CF_CONTACT_WEBSITE}/screenshots")
configure_file(${PROJECT_SOURCE_DIR}/resources/it.progettocodicefiscale.codicefiscale.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/it.progettocodicefiscale.codicefiscale.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/it.progettocodicefiscale.codicefiscale.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME codicefiscale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Progetto Codice Fiscale")
set(CPACK_PACKAGE_CONTACT "Progetto Codice Fiscale <${CF_CONTACT_EMAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${CF_CONTACT_WEBSITE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Italian tax code (codice fiscale): compute, check, archive, print")
set(CPACK_PACKAGE_DESCRIPTION
  "A desktop program in Italian for the codice fiscale of natural persons\n\
and the Partita IVA: it computes the code from a person's data, checks and\n\
decodes a code, keeps an archive of persons and prints the data sheet, a\n\
facsimile of the tax-code card and the archive. From the command line it\n\
computes or checks a code for other programs.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps; the windows and printouts are
# drawn in the system's Liberation Sans; opening the help pages wants
# xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
# The package holds the program stripped; its debug information goes into
# codicefiscale-dbgsym_VERSION_ARCH.deb beside it (cmake/dbgsym.cmake,
# from the unstripped program of this build).
set(CPACK_STRIP_FILES ON)
if(TARGET codicefiscale)
  get_target_property(CPACK_CF_PROGRAM_FOLDER codicefiscale BINARY_DIR)
  set(CPACK_CF_PROGRAM ${CPACK_CF_PROGRAM_FOLDER}/codicefiscale)
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/dbgsym.cmake)
endif()

# The source tarball (cmake --build BUILD --target package_source):
# codicefiscale-VERSION.tar.xz, the sources without the build folders and
# Git's own files, from which the package is built again.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME "codicefiscale-${PROJECT_VERSION}")
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/build" "^${PROJECT_BINARY_DIR}/" "/\\\\.git/" "/\\\\.git$")

include(CPack)
