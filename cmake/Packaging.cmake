# The Debian packages fai-appserver and fai-host, made by `cpack` (scripts/package) from the
# two install components.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fai00400)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Equipe do faturamento de efetivos <faturamento@localhost>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL appserver host)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debug symbols stay in the build; the packages carry the programs only.
set(CPACK_STRIP_FILES ON)
# The libraries' packages are found by dpkg-shlibdeps; our own private folders are ours.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/appserver ${CMAKE_BINARY_DIR}/rules ${CMAKE_BINARY_DIR}/server
    ${CMAKE_BINARY_DIR}/host/data
    ${CMAKE_BINARY_DIR}/host/services ${CMAKE_BINARY_DIR}/host/report
    ${CMAKE_BINARY_DIR}/host/ui ${CMAKE_BINARY_DIR}/hostapp)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)

set(CPACK_DEBIAN_APPSERVER_PACKAGE_NAME fai-appserver)
set(CPACK_COMPONENT_APPSERVER_DESCRIPTION
    "Servidor de aplicação dos efetivos para faturamento\n Atende o módulo de efetivos dos hosts de faturamento sobre SQLite ou PostgreSQL,\n como serviço do sistema (fai-appserver.service) com usuário próprio.")
# Qt loads its database drivers as plugins, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_APPSERVER_PACKAGE_DEPENDS "adduser, libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_DEBIAN_APPSERVER_PACKAGE_CONTROL_EXTRA
    ${FAI_PACKAGING_DIR}/appserver/postinst ${FAI_PACKAGING_DIR}/appserver/prerm
    ${FAI_PACKAGING_DIR}/appserver/postrm ${FAI_PACKAGING_DIR}/appserver/conffiles)
set(CPACK_DEBIAN_APPSERVER_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_HOST_PACKAGE_NAME fai-host)
set(CPACK_COMPONENT_HOST_DESCRIPTION
    "Host do faturamento com o módulo de efetivos\n As telas de efetivos para faturamento, duplicação e listagem de comensais, com os\n relatórios, a ajuda e a entrada no menu da área de trabalho.")
# The display is a plugin too, and Qt's own texts come translated from a package of their own.
# The host opens no database: it reads through the server.
set(CPACK_DEBIAN_HOST_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_HOST_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_HOST_PACKAGE_CONTROL_EXTRA ${FAI_PACKAGING_DIR}/host/conffiles)

include(CPack)
