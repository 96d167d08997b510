# "cpack -G DEB" in a build tree makes the Debian package of what the install
# rules (dist/CMakeLists.txt) put under /usr; its Depends are read off the
# binaries by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_PACKAGE_NAME quavero)
set(CPACK_PACKAGE_VENDOR "The Quavero developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of musical memory")
set(CPACK_PACKAGE_DESCRIPTION "Quavero plays a track's melody, then plays its first notes back one at a time.
Repeat each phrase on the four coloured tabs of the pad: every phrase you get
right grows by one note, and a wrong tab costs one of three lives. Five
titled tracks, a random track and a hidden bonus track.

The game carries its own tracker-module player and software mixer; the
package also holds xmrender and xminfo, which render, play and describe XM
and MOD modules with that player.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quavero developers <quavero@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUAVERO_WEB_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens libGL.so.1 itself when it makes the OpenGL window, so no binary
# names that need; it is added to what dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
# The exit advert opens the web page through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_GENERATOR DEB)
include(CPack)
