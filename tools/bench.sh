#!/bin/sh
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures gridcol end to end on large generated working directories and
# prints one table: figure, value, target.
#
#   tools/bench.sh [RUNS]      (default 3; each figure is the best of RUNS)
#
# Everything lives in build-bench/: a Release build of gridcol, the corpora
# (made once by bench/gen_corpus.py for a fixed day, so their bytes never
# change; about 1,000,000 source records at scale 1.0), and adif-parser-ts,
# the most used JavaScript ADIF parser, installed with npm for comparison.
#
# Every run reads stdin from /dev/null and writes all outputs (and, in two
# pairs of runs, the files for other loggers or the map as well); scale 1.0
# and the ADIF file run with a Qt 6 build too (build-bench6/). At scales 0.1
# and 1.0 the SHA-256 of the five outputs and gridcol.dbg are checked against
# bench/reference.sha256, the hashes the program gave before any of its speed
# work: a faster gridcol must write the very same bytes.
#
# A benchmark prints; it fails only when it cannot run at all.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
build="$top/build-bench"
day=2026-12-06
outputs="n1mm_qth.txt calls_loc.dbg master.scp calls_loc.dat vhf.dtb gridcol.dbg"
loggers="tucnakcw calls_loc.csl n1mm_history.txt"

"$top/tools/install-build-deps.sh" python3 time
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target gridcol bench_memory -j"$(nproc)" >/dev/null
gridcol="$build/gridcol"

export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=CET-1CEST,M3.5.0,M10.5.0/3 GRIDCOL_NOW="${day}T12:00:00"

corpus() { # scale -> its folder, made once
    folder="$build/corpus-$1"
    if [ ! -f "$folder/.complete" ]; then
        rm -rf "$folder"
        python3 "$top/bench/gen_corpus.py" "$folder" "$1" "$day" >/dev/null
        touch "$folder/.complete"
    fi
    echo "$folder"
}

# Runs gridcol once in a working directory; sets seconds and kilobytes (peak).
run_once() {
    (cd "$1" && rm -f $outputs $loggers && /usr/bin/time -f '%e %M' -o "$build/time" "$gridcol" </dev/null >/dev/null)
    read -r seconds kilobytes <"$build/time"
}

smaller() { echo "$1 $2" | awk '{ print ($2 < $1) ? $2 : $1 }'; }

# Runs gridcol RUNS times in a working directory; sets best (seconds) and peak (kB).
measure() {
    best=999999 peak=0
    i=0
    while [ "$i" -lt "$runs" ]; do
        run_once "$1"
        best=$(smaller "$best" "$seconds")
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
        i=$((i + 1))
    done
}

# The same for two working directories, their runs taken in turns (A B, then
# B A, and so on), so that the machine's changes of speed over minutes weigh
# on both alike, and each follows a run of either; sets best_a, peak_a,
# best_b and peak_b.
measure_pair() {
    best_a=999999 peak_a=0 best_b=999999 peak_b=0
    i=0
    while [ "$i" -lt "$runs" ]; do
        for which in $(if [ $((i % 2)) -eq 0 ]; then echo a b; else echo b a; fi); do
            if [ "$which" = a ]; then
                run_once "$1"
                best_a=$(smaller "$best_a" "$seconds")
                [ "$kilobytes" -gt "$peak_a" ] && peak_a=$kilobytes
            else
                run_once "$2"
                best_b=$(smaller "$best_b" "$seconds")
                [ "$kilobytes" -gt "$peak_b" ] && peak_b=$kilobytes
            fi
        done
        i=$((i + 1))
    done
}

# The hashes of a run's outputs against the reference: "same" or the names that differ.
check() {
    differ=""
    for name in $outputs; do
        want=$(awk -v scale="$2" -v name="$name" '$1 == scale && $3 == name { print $2 }' \
            "$top/bench/reference.sha256" 2>/dev/null || true)
        have=$(sha256sum "$1/$name" | cut -d' ' -f1)
        [ "$want" = "$have" ] || differ="$differ $name"
    done
    echo "${differ:-" same"}"
}

row() { printf '%-46s %14s   %s\n' "$1" "$2" "$3"; }

small=$(corpus 0.1)
full=$(corpus 1.0)
double=$(corpus 2.0)

