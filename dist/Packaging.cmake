# The Debian package, made by scripts/package.sh (cpack -G DEB) from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vornale-lite)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vornale Lite developers")
set(CPACK_PACKAGE_CONTACT "Vornale Lite developers <dev@vornale.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adaptation assessment from blood pressure and pulse")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vornale.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs (file choosers, message box buttons) speak Russian only with these.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# The extended description; CPack puts the summary before it and indents it as control files want.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small calculator for sports physicians, school nurses and physiologists.
The examiner types one person's arterial pressure, pulse, sex, weight,
height and age; the window shows the adaptation index with its level, the
pressure expected from the body-mass index, the optimal weight and the Kerdo
vegetative index with its verdict on vegetative balance.

A subject's data is kept in small .vnl record files, which open from the
file manager.

A second program, vornale-summary, makes the group summary: it reads the
record files of a class or a squad at once (folders searched recursively),
shows one row per subject with the group's counts per adaptation level and
vegetative balance, and exports them to CSV and to a printable PDF report,
from its window or from the command line without a display.

Both programs speak Russian.")

include(CPack)
