#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Deterministic large working directory for gridcol benchmarks.

gen_corpus.py OUTDIR SCALE [TODAY]  -> OUTDIR/work (gridcol.ini, adif.txt) and OUTDIR/src/* sources.
SCALE 1.0 is about 1,000,000 source records over ~100,000 distinct calls:
  EDI 2,000 logs x 250 QSOs (500k), ADIF 4 logs (300k records, 2/3 at or above 144 MHz),
  a configured ';' CSV group (100k lines), calls_loc.dat (80k lines), kstlist (2k), vhf.dtb (20k records).
Dates lie within the last three years, relative to today, so the age limit keeps them.
TODAY (YYYY-MM-DD) fixes that day, so that the same arguments give the same bytes on any day.
"""
import datetime, os, random, sys

out, scale = sys.argv[1], float(sys.argv[2])
rnd = random.Random(20261206)
today = datetime.date.fromisoformat(sys.argv[3]) if len(sys.argv) > 3 else datetime.date.today()
L, l = "ABCDEFGHIJKLMNOPQR", "abcdefghijklmnopqrstuvwx"
prefixes = ["DL", "DK", "DJ", "OK", "OL", "G", "M", "F", "SP", "SQ", "YO", "LZ", "HA", "OE", "PA", "ON", "I", "IK", "S5", "9A", "OM", "HB9", "SM", "OZ", "LA", "ES", "YL", "LY", "UR", "EA"]
ncalls = max(50, int(140_000 * scale))
calls = sorted({f"{rnd.choice(prefixes)}{rnd.randint(0, 9)}{''.join(rnd.choice('ABCDEFGHIJKLMNOPQRSTUVWXYZ') for _ in range(rnd.randint(1, 3)))}" for _ in range(ncalls)})
home = {c: rnd.choice(L) + rnd.choice(L) + f"{rnd.randint(0, 99):02d}" + rnd.choice(l).upper() + rnd.choice(l).upper() for c in calls}

def loc(c):  # mostly home, sometimes a portable square
    return home[c] if rnd.random() < 0.85 else home[c][:4] + rnd.choice(l).upper() + rnd.choice(l).upper()

def day():
    return today - datetime.timedelta(days=rnd.randint(1, 1000))

def mk(p):
    os.makedirs(p, exist_ok=True)
    return p

src, work = mk(os.path.join(out, "src")), mk(os.path.join(out, "work"))
dirs = {k: mk(os.path.join(src, k)) for k in ("edi", "adif", "csv", "db", "kst", "dtb")}

for i in range(int(2000 * scale) or 1):
    own = rnd.choice(calls); d = day()
    with open(os.path.join(dirs["edi"], f"log{i:05d}.edi"), "w", newline="\r\n") as f:
        f.write(f"[REG1TEST;1]\nTName=Bench contest\nTDate={d:%Y%m%d};{d:%Y%m%d}\nPCall={own}\nPWWLo={home[own]}\nPBand=144 MHz\n[Remarks]\n[QSORecords;250]\n")
        for q in range(250):
            c = rnd.choice(calls)
            f.write(f"{d:%y%m%d};{1200 + q % 60:04d};{c};1;59;{q + 1:03d};59;{rnd.randint(1, 999):03d};;{loc(c)};{rnd.randint(1, 900)};;;;\n")
        f.write("[END;bench]\n")

bands = [("144.300", "2m"), ("432.200", "70cm"), ("1296.200", "23cm"), ("50.150", "6m"), ("14.074", "20m"), ("", "2m")]
per = int(75_000 * scale) or 1
for i in range(4):
    with open(os.path.join(dirs["adif"], f"log{i}.adi"), "w") as f:
        f.write("Bench ADIF export\n<ADIF_VER:5>3.1.4 <PROGRAMID:5>bench <EOH>\n")
        for _ in range(per):
            c = rnd.choice(calls); g = loc(c); d = day(); fr, b = rnd.choice(bands)
            frt = f"<FREQ:{len(fr)}>{fr} " if fr else ""
            f.write(f"<CALL:{len(c)}>{c} <GRIDSQUARE:6>{g} <QSO_DATE:8>{d:%Y%m%d} <TIME_ON:4>1234 {frt}<BAND:{len(b)}>{b} <MODE:3>SSB <RST_SENT:2>59 <RST_RCVD:2>59 <EOR>\n")

with open(os.path.join(dirs["csv"], "export.csv"), "w") as f:
    f.write("date;call;name;qth;locator\n")
    for _ in range(int(100_000 * scale) or 1):
        c = rnd.choice(calls)
        f.write(f"{day():%d.%m.%Y};{c};Name;Town;{loc(c)}\n")

with open(os.path.join(dirs["db"], "calls_loc.dat"), "w") as f:
    for _ in range(int(80_000 * scale) or 1):
        c = rnd.choice(calls)
        f.write(f"{c},{loc(c)},{day():%d.%m.%Y},{rnd.randint(1, 40)}\n")

with open(os.path.join(dirs["kst"], "kstlist"), "w") as f:
    for _ in range(int(2000 * scale) or 1):
        c = rnd.choice(calls)
        f.write(f"{c} {home[c]} Op name\n")

with open(os.path.join(dirs["dtb"], "vhf.dtb"), "wb") as f:
    for _ in range(int(20_000 * scale) or 1):
        c = rnd.choice(calls); rec = bytearray(26)
        rec[0:len(c[:13])] = c[:13].encode(); g = loc(c); rec[14:20] = g.encode(); rec[21:25] = today.strftime("%m%y").encode()
        f.write(rec)

with open(os.path.join(work, "gridcol.ini"), "w") as f:
    f.write("[directories]\n")
    for n, k in enumerate(("db", "kst", "dtb", "csv", "edi", "adif"), 1):
        f.write(f"{n}={dirs[k]}\n")
    f.write('\n[export.csv]\ndelimiter=";"\ncall=1\nlocator=4\ndate=0\ndateFormat=dd.MM.yyyy\nheaderLines=1\n')
with open(os.path.join(work, "adif.txt"), "w") as f:
    f.write("CALL Call Callsign of the contacted station\nGRIDSQUARE Grid Locator of the contacted station\nQSO_DATE Date Date of the contact\nFREQ Freq Frequency in MHz\nBAND Band Band name\n")
total = int(2000 * scale) * 250 + 4 * per + int(100_000 * scale) + int(80_000 * scale) + int(2000 * scale) + int(20_000 * scale)
print(f"{total} source records, {len(calls)} distinct calls")