# The four ADIF logs of scale 1.0 as one file, one header, in a directory of its own.
single="$build/adif-single"
if [ ! -f "$single/.complete" ]; then
    rm -rf "$single"
    mkdir -p "$single/src" "$single/work"
    {
        head -n 2 "$full/src/adif/log0.adi"
        for log in "$full"/src/adif/log*.adi; do tail -n +3 "$log"; done
    } >"$single/src/all.adi"
    printf '[directories]\n1=%s\n' "$single/src" >"$single/work/gridcol.ini"
    cp "$full/work/adif.txt" "$single/work/"
    touch "$single/.complete"
fi

echo "gridcol $(git -C "$top" describe --always --dirty 2>/dev/null || echo '?'), best of $runs runs, $(nproc) cores"
row "figure" "value" "target"

measure "$small/work"
row "scale 0.1: wall time" "$best s" ""
row "scale 0.1: outputs against the reference" "$(check "$small/work" 0.1)" "same"

# Fresh memory: on a virtual machine whose host backs memory lazily, touching
# new pages now and then takes ten times as long as usual, and the large runs
# touch hundreds of megabytes. Measured before and after them, it tells such
# moments apart from gridcol's own speed. The probe runs with the memory
# set-up gridcol gives itself on glibc (huge pages).
fresh_memory() {
    GLIBC_TUNABLES=glibc.malloc.hugetlb=1:glibc.malloc.top_pad=67108864 "$build/bench/bench_memory" 256 5 |
        awk '{ printf "%.0f-%.0f ms", $1, $2 }'
}
row "fresh memory: 100 MB touched, best-worst of 5" "$(fresh_memory)" "(usually 6-10 ms)"

# Scales 1.0 and 2.0 in turns: their ratio is a figure of its own.
measure_pair "$full/work" "$double/work"
row "scale 1.0 (1,002,000 records): wall time" "$best_a s" "<= 1.0 s"
row "scale 1.0: peak memory" "$((peak_a / 1024)) MB" "<= 300 MB"
row "scale 1.0: outputs against the reference" "$(check "$full/work" 1.0)" "same"
row "scale 2.0: wall time" "$best_b s" ""
row "scale 2.0: peak memory" "$((peak_b / 1024)) MB" ""
row "scale 2.0 against scale 1.0" "$(echo "$best_b $best_a" | awk '{ printf "%.2fx", $1 / $2 }')" "<= 2.10x"
row "fresh memory after the large runs" "$(fresh_memory)" "(usually 6-10 ms)"

# gridcol --check of one log of 2,000 QSOs (eight of the corpus's logs made
# one) in the scale-1.0 working directory, against a plain run there.
checked="$build/check-2000.edi"
if [ ! -f "$checked" ]; then
    {
        head -n 8 "$full/src/edi/log00000.edi" | sed 's/^\[QSORecords;.*/[QSORecords;2000]/'
        for n in 0 1 2 3 4 5 6 7; do sed -n '/^\[QSORecords/,/^\[END/p' "$full/src/edi/log0000$n.edi" | sed '1d;$d'; done
        echo "[END;bench]"
    } >"$checked"
fi
check_best=999999
i=0
while [ "$i" -lt "$runs" ]; do
    # --check exits 1 when it finds a suspect QSO; time then writes a line
    # about that before its figures.
    (cd "$full/work" && /usr/bin/time -f '%e %M' -o "$build/time" "$gridcol" --check "$checked" </dev/null >/dev/null) || true
    read -r seconds kilobytes <<EOF
$(tail -n 1 "$build/time")
EOF
    check_best=$(smaller "$check_best" "$seconds")
    i=$((i + 1))
done
row "check of a 2,000-QSO log at scale 1.0" "$check_best s" ""
row "check against the plain run" "$(echo "$check_best $best_a" | awk '{ printf "%.2fx", $1 / $2 }')" "<= 1.20x"
# The files for other loggers: scale 1.0 once more with [outputs] naming all
# three, in turns with the plain run; their cost is the ratio of the two.
with_loggers="$build/loggers-1.0"
mkdir -p "$with_loggers"
cp "$full/work/adif.txt" "$with_loggers/"
{
    cat "$full/work/gridcol.ini"
    printf '\n[outputs]\ntucnak=tucnakcw\nminos=calls_loc.csl\nn1mmhistory=n1mm_history.txt\n'
} >"$with_loggers/gridcol.ini"
measure_pair "$full/work" "$with_loggers"
row "scale 1.0 with Tucnak, Minos, N1MM+ files" \
    "$(echo "$best_b $best_a" | awk '{ printf "%.2fx", $1 / $2 }')" "<= 1.15x"
