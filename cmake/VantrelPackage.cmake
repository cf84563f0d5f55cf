# The Debian package: cpack -G DEB (or scripts/make-package) makes vantrel_VERSION_ARCH.deb from
# the install rules. Its dependencies are read from the programs themselves (dpkg-shlibdeps); the
# Qt plugins the window loads at run time (display, SVG icons) come with the libraries it links.
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "${VANTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "store accompaniment styles made from MIDI files in a keyboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel is for owners of an electronic keyboard that plays accompaniment\n"
    "styles. The parts of a style (one Intro, up to eight Fills and one Ending)\n"
    "are written as Standard MIDI Files; Vantrel keeps them in a small\n"
    "repository, checks each file against the keyboard's pattern rules, converts\n"
    "the parts into the keyboard's own pattern format, joins them into one style\n"
    "image and stores it in a slot of the keyboard over MIDI System Exclusive.\n"
    "\n"
    "The package holds the desktop program vantrel, vantrel-cli for every\n"
    "workflow from a terminal, and vantrel-keyboard, a virtual keyboard on MIDI\n"
    "ports for trying everything without hardware.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VANTREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
