# The Debian package (scripts/package): what a Release build installs, below
# /usr, with the files Debian asks of every package added while staging.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessivar)
set(CPACK_PACKAGE_VENDOR Quellis)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "load an application program into a controller board's flash over a serial line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvane Tessivar uploads an application program, as S-records with its command
file, to a controller board's flash over a serial line. The package holds the
window (tessivar), the same upload without a window for scripts and production
runs (tessivar-cli) and a simulated board for trying both without hardware
(tessivar-boardsim), with the menu entry, the man page and the help pages.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quellis Tessivar maintainers <tessivar@quellis.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's icons are SVGs that Qt reads through a plugin it loads at run
# time, which no linker sees.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/debian/stage.cmake)
include(CPack)
