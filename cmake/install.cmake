# Where `cmake --install` (and the Debian package) puts everything, under
# the prefix (GNUInstallDirs):
#
#   bin/                               the programs this build makes
#   share/corvane-manager/             CorvaneMIB.mib, SNMPHelp.qch, SNMPHelp.qhc
#   share/applications/, share/icons/hicolor/, share/metainfo/
#   share/man/man1/                    a page per program, gzipped
#   share/doc/corvane-manager/         copyright, changelog.gz
#   share/bash-completion/completions/ completion scripts, where there are any
#   lib/systemd/system/                the exporter's unit (not enabled)
#
# The rules name targets only: a program this build does not make (no
# windows, no exporter yet) is left out with its page and its files. They
# all go to CMake's default component, which the package and `make install`
# take; the core's development files have a component of their own.

include(GNUInstallDirs)

set(CORVANE_PACKAGE_NAME corvane-manager)
set(CORVANE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/${CORVANE_PACKAGE_NAME})
set(CORVANE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CORVANE_PACKAGE_NAME})
set(CORVANE_HOMEPAGE "https://corvane.example/manager" CACHE STRING
    "The project's web page (AppStream metadata, package); its screenshots/ folder holds docs/*.png")
set(CORVANE_PROGRAMS corvane-manager apsim corvanectl corvane-exporter)
set(CORVANE_PROGRAMS_COMPONENT Unspecified)
# `make install` and cpack build only what is installed (target
# corvane_installed below), not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(generated ${CMAKE_BINARY_DIR}/install)

# An installed program finds its data folder from its own place, so the
# tree can be moved; the data-location helper is told the way.
file(RELATIVE_PATH data_from_program ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/${CORVANE_PACKAGE_NAME})
set(data_locations ${CMAKE_SOURCE_DIR}/src/config/data_locations.cpp)
if(EXISTS ${data_locations})
  set_property(SOURCE ${data_locations} DIRECTORY ${CMAKE_SOURCE_DIR}/src APPEND
               PROPERTY COMPILE_DEFINITIONS CORVANE_DATA_FROM_PROGRAM="${data_from_program}")
endif()

# --- the programs and their data -------------------------------------------

# What an installation needs built, and no test or benchmark:
# `cmake --build build --target corvane_installed` before installing.
add_custom_target(corvane_installed)
foreach(program ${CORVANE_PROGRAMS} corvane_help)
  if(TARGET ${program})
    add_dependencies(corvane_installed ${program})
  endif()
endforeach()

# The programs bind every symbol at start, so that their whole global
# offset table can be made read-only (hardening, as Debian's builds do).
foreach(program ${CORVANE_PROGRAMS})
  if(TARGET ${program})
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${CORVANE_MIB_FILE} DESTINATION ${CORVANE_INSTALL_DATADIR})
if(TARGET corvane_help)
  install(FILES ${CMAKE_BINARY_DIR}/bin/SNMPHelp.qch ${CMAKE_BINARY_DIR}/bin/SNMPHelp.qhc
          DESTINATION ${CORVANE_INSTALL_DATADIR})
endif()

# --- the desktop: entry, icons, AppStream metadata ---------------------------

if(TARGET corvane-manager)
  install(FILES ${CMAKE_SOURCE_DIR}/data/corvane-manager.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane-manager-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME corvane-manager.png)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane-manager.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  configure_file(${CMAKE_SOURCE_DIR}/data/net.corvane.manager.metainfo.xml.in
                 ${generated}/net.corvane.manager.metainfo.xml @ONLY)
  install(FILES ${generated}/net.corvane.manager.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
endif()

# --- manual pages, changelog, copyright ----------------------------------------
# Debian wants them gzipped (-n: no name or time stamp, so builds repeat).

find_program(CORVANE_GZIP gzip)
set(gzipped)
function(corvane_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND sh -c "${CORVANE_GZIP} -9nc \"$0\" > \"$1\"" ${source} ${output}
                     DEPENDS ${source} VERBATIM)
  set(gzipped ${gzipped} ${output} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${generated}/man)
file(GLOB manual_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.1)
set(installed_pages)
foreach(page ${manual_pages})
  get_filename_component(program ${page} NAME_WE)
  if(TARGET ${program} AND CORVANE_GZIP)
    corvane_gzip(${page} ${generated}/man/${program}.1.gz)
    list(APPEND installed_pages ${generated}/man/${program}.1.gz)
  endif()
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${generated}/changelog @ONLY)
if(CORVANE_GZIP)
  corvane_gzip(${generated}/changelog ${generated}/changelog.gz)
  add_custom_target(corvane_compressed_docs ALL DEPENDS ${gzipped})
  add_dependencies(corvane_installed corvane_compressed_docs)
  install(FILES ${installed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${generated}/changelog.gz DESTINATION ${CORVANE_INSTALL_DOCDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${CORVANE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${CORVANE_PACKAGE_NAME})

# --- the other programs' system files, where they exist ------------------------

# Bash completion: a script named after its program (corvanectl.bash, or
# corvanectl in a completions/ or bash-completion/ folder).
set(shipped_folders data docs packaging scripts src)
list(TRANSFORM shipped_folders PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE shipped_globs)
list(TRANSFORM shipped_globs APPEND /*)
file(GLOB_RECURSE completions CONFIGURE_DEPENDS ${shipped_globs})
list(FILTER completions INCLUDE REGEX "(\\.bash(-completion)?|/(bash-)?completions?/[^/.]+)$")
foreach(script ${completions})
  get_filename_component(program ${script} NAME_WE)
  if(TARGET ${program})
    install(FILES ${script} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME ${program})
  endif()
endforeach()

# The exporter's systemd unit: installed, never enabled or started by us.
if(TARGET corvane-exporter OR TARGET corvanectl)
  file(GLOB_RECURSE units CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.service ${CMAKE_SOURCE_DIR}/docs/*.service
       ${CMAKE_SOURCE_DIR}/packaging/*.service)
  if(units)
    install(FILES ${units} DESTINATION lib/systemd/system)
    set(CORVANE_SYSTEMD_UNITS ${units})
  endif()
endif()
