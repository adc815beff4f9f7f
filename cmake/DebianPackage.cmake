# The Debian package of the Linux savers (X11 and Wayland), built by CPack's DEB generator (tools/release-deb.sh):
# the saver, its settings description and its man page where src/x11 installs them, with the
# documentation Debian asks of every package. dpkg-shlibdeps finds the dependencies.

# The contact address is the one the Windows saver shows.
set(ASCENDA_MAINTAINER "Orvane's Registry Bits <${ASCENDA_CONTACT_ADDRESS}>")
# The release date is the sources' time when SOURCE_DATE_EPOCH gives it, so that a commit gives the
# same package at any time.
string(TIMESTAMP ASCENDA_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(documents ${CMAKE_CURRENT_BINARY_DIR}/package-documents)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${documents}/changelog @ONLY)
# gzip -n: no name or time in the header, so the compressed file too is the same each time.
add_custom_command(OUTPUT ${documents}/changelog.gz
  COMMAND gzip -9nkf ${documents}/changelog
  DEPENDS ${documents}/changelog)
add_custom_target(ascenda_changelog ALL DEPENDS ${documents}/changelog.gz)
install(FILES ${documents}/changelog.gz DESTINATION share/doc/ascenda)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/ascenda RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ascenda)
set(CPACK_PACKAGE_VENDOR "Orvane's Registry Bits")
set(CPACK_PACKAGE_CONTACT "${ASCENDA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_ENHANCES xscreensaver)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "office building screen saver with lifts and the people who ride them")
# One argument: a semicolon in a list of lines would split the text.
set(CPACK_PACKAGE_DESCRIPTION "Ascenda Vintra draws an office building with up to ten lifts and up
to a hundred people. People decide to travel, call a lift and grow impatient
while they wait, and a lift chosen by one of four intelligences comes, takes
them on board and lets them out at their floor. This package adds it to
XScreenSaver's display modes, and brings ascenda-wayland, the same saver
for Wayland desktops.")
include(CPack)
