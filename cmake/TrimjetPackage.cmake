# The Debian package, built by CPack from the install rules (scripts/package.sh). The
# launcher and the menu entries name the prefix at install time, so CPack installs with a
# DESTDIR and the real prefix, /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trimjet)
set(CPACK_PACKAGE_VENDOR Norvale)
set(CPACK_PACKAGE_CONTACT "Norvale <trimjet@norvale.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture optimiser: turns pictures into smaller JPEG files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Trimjet turns photographs and other pictures (JPEG, GIF, BMP, PCX, PNG,\n\
TGA, TIFF, HEIC/HEIF, WebP and AVIF) into smaller sRGB JPEG files that keep\n\
their metadata: one at a time in an optimiser window that shows the original\n\
and the result side by side, or many at once in a batch wizard. A browsing\n\
window, the command-line tool trimjet-cli for scripts and fleets of\n\
machines, and a file manager action come with it.")
set(CPACK_RESOURCE_FILE_LICENSE ${Trimjet_SOURCE_DIR}/LICENSE)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://trimjet.norvale.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plug-in at run time; shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
