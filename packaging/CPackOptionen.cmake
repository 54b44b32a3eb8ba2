# Read by cpack for each kind of package. The Debian package is installed with DESTDIR under
# the prefix /usr, so that the start command and the desktop entry name /usr and not cpack's
# staging folder.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_SET_DESTDIR ON)
    set(CPACK_INSTALL_PREFIX /usr)
endif()
