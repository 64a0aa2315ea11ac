# `make package`: a Debian package whose dependencies are the runtime
# libraries the executables link (found by dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tokenade-auditor)
set(CPACK_PACKAGE_VENDOR "Tokenade Auditor developers")
set(CPACK_PACKAGE_CONTACT "Tokenade Auditor developers <auditor@tokenade.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Checks a Tokenade collection by file name: which supported games have an archive, which lack one, which archives match nothing, and the same for the preview videos. A window and the command line tokenade-audit.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TOKENADE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin to show itself; the libraries only recommend one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