# Scale 1.0 once more, with the map: the same settings and [outputs] map=,
# in turns with the run without it.
mapped="$build/map-1.0"
mkdir -p "$mapped"
cp "$full/work/adif.txt" "$mapped/"
{ cat "$full/work/gridcol.ini"; printf '\n[outputs]\nmap=gridcol-map.html\nhome=JN79XX\n'; } >"$mapped/gridcol.ini"
rm -f "$mapped/gridcol-map.html"
measure_pair "$full/work" "$mapped"
row "scale 1.0 with the map: wall time" "$best_b s (without: $best_a s)" ""
row "scale 1.0: time the map adds" "$(echo "$best_b $best_a" | awk '{ printf "%+.0f %%", ($1 / $2 - 1) * 100 }')" "<= 15 %"
row "scale 1.0: map size" "$(wc -c <"$mapped/gridcol-map.html" | awk '{ printf "%.1f MB", $1 / 1e6 }')" "<= 5.0 MB"

# The Qt 6 build beside the Qt 5 one: scale 1.0 and the single ADIF file,
# the two builds in turns; the Qt 6 build's outputs must match the same
# reference hashes.
build6="$top/build-bench6"
"$top/tools/install-build-deps.sh" qt6-base-dev qt6-5compat-dev
cmake -S "$top" -B "$build6" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DGRIDCOL_QT_MAJOR=6 >/dev/null
cmake --build "$build6" --target gridcol -j"$(nproc)" >/dev/null
qt5="$gridcol"
qt6="$build6/gridcol"
measure_builds() { # working directory -> best_a, peak_a (Qt 5), best_b, peak_b (Qt 6)
    best_a=999999 peak_a=0 best_b=999999 peak_b=0
    i=0
    while [ "$i" -lt "$runs" ]; do
        for which in $(if [ $((i % 2)) -eq 0 ]; then echo a b; else echo b a; fi); do
            if [ "$which" = a ]; then
                gridcol="$qt5" run_once "$1"
                best_a=$(smaller "$best_a" "$seconds")
                [ "$kilobytes" -gt "$peak_a" ] && peak_a=$kilobytes
            else
                gridcol="$qt6" run_once "$1"
                best_b=$(smaller "$best_b" "$seconds")
                [ "$kilobytes" -gt "$peak_b" ] && peak_b=$kilobytes
            fi
        done
        i=$((i + 1))
    done
    gridcol="$qt5"
}
measure_builds "$full/work"
row "scale 1.0: Qt 5 / Qt 6 wall time" "$best_a / $best_b s" ""
row "scale 1.0: Qt 5 / Qt 6 peak memory" "$((peak_a / 1024)) / $((peak_b / 1024)) MB" ""
gridcol="$qt6" run_once "$full/work"
row "scale 1.0: Qt 6 outputs against the reference" "$(check "$full/work" 1.0)" "same"
measure_builds "$single/work"
row "ADIF file: Qt 5 / Qt 6 wall time" "$best_a / $best_b s" ""

bytes=$(wc -c <"$single/src/all.adi")
measure "$single/work"
adif_time=$best
row "ADIF, one file of $(echo "$bytes" | awk '{ printf "%.1f", $1 / 1e6 }') MB: wall time" "$best s" ""
row "ADIF: gridcol's throughput" "$(echo "$bytes $best" | awk '{ printf "%.1f MB/s", $1 / 1e6 / $2 }')" ""

# adif-parser-ts merely parsing the same file in node, best of the same number of runs.
node_dir="$build/adif-parser-ts"
if command -v node >/dev/null && command -v npm >/dev/null; then
    if [ ! -f "$node_dir/node_modules/adif-parser-ts/package.json" ]; then
        mkdir -p "$node_dir"
        (cd "$node_dir" && npm install --silent --no-audit --no-fund adif-parser-ts@0.7.7 >/dev/null 2>&1) || true
    fi
fi
if [ -f "$node_dir/node_modules/adif-parser-ts/package.json" ]; then
    node_time=$(cd "$node_dir" && node "$top/bench/adif-parser-ts.js" "$single/src/all.adi" "$runs")
    row "ADIF: adif-parser-ts 0.7.7 parsing only" "$node_time s" ""
    row "ADIF: gridcol against adif-parser-ts" \
        "$(echo "$node_time $adif_time" | awk '{ printf "%.1fx", $1 / $2 }')" ">= 5.0x"
else
    row "ADIF: adif-parser-ts" "skipped" "(node or npm missing, or npm could not install it)"
fi
