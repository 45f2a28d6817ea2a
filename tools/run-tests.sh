#!/bin/sh
# Builds gridcol with warnings as errors and runs the whole test suite, then
# does the same once more with AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-build-deps.sh"
jobs=$(nproc)

cmake -S "$top" -B "$top/build-tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDCOL_WERROR=ON
cmake --build "$top/build-tests" -j"$jobs"
ctest --test-dir "$top/build-tests" --output-on-failure -j"$jobs"

cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DGRIDCOL_WERROR=ON \
    -DSANITIZE="address;undefined"
cmake --build "$top/build-sanitize" -j"$jobs"
ctest --test-dir "$top/build-sanitize" --output-on-failure -j"$jobs"
