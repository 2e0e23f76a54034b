# Installation into the standard places of a Linux desktop, and the Debian
# package built from it (cpack -G DEB). The program's own directory is then
# not writable, so the archive goes to the user's data directory.

include(GNUInstallDirs)

if(TARGET codicefiscale)
  install(TARGETS codicefiscale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

foreach(size 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/codicefiscale-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME codicefiscale.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/codicefiscale.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/NOTICE-DATA.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME codicefiscale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Progetto Codice Fiscale")
set(CPACK_PACKAGE_CONTACT "Progetto Codice Fiscale <codicefiscale@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://codicefiscale.example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Codice fiscale italiano: calcolo, verifica, archivio e stampa")
set(CPACK_PACKAGE_DESCRIPTION
  "Programma in italiano per il codice fiscale delle persone fisiche e la Partita IVA:\n\
calcola il codice dai dati anagrafici, verifica e decodifica un codice, tiene un\n\
archivio delle persone e stampa la scheda, la tessera e l'archivio. Dalla riga di\n\
comando calcola o verifica un codice per altri programmi.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the windows also need the fonts
# their layouts were drawn for, and opening the help pages wants xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")

include(CPack)
