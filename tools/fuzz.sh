#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer harnesses of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60), one
# after another. Usage: tools/fuzz.sh [SECONDS [HARNESS...]], where naming
# harnesses (adifparser, edilog, ...) runs only those.
#
# Everything lives in build-fuzz/ (but the scratch folders, which go to
# /dev/shm where it can be written): the corpus of each harness in corpus/NAME
# (kept, so that runs add up), the seeds gathered from the test data and the
# example in seeds/NAME (gathered anew each time), findings in findings/NAME,
# libFuzzer's output in logs/NAME.log, and in cpu-seconds.log one line per
# harness run with the CPU seconds it took. Each harness has a scratch folder
# of its own, so two runs over different harnesses (one per core) can share
# build-fuzz/ once it is built. Exits non-zero when any harness
# found a crash, a hang, a sanitizer report, a runaway allocation or a
# failed cross-check. With GRIDCOL_QT_MAJOR=6 the harnesses are built against
# Qt 6 instead, in build-fuzz-qt6/.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
only=" $* "
qt=${GRIDCOL_QT_MAJOR:-5}
build="$top/build-fuzz"
[ "$qt" = 5 ] || build="$top/build-fuzz-qt$qt"
# Each harness hands its input to the reader through a file in a scratch
# folder; on a disk that waiting costs a sixth of the CPU, so the scratch
# folders go to shared memory where there is some.
scratch="$build/tmp"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch="/dev/shm/gridcol-fuzz-$(id -u)-qt$qt"
fi

if [ "$qt" = 5 ]; then
    "$top/tools/install-build-deps.sh"
else
    "$top/tools/install-build-deps.sh" qt6-base-dev qt6-5compat-dev
fi
missing=""
for package in clang libclang-rt-14-dev time; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Fuzzing needs these Debian packages:$missing (run as root, or: sudo apt-get install$missing)" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    # shellcheck disable=SC2086 # the list is meant to split into words
    apt-get install -y --no-install-recommends $missing
fi

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDCOL_FUZZ=ON \
    -DGRIDCOL_QT_MAJOR="$qt" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target gridcol_fuzzers -j"$(nproc)"

# name  max_len  dictionary  seed file names
harnesses="
adifparser    8192 adif.dict      -iname *.adi
adifcatalogue 4096 catalogue.dict -name adif.txt
edilog        4096 edi.dict       -iname *.edi
delimited     4096 delimited.dict -iname *.csv
expfile       2048 delimited.dict -iname *.exp
callsloc      4096 callsloc.dict  -name calls_loc*.dat
vhfdtb        1560 -              -name vhf.dtb
kstlist       4096 chatlist.dict  -name kstlist -o -name *.blacklist
blacklist     4096 chatlist.dict  -name *.blacklist -o -name kstlist
settings      2048 ini.dict       -name gridcol.ini
checkedlog    8192 edi.dict       -iname *.edi -o -iname *.adi -o -name *.log
"

found=0
echo "$harnesses" | while read -r name maxlen dict pattern; do
    [ -n "$name" ] || continue
    [ "$only" = "  " ] || case "$only" in *" $name "*) ;; *) continue ;; esac
    corpus="$build/corpus/$name"
    seeds="$build/seeds/$name"
    findings="$build/findings/$name"
    log="$build/logs/$name.log"
    tmp="$scratch/$name"
    rm -rf "$seeds" "$tmp"
    mkdir -p "$corpus" "$seeds" "$findings" "$build/logs" "$tmp"

    # The test data moves about; its files are found by name. Earlier
    # findings of this harness are seeds as well.
    # shellcheck disable=SC2086 # the pattern is meant to split into find's words
    set -f
    find "$top/tests" "$top/example" -type f \( $pattern -o -path "*/fuzz-found/$name-*" \) >"$tmp/seeds"
    set +f
    while IFS= read -r file; do
        cp "$file" "$seeds/$(echo "${file#"$top"/}" | tr '/' '_')"
    done <"$tmp/seeds"

    dictionary=""
    [ "$dict" = "-" ] || dictionary="-dict=$top/fuzz/$dict"
    rc=0
    # shellcheck disable=SC2086 # an empty dictionary option is left out
    TMPDIR="$tmp" /usr/bin/time -f '%U %S' -o "$tmp/cpu" \
        "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len="$maxlen" $dictionary \
        -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$seeds" >"$log" 2>&1 || rc=$?

    cpu=$(awk 'END { printf "%.1f", $1 + $2 }' "$tmp/cpu" 2>/dev/null || echo 0)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    coverage=$(grep -a ' cov: ' "$log" | tail -1 | sed -n 's/.* cov: \([0-9]*\) ft: \([0-9]*\).*/cov \1 ft \2/p')
    if [ -z "$runs" ]; then
        runs=$(grep -a '^#[0-9]' "$log" | tail -1 | sed 's/^#\([0-9]*\).*/\1/')
    fi
    echo "$(date -u +%Y-%m-%dT%H:%M:%SZ) $name $seconds s requested, $cpu CPU s, ${runs:-0} runs" \
        >>"$build/cpu-seconds.log"

    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    if [ "$rc" -ne 0 ] || [ -n "$artifact" ]; then
        what=$(grep -a -m1 -E '^==[0-9]+==ERROR|^==gridcol==|^SUMMARY|ERROR: libFuzzer|runtime error' "$log" || true)
        echo "$name: ${runs:-0} runs, ${speed:-?} exec/s, ${coverage:-no coverage}: FOUND ($what) input ${artifact:-none}, log $log"
        touch "$build/found-$name"
    else
        rm -f "$build/found-$name"
        echo "$name: ${runs:-0} runs, ${speed:-?} exec/s, ${coverage:-no coverage}, no finding"
    fi
done

echo "CPU seconds per harness over all runs (from $build/cpu-seconds.log):"
awk '{ cpu[$2] += $6 } END { for (name in cpu) printf "  %-14s %9.0f s  %6.2f h\n", name, cpu[name], cpu[name] / 3600 }' \
    "$build/cpu-seconds.log" | sort

for file in "$build"/found-*; do
    [ -e "$file" ] && found=1
done
exit "$found"
