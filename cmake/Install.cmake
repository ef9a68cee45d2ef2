# Installing Orlenta like any desktop program, and the Debian package that does it:
#   cmake --install BUILD --prefix PREFIX      cpack -G DEB (in BUILD)
# The window and its desktop files go only with the window; the command-line tool always.
include(GNUInstallDirs)

# Manual pages carry the version; Debian wants them compressed, without a time stamp.
set(ORLENTA_MAN_PAGES orlenta-cli)
if(ORLENTA_GUI)
    list(APPEND ORLENTA_MAN_PAGES orlenta)
endif()
set(ORLENTA_COMPRESSED_MAN_PAGES "")
foreach(page IN LISTS ORLENTA_MAN_PAGES)
    set(source ${PROJECT_BINARY_DIR}/man/${page}.1)
    configure_file(${PROJECT_SOURCE_DIR}/data/${page}.1.in ${source} @ONLY)
    add_custom_command(OUTPUT ${source}.gz
        COMMAND gzip -9 -n -c ${source} > ${source}.gz
        DEPENDS ${source}
        COMMENT "Compressing the manual page ${page}.1"
        VERBATIM)
    list(APPEND ORLENTA_COMPRESSED_MAN_PAGES ${source}.gz)
endforeach()
add_custom_target(orlenta_man_pages ALL DEPENDS ${ORLENTA_COMPRESSED_MAN_PAGES})
install(FILES ${ORLENTA_COMPRESSED_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(TARGETS orlenta-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(ORLENTA_GUI)
    install(TARGETS orlenta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/data/orlenta.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/orlenta.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/orlenta.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The Debian package. The libraries the programs link come from dpkg-shlibdeps; the SVG icon
# needs Qt's SVG plugins, which nothing links. The desktop's caches (MIME database, desktop
# entries, icon theme) are rebuilt by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orlenta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of CD and DVD discs")
# The summary is the package's synopsis; an empty line here becomes Debian's " ." paragraph break.
set(CPACK_PACKAGE_DESCRIPTION "Orlenta reads the directory tree of a disc, drive or directory,
optionally with the file names, into one catalogue file (.olx), together with
the disc's title, vendor, media type, dates and memo. The catalogue is browsed
in a tree of discs and directories, searched and passed on as one file.

The package holds the Qt window (orlenta) and the command-line tool
(orlenta-cli).")
set(ORLENTA_PACKAGE_MAINTAINER "Orlenta maintainers <maintainers@orlenta.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORLENTA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(ORLENTA_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
    # Qt's own catalogues translate the standard buttons of message boxes and file dialogs; the
    # program's own texts are built in.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
        "shared-mime-info, desktop-file-utils, hicolor-icon-theme, qt6-translations-l10n")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
include(CPack)
