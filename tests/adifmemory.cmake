# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# ADIF logs whose memory must follow the file: run the real gridcol, under an
# address-space limit, on a log that names 15,000 fields once and then holds
# 15,000 records (184 kB), followed by a log of 2,000 contacts that must be
# imported whole. Holding an empty value per catalogue field in every record
# needed 1.8 GB here. On Windows, run under Wine, there is no such limit:
# there the test shows that the same logs are read right.
#
# Included from the test directory, this file registers the test; run with
# "cmake -P" it is the test itself.

if(NOT CMAKE_SCRIPT_MODE_FILE)
    # AddressSanitizer reserves terabytes of address space: no limit there.
    set(_limit 524288)
    if(SANITIZE)
        set(_limit unlimited)
    elseif(WIN32)
        set(_limit none)
    endif()
    add_test(NAME adifmemory COMMAND ${CMAKE_COMMAND} -DGRIDCOL=$<TARGET_FILE:gridcol>
             "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
             -DWORK=${CMAKE_CURRENT_BINARY_DIR}/adifmemory -DLIMIT_KB=${_limit} -P ${CMAKE_CURRENT_LIST_FILE})
    set_tests_properties(adifmemory PROPERTIES ENVIRONMENT "${GRIDCOL_TEST_ENVIRONMENT}" TIMEOUT 300)
    return()
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/src")
file(WRITE "${WORK}/gridcol.ini" "[directories]\nsrc=src\n")

set(names "")
foreach(i RANGE 14999)
    string(APPEND names "<f${i}>")
endforeach()
string(REPEAT "<eor>" 15000 records)
file(WRITE "${WORK}/src/a_names.adi" "${names}${records}")

set(log "exported\n<eoh>\n")
set(expected "")
foreach(i RANGE 1000 2999)
    string(APPEND log "<CALL:6>DL${i}<GRIDSQUARE:6>JO62QM<BAND:2>2m<QSO_DATE:8>20260601<eor>\n")
    string(APPEND expected "DL${i},JO62QM,01.06.2026,1\n")
endforeach()
file(WRITE "${WORK}/src/b_log.adi" "${log}")

set(ENV{GRIDCOL_NOW} "2026-06-15T12:00:00")
if(LIMIT_KB STREQUAL "none")
    set(command ${EMULATOR} "${GRIDCOL}")
else()
    set(command sh -c "ulimit -v ${LIMIT_KB} && exec \"$0\"" "${GRIDCOL}")
endif()
execute_process(COMMAND ${command} WORKING_DIRECTORY "${WORK}" INPUT_FILE /dev/null
                OUTPUT_VARIABLE console ERROR_VARIABLE errors RESULT_VARIABLE result)
string(REPLACE "\r\n" "\n" console "${console}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gridcol under a limit of ${LIMIT_KB} kB ended with ${result}: ${errors}")
endif()
foreach(line "Verarbeite a_names.adi ... 0 of 15000\n" "Verarbeite b_log.adi ... 2000 of 2000\n")
    string(FIND "${console}" "${line}" found)
    if(found LESS 0)
        message(FATAL_ERROR "missing on the console: ${line}in:\n${console}")
    endif()
endforeach()
# Read as text: CR LF line ends, as Windows writes them, read as LF.
file(READ "${WORK}/calls_loc.dat" written)
if(NOT written STREQUAL expected)
    message(FATAL_ERROR "calls_loc.dat differs from the 2,000 contacts of the log")
endif()
