#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line, row by row: exit status, standard output and standard
# error of each argument list, and that the working directory (a copy of the
# example, where a run would write six files) is left exactly as it was.
# Usage: commandline.sh GRIDCOL VERSION USAGE_TEXT EXAMPLE_DIR
set -eu

gridcol=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
version=$2
usage=$3
example=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'gridcol %s\n' "$version" >"$work/version"
cp -R "$example" "$work/dir"
passed=0
failed=0

# Names, sizes and modification times of everything in the working directory.
snapshot() {
    (cd "$work/dir" && ls -ld --time-style=full-iso . && ls -lAR --time-style=full-iso .)
}

# row STATUS STDOUT_FILE STDERR_LINE ARGUMENT...
# An empty STDERR_LINE means nothing on standard error.
row() {
    expected_status=$1
    expected_out=$2
    expected_err=$3
    shift 3
    snapshot >"$work/before"
    status=0
    (cd "$work/dir" && exec "$gridcol" "$@" </dev/null >"$work/out" 2>"$work/err") || status=$?
    snapshot >"$work/after"
    if [ -n "$expected_err" ]; then
        printf '%s\n' "$expected_err" >"$work/expected_err"
    else
        : >"$work/expected_err"
    fi
    problem=""
    [ "$status" -eq "$expected_status" ] || problem="exit status $status, not $expected_status"
    cmp -s "$work/out" "$expected_out" || problem="$problem; standard output differs"
    cmp -s "$work/err" "$work/expected_err" || problem="$problem; standard error is '$(cat "$work/err")'"
    cmp -s "$work/before" "$work/after" || problem="$problem; the working directory changed"
    if [ -z "$problem" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: gridcol $*: ${problem#; }"
        diff "$work/before" "$work/after" || true
    fi
}

see="; see 'gridcol --help'"
row 0 "$usage" "" --help
row 0 "$usage" "" -h
row 0 "$usage" "" -h --version
row 0 "$usage" "" -Vh
row 0 "$work/version" "" --version
row 0 "$work/version" "" -V
row 0 "$work/version" "" -V --version
row 2 /dev/null "gridcol: unknown option '--frobnicate'$see" --frobnicate
row 2 /dev/null "gridcol: unknown option '-v'$see" -v
row 2 /dev/null "gridcol: unknown option '-help'$see" -help
row 2 /dev/null "gridcol: unknown option '--vers'$see" --vers
row 2 /dev/null "gridcol: unknown option '--bogus'$see" --help --bogus
row 2 /dev/null "gridcol: option '--version=1' takes no value$see" --version=1
row 2 /dev/null "gridcol: option '--help=' takes no value$see" --help=
row 2 /dev/null "gridcol: unknown option '-V1'$see" -V1
row 2 /dev/null "gridcol: unexpected argument 'sources'$see" sources
row 2 /dev/null "gridcol: unexpected argument 'gridcol.ini'$see" -V gridcol.ini
row 2 /dev/null "gridcol: unexpected argument '-'$see" -
row 2 /dev/null "gridcol: unexpected argument '--'$see" --
row 2 /dev/null "gridcol: unexpected argument ''$see" ""
row 2 /dev/null "gridcol: unexpected argument 'a\\x09b'$see" "$(printf 'a\tb')"
row 2 /dev/null "$(printf "gridcol: unexpected argument 'caf\\303\\251'%s" "$see")" "$(printf 'caf\303\251')"
row 2 /dev/null "gridcol: argument 'caf\\xE9' is not UTF-8 text$see" "$(printf 'caf\351')"
row 2 /dev/null "gridcol: argument '--help\\xFF' is not UTF-8 text$see" "$(printf '%s\377' --help)"
row 2 /dev/null "gridcol: argument '\\xC0\\xAF' is not UTF-8 text$see" "$(printf '\300\257')"
row 2 /dev/null "gridcol: option '--all' goes with --check$see" --all
row 2 /dev/null "gridcol: option '--map' goes with --check$see" --map x.html --json
row 2 /dev/null "gridcol: --check needs the logs to check$see" --check --all
row 2 /dev/null "gridcol: unknown option '--bogus'$see" --check log.edi --bogus
row 2 /dev/null "gridcol: option '--map' needs a file name$see" --check log.edi --map
# A check writes nothing, not even its log, and names what it cannot read.
row 2 /dev/null "gridcol: gridcol.ini: neither an EDI nor an ADIF log" --check gridcol.ini

# An answer that cannot be written is an error, not a silent success.
if [ -w /dev/full ]; then
    status=0
    (cd "$work/dir" && exec "$gridcol" --version >/dev/full 2>"$work/err") || status=$?
    if [ "$status" -eq 1 ] && [ "$(cat "$work/err")" = "gridcol: could not write to standard output" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: gridcol --version >/dev/full: status $status, standard error '$(cat "$work/err")'"
    fi
fi

# Without arguments gridcol still collects: the same directory gets all its
# outputs, so the rows above would have seen a run.
status=0
(cd "$work/dir" && exec "$gridcol" </dev/null >"$work/out" 2>"$work/err") || status=$?
missing=""
for output in n1mm_qth.txt calls_loc.dbg master.scp calls_loc.dat vhf.dtb gridcol.dbg; do
    [ -s "$work/dir/$output" ] || missing="$missing $output"
done
if [ "$status" -eq 0 ] && [ -z "$missing" ] && [ ! -s "$work/err" ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL: gridcol without arguments: status $status, missing:$missing, standard error '$(cat "$work/err")'"
fi

echo "commandline: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
