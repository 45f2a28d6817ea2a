#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds gridcol and runs it on a copy of the bundled example working
# directory, so that the repository itself stays clean.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-build-deps.sh"

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build" --target gridcol -j"$(nproc)"

run="$top/build/example-run"
rm -rf "$run"
cp -R "$top/example" "$run"
cd "$run"
"$top/build/gridcol"

echo
echo "Outputs of this run in $run:"
echo "  n1mm_qth.txt  calls_loc.dbg  master.scp  calls_loc.dat  vhf.dtb  and the log gridcol.dbg"
