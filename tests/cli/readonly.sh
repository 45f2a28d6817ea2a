#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A run in a working directory that cannot be written: every output is named
# as "Could not write <file>", the run still ends with status 0, and the
# directory is left exactly as it was (no gridcol.dbg either).
# Root writes into any folder, so as root the run drops to the user nobody
# with setpriv; without setpriv the check is skipped.
# Usage: readonly.sh GRIDCOL EXAMPLE_DIR
set -eu

gridcol=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
example=$2

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
# A copy of the program, since the build folder may be closed to other users.
cp "$gridcol" "$work/gridcol"
cp -R "$example" "$work/dir"
chmod -R a+rX,a-w "$work/dir"

run=""
if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null 2>&1; then
        echo "running as root without setpriv (util-linux): a read-only folder is writable, check skipped"
        exit 77
    fi
    run="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
# The check means something only where the folder really refuses a new file.
if $run sh -c ': >"$1/probe"' probe "$work/dir" 2>/dev/null; then
    echo "this machine writes into a read-only folder: check skipped"
    exit 77
fi

snapshot() {
    (cd "$work/dir" && ls -ld --time-style=full-iso . && ls -lAR --time-style=full-iso .)
}
snapshot >"$work/before"
status=0
(cd "$work/dir" && exec $run "$work/gridcol" </dev/null >"$work/console" 2>"$work/err") || status=$?
snapshot >"$work/after"

passed=0
failed=0
check() {
    if eval "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1"
    fi
}
check "exit status $status, not 0" '[ "$status" -eq 0 ]'
for output in n1mm_qth.txt calls_loc.dbg master.scp calls_loc.dat vhf.dtb; do
    check "the console does not name $output" 'grep -qx "Could not write $output" "$work/console"'
done
check "the run did not reach its end" \
    '[ "$(tail -n 1 "$work/console")" = "Press any key to terminate the program." ]'
check "standard error is not empty" '[ ! -s "$work/err" ]'
check "the read-only folder changed" 'diff "$work/before" "$work/after"'

echo "readonly: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
