# `cpack -G DEB` in a release build: blokfall_<version>_<arch>.deb, installed under /usr, with the
# library dependencies computed by dpkg-shlibdeps and the General MIDI sound font the music
# plays with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME blokfall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Blokfall developers")
set(CPACK_PACKAGE_CONTACT "Blokfall developers <developers@blokfall.org>"
    CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game for one or two players")
set(CPACK_PACKAGE_DESCRIPTION
    "Four-cell pieces in seven shapes, and now and then a one-cell bomb, fall into a
field twenty rows deep; turn and move them so that rows fill up and disappear.
Play alone, with a friend in one shared field, or face to face in two fields,
where every row removed sends penalty cells to the other side. A high-score
table, nineteen songs of background music and an animated title screen come
with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BLOK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS timgm6mb-soundfont)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
