# Installing as a desktop program (FHS and XDG places) and the Debian package built by CPack.
# The program works out the same places from its own path (src/platform/install_layout.h).

# Installing needs only the installed targets, not the tests and benchmarks the build also
# makes (the install scripts build those targets first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# tessary, tessary-cli; the Unicode CSV library in the program's own library folder.
install(TARGETS tessary-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TESSARY_GUI)
  install(TARGETS tessary RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS tessary_csvlist_utf LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tessary)
  install(FILES data/desktop/tessary.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/desktop/tessary.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
# The help window's text and the settings a new user starts from, as data of the program.
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tessary.txt data/settings/tessary.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tessary)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessary)
set(CPACK_PACKAGE_VENDOR "Tessary")
set(CPACK_PACKAGE_CONTACT "Tessary developers <tessary@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese text editor and viewer")
set(CPACK_PACKAGE_DESCRIPTION "Edits and views Japanese text: detects Shift-JIS, UTF-8 and \
UTF-16 files and their line ends, holds the text as Shift-JIS and writes it back in the code \
the user confirms.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
