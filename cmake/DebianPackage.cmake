# The Debian package: the program, qvrtool, the instrument simulator, the menu entry, the *.qvr
# MIME type and the icons, installed under /usr. dpkg-shlibdeps derives the library
# dependencies from the executables; what they load at run time by name is added here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quivra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Stellmark)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operating deflection shapes on 3-D wire models")
set(CPACK_PACKAGE_DESCRIPTION
    "Build a 3-D wire model of a machine, hang measurement directions on its points, enter or "
    "import amplitudes and phases per measurement series and watch the animated operating "
    "deflection shape. Includes qvrtool (command-line scenes, pictures, instrument data) and "
    "quivra-instrument-sim (a simulated instrument on a pseudo-terminal).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # quivra_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quivra developers <quivra@stellmark.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON) # the debug information stays in the build
# Qt finds its window-system plugins at run time; the labels need a font; FFmpeg's libraries
# are opened when an MP4 is written.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, libosmesa6, ${QUIVRA_LIBAV_DEBS}")
include(CPack)
