# The Debian package: `cpack -G DEB` in a build folder (tools/package.sh makes it). Everything
# `cmake --install` lays out goes in under /usr; the libraries it needs are found by
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quenmar)
set(CPACK_PACKAGE_CONTACT "Tarvex developers <tarvex@quenmar.example>" CACHE STRING "Maintainer of the package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and analyser of FidoNet mailer logs")
# CPack makes the Debian form of it: the summary first, then these lines indented.
set(CPACK_PACKAGE_DESCRIPTION "Tarvex opens the logs that FidoNet mailers write, one window each, colours their lines by
kind and walks them by day and by session. For T-Mail, Brake!, Bink/+, FHMail, SF-Mail and
Argus logs it finds every session, call attempt and file request, with a session list, dial
statistics, a timeline and the requested files, and writes text reports.

It also cuts logs and raises the download counters in files.bbs lists. tarvex-cli runs the
same analysis from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARVEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
