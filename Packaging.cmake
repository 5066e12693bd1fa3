# The Debian package (scripts/package runs "cpack -G DEB" in a build configured for /usr).
# dpkg-shlibdeps finds the libraries the executables link; the Qt SQL drivers are plugins loaded by
# name at run time, so shlibdeps cannot see them and they are listed here, as are the fonts that
# stand in for the windows' font and the FreeTDS ODBC driver that reaches a SQL Server.
set(CPACK_PACKAGE_NAME zirt)
set(CPACK_PACKAGE_VENDOR "ZIRT")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database front end for an electronics shop")
# The description's lines stay under 80 columns, as dpkg shows them (with one space ahead).
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the suppliers, sales managers, discount levels, goods, delivery
periods, purchase orders and sales of a shop; shows the goods list and
the order and sales history with charts, and prints the price list.
The data lives in an embedded database in the user's data folder (the
first start creates a demo one) or on a SQL Server reached over ODBC.")
set(CPACK_PACKAGE_CONTACT "${ZIRT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE "${ZIRT_PACKAGE_RELEASE}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-odbc, fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "krb5-user")
include(CPack)
