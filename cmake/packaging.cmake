# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installation (cmake --install) and the Debian package (cpack, see tools/package.sh).

include(GNUInstallDirs)

install(TARGETS gridcol RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES doc/gridcol.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The pictures of the map that the README shows.
install(FILES doc/map-example.png doc/map-check.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/doc)
# The example is a working directory to copy and run gridcol in.
install(DIRECTORY example/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gridcol)
set(CPACK_PACKAGE_VENDOR "gridcol maintainers")
set(CPACK_PACKAGE_CONTACT "gridcol maintainers <maintainers@users.noreply.c-seed-f595d98b.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://gridcol.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "collect the Maidenhead locators of callsigns for VHF contests")
set(CPACK_PACKAGE_DESCRIPTION [[
gridcol gathers, from the files of other radio programs, which Maidenhead
locator each callsign has been heard from: its own earlier databases, saved
KST chat user lists, WinTest VHF databases, delimited text files and export
files, EDI (REG1TEST) contest logs and ADIF logs. It merges the findings, with
weights and last-seen dates, into one database and writes it in the formats
that VHF contest loggers import: an N1MM call history file, a super check
partial file for WinTest, N1MM and MEdit, a WinTest vhf.dtb and its own
calls_loc.dat for the next run.

It runs once in a working directory set up with the settings file
gridcol.ini, without any dialogue, so it also suits cron.]])
# The staging script strips the program the way Debian's own packages are stripped.
set(CPACK_GRIDCOL_STRIP "${CMAKE_STRIP}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the program really links, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Adds what Debian asks of every package (copyright, changelog, compressed
# manual page, a stripped program) in the staging directory, leaving
# cmake --install as it is.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/prepare-package.cmake)

include(CPack)
