# The Debian package (`scripts/package`, or `cmake --workflow --preset package`): everything
# `cmake --install` installs, under /usr, with the maintainer scripts of cmake/debian/.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zemrak-mouse)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "zemrak-mouse developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool of the Zemrak gaming mouse")
set(CPACK_PACKAGE_DESCRIPTION
    "Button mapping in an office and a game mode, up to eight DPI stages with their colours, \
the polling rate, lighting effects, keyboard-and-mouse macros, recoil patterns and named \
profiles, written to the mouse as HID feature reports. The program lives in the tray; \
zemrakctl does the same from the command line. A udev rule lets the user at the seat \
write to the mouse without root.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)

# The libraries the executables and shared objects link, as dpkg-shlibdeps finds them. Qt
# loads its platform plugins at run time, so no link names them; a native Wayland window and
# the GNOME pointer settings are welcome but not needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, gsettings-desktop-schemas")

set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
