# What `cmake --install` lays out, in two components that become the two Debian packages:
# appserver (the server and its system service) and host (the desktop host, the module, the
# reports, the help and the desktop entry). Each program has its own copy of the libraries
# the two share, in a folder of its own, so that either package installs without the other.

function(fai_install_program program component libdir)
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${libdir}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
            COMPONENT ${component})
    install(TARGETS ${ARGN} LIBRARY DESTINATION ${libdir} COMPONENT ${component})
endfunction()

fai_install_program(fai-appserver appserver ${FAI_SERVER_LIBDIR}
    fai_appserver fai_rules fai_contract fai_host_data)
fai_install_program(fai-host host ${FAI_HOST_LIBDIR}
    Pkg_fai00400 fai_host_ui fai_host_report fai_host_services fai_server fai_rules fai_contract
    fai_host_data)

set(FAI_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The server: the unit that runs it as its own user, and its configuration file. The
# configuration lives under /etc when installed under /usr (GNUInstallDirs' own rule).
install(FILES ${FAI_PACKAGING_DIR}/fai-appserver.service
        DESTINATION lib/systemd/system COMPONENT appserver)
install(FILES ${FAI_PACKAGING_DIR}/fai-appserver.conf
        DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/fai-appserver COMPONENT appserver)

# The host's settings for the machine, under the user's own.
install(FILES ${FAI_PACKAGING_DIR}/fai-host.ini
        DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/fai-host COMPONENT host)

# The host's data, where the host looks for it relative to its program.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/reports/ DESTINATION ${FAI_HOST_DATADIR}/reports
        COMPONENT host FILES_MATCHING PATTERN "*.xml")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/help/ DESTINATION ${FAI_HOST_DATADIR}/help
        COMPONENT host)
install(FILES ${FAI_PACKAGING_DIR}/fai-host.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT host)
install(FILES ${FAI_PACKAGING_DIR}/fai-host.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT host)
