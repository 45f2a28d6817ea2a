#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds gridcol twice in Release, with Qt 5 (build-compare5/) and with Qt 6
# (build-compare6/), and runs both on every working-directory case of
# tests/cases/: once as the case is, and on COUNT damaged copies of it (bytes
# flipped, removed, duplicated or inserted in the sources and in gridcol.ini,
# files truncated or cut into halves, lines swapped, lines and values of
# gridcol.ini made up). Each variant runs once per binary, each in a fresh
# copy of the directory at the same path, with standard input on the null
# device and the case's environment. Standard output, standard error, the
# exit status and every file of the working directory after the run must be
# the same bytes. Prints the runs, the differences (case, variant seed,
# damage and a short diff) and keeps the first differing variants in
# build-compare/differences/. Exits 1 when a difference or a timeout was found.
#
#   sh tools/compare-qt.sh [-n COUNT] [-s SEED] [-t SECONDS] [-k KEEP] [CASE...]
#   sh tools/compare-qt.sh --replay CASE:SEED [--replay CASE:SEED ...]
#
#   -n COUNT    damaged copies per case (default 20)
#   -s SEED     the seed the copies are drawn from (default 1)
#   -t SECONDS  time limit of one run of gridcol (default 60)
#   -k KEEP     differing variants kept for inspection (default 10)
#   -j JOBS     variants run at once (default: the number of processors)
#   --replay CASE:SEED   runs just that variant again (the seed a report names)
#   --no-build  uses the binaries as they are
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
count=20
seed=1
timeout=60
keep=10
jobs=$(nproc)
build=yes
replay=""
while [ $# -gt 0 ]; do
    case $1 in
        -n) count=$2; shift 2 ;;
        -s) seed=$2; shift 2 ;;
        -t) timeout=$2; shift 2 ;;
        -k) keep=$2; shift 2 ;;
        -j) jobs=$2; shift 2 ;;
        --replay) replay="$replay --replay $2"; shift 2 ;;
        --no-build) build=no; shift ;;
        -h|--help) sed -n '4,/^set -eu/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        -*) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
        *) break ;;
    esac
done

if [ "$build" = yes ]; then
    "$top/tools/install-build-deps.sh" python3 qt6-base-dev qt6-5compat-dev
    for major in 5 6; do
        cmake -S "$top" -B "$top/build-compare$major" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
            -DGRIDCOL_QT_MAJOR=$major >/dev/null
        cmake --build "$top/build-compare$major" -j"$(nproc)" --target gridcol >/dev/null
    done
fi

# shellcheck disable=SC2086 # the replay options are meant to split into words
exec python3 "$top/tools/compare-qt.py" --top "$top" \
    --qt5 "$top/build-compare5/gridcol" --qt6 "$top/build-compare6/gridcol" \
    --count "$count" --seed "$seed" --timeout "$timeout" --keep "$keep" --jobs "$jobs" \
    --keep-folder "$top/build-compare/differences" $replay "$@"
