# `make package`: a Debian package of what cmake/install.cmake installs,
# under /usr. Its dependencies come from the programs' shared libraries
# (dpkg-shlibdeps, from dpkg-dev); only what no library names is written
# here: the SQLite driver the help is read with, and setcap for the
# post-install step that lets the console receive traps on port 162.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${CORVANE_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvane Manager developers")
set(CPACK_PACKAGE_CONTACT "The Corvane Manager developers <maintainers@corvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "management console for the Corvane 802.11b access point")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop console for the Corvane 802.11b access point, which can also work
as a wireless bridge. It finds the device on the network, reads its
configuration and counters over SNMPv1, changes its settings, shows and logs
the traps it sends, and runs its radio tests.

The package also holds apsim, a simulated access point, so that everything
can be tried without hardware. The console may receive traps on UDP port 162
as an ordinary user.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The programs and their files only: the core's libraries and headers for
# other programs (component corvane_core_development) stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};${CORVANE_PROGRAMS_COMPONENT};/")
set(CPACK_CORVANE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/strip-programs.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CORVANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin, libqt6sql6-sqlite")

set(CORVANE_PACKAGE_BINDIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR})
# systemd is told of shipped units (they are neither enabled nor started).
set(CORVANE_PACKAGE_RELOADS_SYSTEMD "")
if(CORVANE_SYSTEMD_UNITS)
  set(CORVANE_PACKAGE_RELOADS_SYSTEMD yes)
endif()
foreach(script postinst prerm postrm)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${script}.in ${CMAKE_BINARY_DIR}/install/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/install/${script})
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
