#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds gridcol with warnings as errors and runs the whole test suite four
# times: with Qt 5 plainly, with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer included), with ThreadSanitizer, and once more plainly with
# Qt 6, which must write the very same bytes.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-build-deps.sh" qt6-base-dev qt6-5compat-dev chromium python3
jobs=$(nproc)

run_suite() {
    build=$1
    shift
    cmake -S "$top" -B "$top/$build" -DGRIDCOL_WERROR=ON "$@"
    cmake --build "$top/$build" -j"$jobs"
    ctest --test-dir "$top/$build" --output-on-failure -j"$jobs"
}

run_suite build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSANITIZE="address;undefined"
run_suite build-thread -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread
run_suite build-qt6 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDCOL_QT_MAJOR=6
