# Installation and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

# The program files that are installed: the launcher and its window part, which it loads from
# ../lib/tarvin/ beside its own file (a private folder, not the multiarch library folder, so the
# launcher finds it by a fixed relative path), and the web library, which the window part loads
# from its own folder. tests/install/check_install.sh lists the installed files and learns of a
# new one too.
set(TARVIN_INSTALL_TARGETS tarvin tarvin_gui tarvin_web)
install(TARGETS ${TARVIN_INSTALL_TARGETS}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION lib/tarvin NAMELINK_SKIP)

set(TARVIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tarvin)
# Debian's copyright and changelog files, compressed as the Debian rules want them.
set(changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(
    OUTPUT ${changelog_gz}
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/data/changelog > ${changelog_gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog
    VERBATIM)
add_custom_target(tarvin_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${changelog_gz} DESTINATION ${TARVIN_DOC_DIR})

set(CPACK_PACKAGE_NAME tarvin)
set(CPACK_PACKAGE_VENDOR "${TARVIN_COMPANY_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for saved groupware messages (.pml files)")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.halvorn.example/tarvin/")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tarvin)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Halvorn Tarvin team <tarvin@halvorn.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarvin shows archived groupware items that are stored one per .pml file:\n"
    "mails, appointments, tasks, reminder notes, phone messages and document\n"
    "references. It browses folders of message files, opens and saves their\n"
    "attachments, prints them, replies to and forwards them through the mail\n"
    "client, finds message files by name and content, and sets the file dates\n"
    "of whole folders to the message dates (also from the command line).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
# The libraries the program links come from dpkg-shlibdeps (with them the HTML engine's helper
# process, libqt6webenginecore6-bin); these are loaded at run time: the window system plugins
# (only recommended by Qt) and xdg-email for mail.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
# libfile-mimeinfo-perl lets xdg-mime tell file types outside GNOME and KDE.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, libfile-mimeinfo-perl, adwaita-icon-theme, fonts-dejavu-core")
set(CPACK_GENERATOR DEB)
include(CPack)
