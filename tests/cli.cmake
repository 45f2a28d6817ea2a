# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program seen from outside, through POSIX sh scripts in cli/: the command
# line, the installation, the manual page, a run in a folder that cannot be
# written, and the map as a browser draws it. Each script exits 77 when the
# machine cannot run its check.

set(GRIDCOL_CLI_DIR ${CMAKE_CURRENT_LIST_DIR}/cli)
set(GRIDCOL_CLI_ENVIRONMENT
    "LC_ALL=C.UTF-8" "LANG=C.UTF-8" "TZ=CET-1CEST,M3.5.0,M10.5.0/3" "GRIDCOL_NOW=2026-12-06T10:00:00"
    ${GRIDCOL_SANITIZER_ENVIRONMENT})

add_test(NAME cli_commandline
    COMMAND sh ${GRIDCOL_CLI_DIR}/commandline.sh $<TARGET_FILE:gridcol> ${PROJECT_VERSION}
            ${GRIDCOL_CLI_DIR}/usage.txt ${PROJECT_SOURCE_DIR}/example)
add_test(NAME cli_install
    COMMAND sh ${GRIDCOL_CLI_DIR}/install.sh ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR}
            ${PROJECT_VERSION})
add_test(NAME cli_manpage COMMAND sh ${GRIDCOL_CLI_DIR}/manpage.sh ${PROJECT_SOURCE_DIR}/doc/gridcol.1)
add_test(NAME cli_readonly
    COMMAND sh ${GRIDCOL_CLI_DIR}/readonly.sh $<TARGET_FILE:gridcol> ${PROJECT_SOURCE_DIR}/example)

set_tests_properties(cli_commandline cli_install cli_manpage cli_readonly PROPERTIES
    ENVIRONMENT "${GRIDCOL_CLI_ENVIRONMENT}" TIMEOUT 120 SKIP_RETURN_CODE 77)
# The map in a real browser: headless Chromium draws it, its pixels are checked.
add_test(NAME cli_map COMMAND sh ${GRIDCOL_CLI_DIR}/map.sh $<TARGET_FILE:gridcol> ${PROJECT_SOURCE_DIR})
set_tests_properties(cli_map PROPERTIES ENVIRONMENT "${GRIDCOL_CLI_ENVIRONMENT}" TIMEOUT 300 SKIP_RETURN_CODE 77)
