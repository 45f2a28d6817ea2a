#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Ground truth of busted calls and locators in real EDI contest logs, and the
measurement of `gridcol --check` against it.

The truth comes from the logs alone:

* every station's own header (PCall=, PWWLo=) is the truth of its locator;
* a contact logged by both sides (same band, calls cross-matching, times within
  the window) is confirmed;
* a QSO with a call X of which no log exists, while the log of a station Y one
  step away from X (one character changed, two neighbours swapped, one
  character left out or added, O for 0 and back, a /suffix added or dropped)
  holds an unmatched QSO with the logging station within the window, is a
  busted call whose true call is Y;
* every other QSO is "truth unknown".

Decisions:

* A trailing /P does not change the station: YO5QBS and YO5QBS/P are one
  station, compared case-insensitively.  Such QSOs are right (the locator is
  still checked) and carry the note "suffix".  Any other /suffix (/2, /M, ...)
  counts as one step: a different call.
* A 4-character locator that agrees with the first four characters of the true
  one is right (note "4-char"); one that disagrees is busted.
* Window: a QSO confirms another one when their logged times are at most
  --window minutes apart (default 10).  Pairs are made one to one, nearest
  first, so a duplicate never confirms twice.
* A station's header locator also counts as the truth of its locator on the
  other bands of the same contest weekend (the same station had one locator
  for every band in these logs); --same-band-only turns that off.  Contacts are
  only ever confirmed on the same band.
* Contests: logs whose TDate ranges (widened by the dates of their own QSOs)
  overlap form one contest weekend; a weekend is split by band.

Hints that are not truth: for QSOs of unknown truth, what two or more other
logs agree on (a locator they all give, or a call one step from a call they
heard) is shown apart, to help read the flags a check raises there.

Usage:
  realworld-check.py [--edi DIR] [--json] [--window MIN] [--same-band-only]
                     [--strict-tdate]
  realworld-check.py --measure GRIDCOL [--modes without,with] [--only NAME,...]
                     [--check-option --check] [--json]
  realworld-check.py --pairs        (time differences of cross-matching QSOs)
  realworld-check.py --selftest     (the rules on made-up logs)

The measurement runs, for each log F, in a fresh folder whose gridcol.ini
names logs/ as the logs folder and whose logs/ holds the other logs (mode
"without") or all of them (mode "with"):
  GRIDCOL_NOW=2016-06-01T12:00:00 GRIDCOL --check F --json --all  </dev/null
"""

import argparse
import collections
import concurrent.futures
import datetime
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

DEFAULT_EDI_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "edi-contests")
DEFAULT_WINDOW = 10
NOW = "2016-06-01T12:00:00"

LOCATOR6 = re.compile(r"^[A-R]{2}[0-9]{2}[A-X]{2}$")
LOCATOR4 = re.compile(r"^[A-R]{2}[0-9]{2}$")

VERDICTS = ["OK", "NEW-CALL", "NEW-LOC", "SUSPECT-LOC", "SUSPECT-CALL", "BAD-LOC"]
FLAGS = ("SUSPECT-LOC", "SUSPECT-CALL", "BAD-LOC")
TRUTH_KINDS = ["OK", "BUSTED-LOC", "BUSTED-CALL", "UNKNOWN"]


# ---------------------------------------------------------------- reading ---

class Qso:
    def __init__(self, log, index, line_no, fields):
        self.log = log
        self.index = index
        self.line_no = line_no
        get = lambda i: fields[i].strip() if i < len(fields) else ""
        self.date = get(0)
        self.time = get(1)
        self.call = get(2)
        self.locator_raw = get(9)
        self.dupe = get(14).upper() == "D"
        self.call_u = self.call.upper()
        self.base = base_call(self.call)
        self.locator = self.locator_raw.upper()
        self.when = parse_when(self.date, self.time)
        self.partner = None          # the QSO of the other log that confirms this one
        self.busted_to = None        # the log of the true station of a busted call
        self.truth = None            # filled by classify()

    def key(self):
        return (self.date, self.time, self.call_u)


class Log:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        self.header = {}
        self.qsos = []
        self.notes = []
        self.declared = None
        self._read()
        self.call = self.header.get("PCALL", "").strip().upper()
        self.base = base_call(self.call)
        self.locator = self.header.get("PWWLO", "").strip().upper()
        self.band_text = self.header.get("PBAND", "").strip()
        self.band = normalise_band(self.band_text)
        self.tname = self.header.get("TNAME", "").strip()
        self.tdate = self.header.get("TDATE", "").strip()
        self.date_from, self.date_to = parse_tdate(self.tdate)
        self.group = None

    def _read(self):
        with open(self.path, "rb") as f:
            data = f.read()
        if data.startswith(b"\xef\xbb\xbf"):
            data = data[3:]
            self.notes.append("UTF-8 BOM")
        if b"\r\n" in data:
            self.notes.append("CRLF")
        if not data.endswith(b"\n"):
            self.notes.append("no final newline")
        # Calls, locators and numbers are ASCII; only the contest names and
        # addresses differ: UTF-8 where it is, else the Cyrillic code page
        # of the Bulgarian logs, any undefined byte replaced.
        try:
            text = data.decode("utf-8")
        except UnicodeDecodeError:
            text = data.decode("cp1251", errors="replace")
            self.notes.append("8-bit text")
        lines = re.split(r"\r\n|\r|\n", text)
        in_qsos = False
        for no, line in enumerate(lines, 1):
            stripped = line.strip()
            if stripped.startswith("["):
                if not self.header and not self.qsos and not stripped.upper().startswith(
                        "[REG1TEST") and "first tag" not in " ".join(self.notes):
                    self.notes.append("first tag %s" % stripped)
                m = re.match(r"\[QSORecords;\s*(\d+)", stripped, re.I)
                in_qsos = bool(m)
                if m:
                    self.declared = int(m.group(1))
                continue
            if not stripped:
                continue
            if in_qsos:
                self.qsos.append(Qso(self, len(self.qsos), no, line.split(";")))
            elif "=" in line:
                k, v = line.split("=", 1)
                self.header.setdefault(k.strip().upper(), v)
        if self.declared is not None and self.declared != len(self.qsos):
            self.notes.append("declares %d QSOs, holds %d" % (self.declared, len(self.qsos)))


def base_call(call):
    """The station a call stands for: upper case, a trailing /P dropped."""
    c = call.strip().upper()
    if c.endswith("/P"):
        c = c[:-2]
    return c


def parse_when(date, time):
    try:
        return datetime.datetime.strptime(date + time, "%y%m%d%H%M")
    except ValueError:
        return None


def parse_tdate(text):
    parts = [p.strip() for p in text.split(";") if p.strip()]
    out = []
    for p in parts[:2]:
        try:
            out.append(datetime.datetime.strptime(p, "%Y%m%d").date())
        except ValueError:
            pass
    if not out:
        return None, None
    return out[0], out[-1]


def normalise_band(text):
    """'144', '145 MHz' -> '144 MHz'; '1,3 GHz', '1.3 GHz' -> '1296 MHz'."""
    m = re.search(r"(\d+(?:[.,]\d+)?)\s*(GHZ|MHZ)?", text.upper())
    if not m:
        return text or "?"
    mhz = float(m.group(1).replace(",", "."))
    if m.group(2) == "GHZ" or mhz < 20:
        mhz *= 1000
    for lo, hi, name in ((50, 54, "50 MHz"), (70, 71, "70 MHz"), (144, 148, "144 MHz"),
                         (420, 450, "432 MHz"), (1240, 1310, "1296 MHz"),
                         (2300, 2450, "2320 MHz"), (3400, 3500, "3400 MHz"),
                         (5650, 5850, "5760 MHz"), (10000, 10500, "10 GHz")):
        if lo <= mhz <= hi:
            return name
    return "%g MHz" % mhz


def read_logs(edi_dir):
    names = sorted(n for n in os.listdir(edi_dir) if n.lower().endswith(".edi"))
    return [Log(os.path.join(edi_dir, n)) for n in names]


# ------------------------------------------------------------- the truth ---

def one_step(x, y):
    """How the call x is one step from the call y, or None.  Both are taken as
    stations (trailing /P dropped); equal stations are not one step apart."""
    a, b = base_call(x), base_call(y)
    if a == b:
        return None
    for s, t in ((a, b), (b, a)):
        if s.startswith(t + "/") and "/" not in s[len(t) + 1:]:
            return "suffix /%s %s" % (s[len(t) + 1:], "added" if s is a else "dropped")
    if len(a) == len(b):
        diff = [i for i in range(len(a)) if a[i] != b[i]]
        if len(diff) == 1:
            i = diff[0]
            if {a[i], b[i]} == {"O", "0"}:
                return "letter O / digit 0 (%s for %s)" % (a[i], b[i])
            return "one character changed (%s for %s)" % (a[i], b[i])
        if len(diff) == 2 and diff[1] == diff[0] + 1 and a[diff[0]] == b[diff[1]] \
                and a[diff[1]] == b[diff[0]]:
            return "neighbours swapped (%s)" % b[diff[0]:diff[1] + 1]
        return None
    if abs(len(a) - len(b)) == 1:
        long_, short = (a, b) if len(a) > len(b) else (b, a)
        for i in range(len(long_)):
            if long_[:i] + long_[i + 1:] == short:
                return "one character %s (%s)" % ("added" if long_ is a else "left out", long_[i])
    return None


def group_logs(logs, strict_tdate=False):
    """Contest weekends: overlapping date ranges (TDate widened by the QSO
    dates) are one weekend.  strict_tdate: logs with the same TDate text only."""
    if strict_tdate:
        for lg in logs:
            lg.group = lg.tdate.replace(";", "..")
        return
    spans = []
    for lg in logs:
        dates = [q.when.date() for q in lg.qsos if q.when]
        if lg.date_from:
            dates += [lg.date_from, lg.date_to]
        spans.append((min(dates), max(dates)) if dates else (None, None))
    parent = list(range(len(logs)))

    def find(i):
        while parent[i] != i:
            parent[i] = parent[parent[i]]
            i = parent[i]
        return i
    for i in range(len(logs)):
        for j in range(i + 1, len(logs)):
            (a0, a1), (b0, b1) = spans[i], spans[j]
            if a0 and b0 and a0 <= b1 and b0 <= a1:
                parent[find(i)] = find(j)
    members = collections.defaultdict(list)
    for i in range(len(logs)):
        members[find(i)].append(i)
    for idx in members.values():
        lo = min(spans[i][0] for i in idx if spans[i][0])
        hi = max(spans[i][1] for i in idx if spans[i][1])
        name = "%s..%s" % (lo.isoformat(), hi.isoformat())
        for i in idx:
            logs[i].group = name


def minutes(a, b):
    if a.when is None or b.when is None:
        return None
    return abs((a.when - b.when).total_seconds()) / 60.0


def pair_contacts(logs, window):
    """Confirmed contacts: one-to-one, nearest in time first."""
    cands = []
    for i, a in enumerate(logs):
        for b in logs[i + 1:]:
            if a.group != b.group or a.band != b.band or a.base == b.base:
                continue
            qa = [q for q in a.qsos if q.base == b.base]
            qb = [r for r in b.qsos if r.base == a.base]
            for q in qa:
                for r in qb:
                    d = minutes(q, r)
                    if d is not None and d <= window:
                        cands.append((d, q.log.name, q.index, r.log.name, r.index, q, r))
    cands.sort(key=lambda c: c[:5])
    for d, _, _, _, _, q, r in cands:
        if q.partner is None and r.partner is None:
            q.partner, r.partner = r, q


def find_busted_calls(logs, window):
    """An unconfirmed QSO with X, and an unconfirmed QSO with the logging
    station in the log of Y one step from X, within the window: X is busted."""
    cands = []
    for a in logs:
        for q in a.qsos:
            if q.partner is not None or q.when is None:
                continue
            for y in logs:
                if y is a or y.group != a.group or y.band != a.band or y.base == a.base:
                    continue
                step = one_step(q.call_u, y.call)
                if step is None:
                    continue
                for r in y.qsos:
                    if r.base != a.base or r.partner is not None:
                        continue
                    d = minutes(q, r)
                    if d is not None and d <= window:
                        cands.append((d, a.name, q.index, y.name, r.index, q, r, y, step))
    cands.sort(key=lambda c: c[:5])
    for d, _, _, _, _, q, r, y, step in cands:
        if q.partner is None and r.partner is None:
            q.partner, r.partner = r, q
            q.busted_to = (y, step)


def compare_locator(logged, true):
    """(busted, note) for a logged locator against the header one."""
    if not logged:
        return False, "no locator logged"
    if LOCATOR6.match(logged):
        return logged != true, ""
    if LOCATOR4.match(logged):
        if logged == true[:4]:
            return False, "4-char"
        return True, "4-char, other square"
    return logged != true, "malformed locator"


def classify(logs, same_band_only):
    by_station = collections.defaultdict(list)
    for lg in logs:
        by_station[(lg.group, lg.base)].append(lg)
    for a in logs:
        for q in a.qsos:
            t = {"file": a.name, "own_call": a.call, "band": a.band, "contest": a.group,
                 "date": q.date, "time": q.time, "call": q.call, "locator": q.locator_raw,
                 "when": q.when.strftime("%Y-%m-%d %H:%M") if q.when else None,
                 "line": q.line_no, "kind": "UNKNOWN", "true_call": None,
                 "true_locator": None, "evidence": "", "notes": []}
            if q.dupe:
                t["notes"].append("dupe")
            q.truth = t
            if q.busted_to is not None:
                y, step = q.busted_to
                r = q.partner
                t["kind"] = "BUSTED-CALL"
                t["true_call"], t["true_locator"] = y.call, y.locator
                ev = "%s (%s, %s) logged %s at %s %s (%s min); %s" % (
                    y.name, y.call, y.locator, r.call, r.date, r.time,
                    fmt_min(minutes(q, r)), step)
                if own := [lg for lg in by_station[(a.group, q.base)] if lg.band == a.band]:
                    ev += "; %s sent a log, but it holds no such QSO" % own[0].call
                busted, note = compare_locator(q.locator, y.locator)
                if busted:
                    t["notes"].append("locator differs too")
                t["evidence"] = ev
                continue
            owners = by_station.get((a.group, q.base), [])
            same = [lg for lg in owners if lg.band == a.band]
            other = [lg for lg in owners if lg.band != a.band]
            if same:
                x = same[0]
                where = "header of %s" % x.name
            elif other and not same_band_only:
                x = other[0]
                where = "header of %s (%s, other band)" % (x.name, x.band)
            else:
                continue
            t["true_call"], t["true_locator"] = x.call, x.locator
            if q.call_u != x.call:
                t["notes"].append("suffix")
            busted, note = compare_locator(q.locator, x.locator)
            if note:
                t["notes"].append(note)
            t["kind"] = "BUSTED-LOC" if busted else "OK"
            if q.partner is not None:
                r = q.partner
                conf = "confirmed: %s logged %s at %s (%s min)" % (
                    r.log.name, r.call, r.time, fmt_min(minutes(q, r)))
            elif same:
                conf = "not in %s's log within the window" % x.call
                t["notes"].append("NIL")
            else:
                conf = "no log of %s on this band" % x.call
            t["evidence"] = "%s says %s %s; %s" % (where, x.call, x.locator, conf)


def add_consensus(logs):
    """Hints, not truth: what the other logs agree on for QSOs whose truth is
    unknown.  A call heard by one log only that is one step from a call two or
    more other logs heard is a likely busted call; a locator that differs from
    the one two or more other logs agree on (and none contradicts) is a likely
    busted locator.  These are shown apart and never counted as truth."""
    heard = collections.defaultdict(lambda: collections.defaultdict(set))
    for lg in logs:
        for q in lg.qsos:
            if q.locator:
                heard[q.base][lg.name].add(q.locator)
    for lg in logs:
        for q in lg.qsos:
            t = q.truth
            t["consensus"] = None
            if t["kind"] != "UNKNOWN":
                continue
            others = {n: l for n, l in heard[q.base].items() if n != lg.name}
            if len(others) >= 2:
                locs = set().union(*others.values())
                if len(locs) == 1 and q.locator not in locs:
                    t["consensus"] = {"kind": "LOC", "locator": next(iter(locs)),
                                      "logs": len(others)}
                continue
            if others:
                continue
            best = None
            for z, where in heard.items():
                n = len([k for k in where if k != lg.name])
                step = one_step(q.call_u, z) if n >= 2 else None
                if step and (best is None or n > best[1]):
                    best = (z, n, step, set().union(*where.values()))
            if best:
                t["consensus"] = {"kind": "CALL", "call": best[0], "logs": best[1],
                                  "step": best[2], "locators": sorted(best[3])}


def fmt_min(m):
    return "?" if m is None else ("%d" % m if m == int(m) else "%.1f" % m)


def build_truth(edi_dir, window, same_band_only, strict_tdate=False):
    logs = read_logs(edi_dir)
    group_logs(logs, strict_tdate)
    pair_contacts(logs, window)
    find_busted_calls(logs, window)
    classify(logs, same_band_only)
    add_consensus(logs)
    return logs


def truth_document(logs, window, same_band_only):
    qsos = [q.truth for lg in logs for q in lg.qsos]
    counts = collections.Counter(t["kind"] for t in qsos)
    per_contest = collections.OrderedDict()
    for lg in sorted(logs, key=lambda l: (l.group, band_order(l.band), l.call)):
        key = "%s %s" % (lg.group, lg.band)
        c = per_contest.setdefault(key, {"logs": [], "qsos": 0, "known": 0,
                                         "busted_locators": 0, "busted_calls": 0})
        c["logs"].append(lg.name)
        for q in lg.qsos:
            c["qsos"] += 1
            c["known"] += q.truth["kind"] != "UNKNOWN"
            c["busted_locators"] += q.truth["kind"] == "BUSTED-LOC"
            c["busted_calls"] += q.truth["kind"] == "BUSTED-CALL"
    return {
        "window_minutes": window,
        "same_band_only": same_band_only,
        "logs": [{"file": lg.name, "call": lg.call, "locator": lg.locator,
                  "band": lg.band, "band_text": lg.band_text, "tdate": lg.tdate,
                  "tname": lg.tname, "contest": lg.group, "qsos": len(lg.qsos),
                  "notes": lg.notes} for lg in logs],
        "contests": per_contest,
        "counts": {
            "qsos": len(qsos),
            "known": len(qsos) - counts["UNKNOWN"],
            "ok": counts["OK"],
            "busted_locators": counts["BUSTED-LOC"],
            "busted_calls": counts["BUSTED-CALL"],
            "unknown": counts["UNKNOWN"],
            "suffix_only": sum("suffix" in t["notes"] for t in qsos),
            "four_char_ok": sum("4-char" in t["notes"] for t in qsos),
            "not_in_log": sum("NIL" in t["notes"] for t in qsos),
            "confirmed": sum("confirmed" in t["evidence"] for t in qsos),
            "consensus_locator_hints": sum(bool(t.get("consensus")) and
                                           t["consensus"]["kind"] == "LOC" for t in qsos),
            "consensus_call_hints": sum(bool(t.get("consensus")) and
                                        t["consensus"]["kind"] == "CALL" for t in qsos),
        },
        "busted": [t for t in qsos if t["kind"] in ("BUSTED-LOC", "BUSTED-CALL")],
        "consensus": [t for t in qsos if t.get("consensus")],
        "qsos": qsos,
    }


def band_order(band):
    m = re.match(r"(\d+)", band)
    return int(m.group(1)) * (1000 if "GHz" in band else 1) if m else 0


def print_truth(doc, out=sys.stdout):
    w = out.write
    w("Ground truth from %d EDI logs (window %d min%s)\n\n" % (
        len(doc["logs"]), doc["window_minutes"],
        ", header locator on the same band only" if doc["same_band_only"] else ""))
    rows = [("log file", "date", "time", "logged call", "logged loc", "kind",
             "true call", "true loc", "evidence")]
    for t in doc["busted"]:
        rows.append((t["file"], t["date"], t["time"], t["call"], t["locator"],
                     t["kind"] + ("*" if t["notes"] else ""), t["true_call"],
                     t["true_locator"], t["evidence"] +
                     (" [%s]" % ", ".join(t["notes"]) if t["notes"] else "")))
    print_rows(rows, w)
    c = doc["counts"]
    w("\nQSOs total            %5d\n" % c["qsos"])
    w("QSOs with known truth %5d\n" % c["known"])
    w("  right               %5d  (of which %d differ only by /P, %d 4-char locators, "
      "%d not in the other log)\n" % (c["ok"], c["suffix_only"], c["four_char_ok"],
                                      c["not_in_log"]))
    w("  busted locators     %5d\n" % c["busted_locators"])
    w("  busted calls        %5d\n" % c["busted_calls"])
    w("truth unknown         %5d\n" % c["unknown"])
    w("confirmed by both logs %4d\n\n" % c["confirmed"])
    rows = [("contest", "logs", "QSOs", "known", "busted loc", "busted call")]
    for k, v in doc["contests"].items():
        rows.append((k, str(len(v["logs"])), str(v["qsos"]), str(v["known"]),
                     str(v["busted_locators"]), str(v["busted_calls"])))
    print_rows(rows, w)
    if doc["consensus"]:
        w("\nNot truth, only what the other logs agree on (QSOs of unknown truth):\n")
        rows = [("log file", "date", "time", "logged call", "logged loc", "hint")]
        for t in doc["consensus"]:
            c = t["consensus"]
            hint = ("locator %s in %d other logs" % (c["locator"], c["logs"])
                    if c["kind"] == "LOC" else
                    "call %s in %d other logs (%s), locators %s" % (
                        c["call"], c["logs"], c["step"], "/".join(c["locators"])))
            rows.append((t["file"], t["date"], t["time"], t["call"], t["locator"], hint))
        print_rows(rows, w)


def print_rows(rows, w):
    widths = [max(len(str(r[i])) for r in rows) for i in range(len(rows[0]) - 1)]
    for r in rows:
        w("  ".join(str(v).ljust(widths[i]) for i, v in enumerate(r[:-1])) +
          "  " + str(r[-1]) + "\n")


def print_pairs(logs, out=sys.stdout):
    """Time differences of every pair of QSOs that cross-match, nearest first,
    whatever the window: the evidence for choosing the window."""
    hist = collections.Counter()
    rows = [("log A", "QSO", "log B", "QSO", "minutes")]
    for i, a in enumerate(logs):
        for b in logs[i + 1:]:
            if a.group != b.group or a.band != b.band or a.base == b.base:
                continue
            for q in a.qsos:
                if q.base != b.base:
                    continue
                ds = [(minutes(q, r), r) for r in b.qsos if r.base == a.base]
                ds = [x for x in ds if x[0] is not None]
                if not ds:
                    rows.append((a.name, "%s %s %s" % (q.date, q.time, q.call), b.name,
                                 "-", "no QSO with %s" % a.call))
                    continue
                d, r = min(ds, key=lambda x: x[0])
                hist[d if d <= 15 else ">15"] += 1
                rows.append((a.name, "%s %s %s" % (q.date, q.time, q.call), b.name,
                             "%s %s %s" % (r.date, r.time, r.call), fmt_min(d)))
    print_rows(rows, out.write)
    out.write("\nnearest time difference: count\n")
    for k in sorted(hist, key=lambda k: 999 if k == ">15" else k):
        out.write("  %s: %d\n" % (fmt_min(k) if k != ">15" else k, hist[k]))


# ----------------------------------------------------------- measurement ---

def run_check(gridcol, log, logs, mode, option, timeout):
    tmp = tempfile.mkdtemp(prefix="gridcol-check-")
    try:
        with open(os.path.join(tmp, "gridcol.ini"), "w", encoding="ascii") as f:
            f.write("[directories]\nlogs=logs\n")
        os.mkdir(os.path.join(tmp, "logs"))
        for other in logs:
            if other is log and mode == "without":
                continue
            shutil.copyfile(other.path, os.path.join(tmp, "logs", other.name))
        env = dict(os.environ, GRIDCOL_NOW=NOW)
        argv = [gridcol, option, os.path.abspath(log.path), "--json", "--all"]
        try:
            p = subprocess.run(argv, cwd=tmp, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               timeout=timeout)
        except subprocess.TimeoutExpired:
            return {"file": log.name, "mode": mode, "status": None,
                    "error": "timed out after %d s" % timeout}
        res = {"file": log.name, "mode": mode, "status": p.returncode,
               "stderr": p.stderr.decode("utf-8", "replace")[-2000:]}
        if p.returncode not in (0, 1):
            res["error"] = "exit status %d" % p.returncode
            return res
        try:
            res["report"] = json.loads(p.stdout.decode("utf-8"))
        except (UnicodeDecodeError, ValueError) as e:
            res["error"] = "output is not JSON: %s" % e
            return res
        problems = check_shape(res["report"])
        if problems:
            res["shape_problems"] = problems
        return res
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def check_shape(doc):
    """Differences from the documented shape of the --json report."""
    out = []
    if not isinstance(doc, dict) or not isinstance(doc.get("logs"), list):
        return ["top level is not an object with a list 'logs'"]
    if not isinstance(doc.get("summary"), dict):
        out.append("no object 'summary'")
    for lg in doc["logs"]:
        for k in ("file", "call", "locator", "qsos"):
            if k not in lg:
                out.append("log without '%s'" % k)
        for q in lg.get("qsos", []):
            for k in ("date", "time", "call", "locator", "qrb", "verdict", "evidence"):
                if k not in q:
                    out.append("QSO without '%s'" % k)
            if q.get("verdict") not in VERDICTS:
                out.append("unknown verdict %r" % q.get("verdict"))
            if not re.match(r"^\d{4}-\d\d-\d\d$", str(q.get("date", ""))):
                out.append("date not yyyy-MM-dd: %r" % q.get("date"))
            if not re.match(r"^\d\d:\d\d$", str(q.get("time", ""))):
                out.append("time not HH:mm: %r" % q.get("time"))
            if q.get("qrb") is not None and not isinstance(q.get("qrb"), (int, float)):
                out.append("qrb neither a number nor null: %r" % q.get("qrb"))
    return sorted(set(out))


def report_key(q):
    d = str(q.get("date", ""))
    t = str(q.get("time", ""))
    return (d[2:4] + d[5:7] + d[8:10], t.replace(":", ""), str(q.get("call", "")).strip().upper())


def match_run(log, res):
    """Pairs of (truth entry, verdict) for one run, plus what did not match."""
    pending = collections.defaultdict(list)
    for q in log.qsos:
        pending[q.key()].append(q.truth)
    matched, extra = [], []
    report = res.get("report") or {}
    for rl in report.get("logs", []):
        for rq in rl.get("qsos", []):
            k = report_key(rq)
            if pending.get(k):
                matched.append((pending[k].pop(0), rq.get("verdict"), rq))
            else:
                extra.append(rq)
    missing = [t for v in pending.values() for t in v]
    return matched, extra, missing


def measure(gridcol, logs, checked, modes, option, timeout, jobs):
    gridcol = os.path.abspath(gridcol) if os.sep in gridcol else (shutil.which(gridcol) or gridcol)
    tasks = [(lg, m) for lg in checked for m in modes]
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as ex:
        results = list(ex.map(lambda t: run_check(gridcol, t[0], logs, t[1], option, timeout),
                              tasks))
    by_mode = collections.OrderedDict((m, []) for m in modes)
    for (lg, m), res in zip(tasks, results):
        by_mode[m].append((lg, res))
    out = {"gridcol": gridcol, "option": option, "now": NOW, "modes": {}}
    verdicts_by_mode = {}
    for m, runs in by_mode.items():
        table = collections.defaultdict(collections.Counter)
        errors, shape, extra_n, missing_n, status_mismatch = [], [], 0, 0, []
        verdicts = {}
        for lg, res in runs:
            if "error" in res:
                errors.append({"file": lg.name, "error": res["error"],
                               "stderr": res.get("stderr", "")})
                continue
            if res.get("shape_problems"):
                shape.append({"file": lg.name, "problems": res["shape_problems"]})
            matched, extra, missing = match_run(lg, res)
            extra_n += len(extra)
            missing_n += len(missing)
            for t, v, rq in matched:
                table[t["kind"]][v] += 1
                for sub in subkinds(t):
                    table[sub][v] += 1
                verdicts[(t["file"], t["date"], t["time"], t["call"].upper(), t["line"])] = v
            suspect = any(v in FLAGS for _, v, _ in matched)
            if (res["status"] == 1) != suspect:
                status_mismatch.append({"file": lg.name, "status": res["status"],
                                        "flags": suspect})
        verdicts_by_mode[m] = verdicts
        out["modes"][m] = {
            "runs": len(runs), "errors": errors, "shape_problems": shape,
            "report_qsos_not_in_log": extra_n, "log_qsos_not_in_report": missing_n,
            "exit_status_disagrees": status_mismatch,
            "table": {k: dict(table[k]) for k in TRUTH_KINDS + SUBKINDS},
            "rates": rates(table),
        }
    if len(modes) == 2:
        a, b = (verdicts_by_mode[m] for m in modes)
        diff = [{"qso": list(k), modes[0]: a.get(k), modes[1]: b.get(k)}
                for k in sorted(set(a) | set(b)) if a.get(k) != b.get(k)]
        out["differences_between_modes"] = diff
    return out


SUBKINDS = ["OK, /P differs", "OK, not in other log", "UNKNOWN, hint: loc",
            "UNKNOWN, hint: call", "UNKNOWN, no hint"]


def subkinds(t):
    """Rows under the truth kinds that help read the table; not truth."""
    out = []
    if t["kind"] == "OK":
        if "suffix" in t["notes"]:
            out.append(SUBKINDS[0])
        if "NIL" in t["notes"]:
            out.append(SUBKINDS[1])
    elif t["kind"] == "UNKNOWN":
        c = t.get("consensus")
        out.append(SUBKINDS[2] if c and c["kind"] == "LOC" else
                   SUBKINDS[3] if c else SUBKINDS[4])
    return out


def rates(table):
    def n(kind):
        return sum(table[kind].values())
    def pct(x, y):
        return None if y == 0 else round(100.0 * x / y, 2)
    r = {}
    bl, bc = n("BUSTED-LOC"), n("BUSTED-CALL")
    r["busted_locators"] = bl
    for v in ("SUSPECT-LOC", "BAD-LOC", "NEW-LOC"):
        r["busted_locator_recall_" + v] = pct(table["BUSTED-LOC"][v], bl)
    r["busted_locator_recall_flagged"] = pct(
        table["BUSTED-LOC"]["SUSPECT-LOC"] + table["BUSTED-LOC"]["BAD-LOC"], bl)
    r["busted_calls"] = bc
    for v in ("SUSPECT-CALL", "NEW-CALL"):
        r["busted_call_recall_" + v] = pct(table["BUSTED-CALL"][v], bc)
    for kind, name in (("OK", "right"), ("UNKNOWN", "unknown")):
        tot = n(kind)
        r[name + "_qsos"] = tot
        for v in FLAGS:
            r["false_alarms_per_100_%s_%s" % (name, v)] = pct(table[kind][v], tot)
        r["false_alarms_per_100_%s" % name] = pct(sum(table[kind][v] for v in FLAGS), tot)
    return r


def print_measure(m, out=sys.stdout):
    w = out.write
    w("Measurement of %s %s F --json (GRIDCOL_NOW=%s)\n" % (m["gridcol"], m["option"], m["now"]))
    for mode, d in m["modes"].items():
        w("\n== logs/ holds the other logs %s the checked one (%d runs, %d failed)\n" % (
            "and" if mode == "with" else "but not", d["runs"], len(d["errors"])))
        for e in d["errors"]:
            w("  ERROR %s: %s %s\n" % (e["file"], e["error"], e["stderr"].strip()[:300]))
        for s in d["shape_problems"]:
            w("  SHAPE %s: %s\n" % (s["file"], "; ".join(s["problems"][:5])))
        for s in d["exit_status_disagrees"]:
            w("  EXIT %s: status %s but flags=%s\n" % (s["file"], s["status"], s["flags"]))
        w("  report QSOs not found in the log: %d; log QSOs missing from the report: %d\n\n"
          % (d["report_qsos_not_in_log"], d["log_qsos_not_in_report"]))
        rows = [("truth \\ verdict",) + tuple(VERDICTS) + ("total",)]
        for kind in TRUTH_KINDS + SUBKINDS:
            c = d["table"].get(kind, {})
            rows.append((kind if kind in TRUTH_KINDS else "  " + kind,) + tuple(str(c.get(v, 0)) for v in VERDICTS) +
                        (str(sum(c.values())),))
        print_rows(rows, lambda s: w("  " + s))
        r = d["rates"]
        f = lambda x: "n/a" if x is None else "%.1f%%" % x
        w("\n  busted locators (%d): SUSPECT-LOC %s, BAD-LOC %s, NEW-LOC %s; "
          "flagged (SUSPECT-LOC or BAD-LOC) %s\n" % (
              r["busted_locators"], f(r["busted_locator_recall_SUSPECT-LOC"]),
              f(r["busted_locator_recall_BAD-LOC"]), f(r["busted_locator_recall_NEW-LOC"]),
              f(r["busted_locator_recall_flagged"])))
        w("  busted calls (%d): SUSPECT-CALL %s, NEW-CALL %s\n" % (
            r["busted_calls"], f(r["busted_call_recall_SUSPECT-CALL"]),
            f(r["busted_call_recall_NEW-CALL"])))
        for name in ("right", "unknown"):
            g = lambda v: r["false_alarms_per_100_%s_%s" % (name, v)]
            w("  flags per 100 QSOs whose truth is %s (%d): SUSPECT-LOC %s, SUSPECT-CALL %s, "
              "BAD-LOC %s; all %s\n" % (
                  name, r[name + "_qsos"],
                  *("n/a" if g(v) is None else "%.2f" % g(v) for v in FLAGS),
                  "n/a" if r["false_alarms_per_100_" + name] is None
                  else "%.2f" % r["false_alarms_per_100_" + name]))
    if "differences_between_modes" in m:
        diff = m["differences_between_modes"]
        w("\nQSOs whose verdict differs between the two modes: %d\n" % len(diff))
        for dd in diff[:40]:
            w("  %s  %s\n" % (" ".join(str(x) for x in dd["qso"][:4]),
                              " / ".join("%s=%s" % (k, v) for k, v in dd.items() if k != "qso")))


# ------------------------------------------------------------- self-test ---

SELFTEST_HEADER = "[REG1TEST;1]\r\nTDate=20160507;20160508\r\nPCall=%s\r\nPWWLo=%s\r\n" \
                  "PBand=%s\r\n[QSORecords;%d]\r\n"


def selftest():
    """Made-up logs for the rules the real logs never reach (busted calls,
    4-character locators, the window); exits non-zero on a failure."""
    logs = {
        "a.edi": ("AA1AA", "KN16NH", "144 MHz", [
            "160507;1400;BB2BB;1;59;001;59;001;;KN17AB;1;;;;",   # busted call (real: BB2BC)
            "160507;1410;CC3CC/P;1;59;002;59;001;;KN18;1;;;;",   # /P, 4-char, confirmed
            "160507;1420;DD4DD;1;59;003;59;001;;KN19XX;1;;;;",   # busted locator, NIL (late)
            "160507;1430;EE5EE;1;59;004;59;001;;KN20AA;1;;;;",   # unknown
            "160507;1440;BB2BC;1;59;005;59;001;;KN17AB;1;;;;",   # right, confirmed
            "160507;1450;OO6OO;1;59;006;59;001;;KN21AA;1;;;;",   # O/0 busted call
        ]),
        "b.edi": ("BB2BC", "KN17AB", "145", [
            "160507;1402;AA1AA;1;59;001;59;001;;KN16NH;1;;;;",
            "160507;1441;AA1AA;1;59;002;59;005;;KN16NH;1;;;;",
        ]),
        "c.edi": ("CC3CC", "KN18CD", "144", [
            "160507;1411;aa1aa;1;59;001;59;002;;kn16nh;1;;;;",
        ]),
        "d.edi": ("DD4DD", "KN19EF", "144 MHz", [
            "160507;1440;AA1AA;1;59;001;59;003;;KN16NH;1;;;;",  # 20 min: outside the window
        ]),
        "o.edi": ("0O6OO", "KN21AB", "144 MHz", [
            "160507;1449;AA1AA;1;59;001;59;006;;KN16NH;1;;;;",
        ]),
    }
    tmp = tempfile.mkdtemp(prefix="truth-selftest-")
    try:
        for name, (call, loc, band, lines) in logs.items():
            with open(os.path.join(tmp, name), "w", encoding="ascii", newline="") as f:
                f.write(SELFTEST_HEADER % (call, loc, band, len(lines)))
                f.write("".join(l + "\r\n" for l in lines))
        doc = truth_document(build_truth(tmp, DEFAULT_WINDOW, False), DEFAULT_WINDOW, False)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    got = {(t["file"], t["time"]): t for t in doc["qsos"]}
    expect = [
        (("a.edi", "1400"), "BUSTED-CALL", "BB2BC", []),
        (("a.edi", "1410"), "OK", "CC3CC", ["suffix", "4-char"]),
        (("a.edi", "1420"), "BUSTED-LOC", "DD4DD", ["NIL"]),
        (("a.edi", "1430"), "UNKNOWN", None, []),
        (("a.edi", "1440"), "OK", "BB2BC", []),
        (("a.edi", "1450"), "BUSTED-CALL", "0O6OO", ["locator differs too"]),
        (("c.edi", "1411"), "OK", "AA1AA", []),
        (("d.edi", "1440"), "OK", "AA1AA", ["NIL"]),
    ]
    bad = 0
    for key, kind, call, notes in expect:
        t = got[key]
        ok = t["kind"] == kind and t["true_call"] == call and t["notes"] == notes
        bad += not ok
        print("%s %s %s: %s %s %s" % ("ok  " if ok else "FAIL", key[0], key[1], t["kind"],
                                      t["true_call"], t["notes"]))
    for x, y, want in (("YO5ABC", "YO5ABD", True), ("YO5ABC", "YO5BAC", True),
                       ("YO5ABC", "YO5AC", True), ("YOCUQ/P", "YO5CUQ/P", True),
                       ("LZ3BD", "LZ3BD/2", True), ("YO5QBS", "YO5QBS/P", False),
                       ("YO5ABC", "YO5XYZ", False), ("S50G", "S5OG", True)):
        ok = bool(one_step(x, y)) == want
        bad += not ok
        print("%s one_step(%s, %s) = %s" % ("ok  " if ok else "FAIL", x, y, one_step(x, y)))
    print("%d passed, %d failed" % (len(expect) + 8 - bad, bad))
    return 1 if bad else 0


# ------------------------------------------------------------------ main ---

def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--edi", default=DEFAULT_EDI_DIR, help="folder of the EDI logs")
    ap.add_argument("--json", action="store_true", help="print JSON instead of tables")
    ap.add_argument("--window", type=float, default=DEFAULT_WINDOW,
                    help="minutes two logs of one contact may differ (default %(default)s)")
    ap.add_argument("--same-band-only", action="store_true",
                    help="a header locator is the truth on its own band only")
    ap.add_argument("--strict-tdate", action="store_true",
                    help="one contest per TDate text, no merging of overlapping dates")
    ap.add_argument("--pairs", action="store_true",
                    help="print the time differences of cross-matching QSOs")
    ap.add_argument("--measure", metavar="GRIDCOL", help="measure GRIDCOL --check")
    ap.add_argument("--selftest", action="store_true",
                    help="check the rules on made-up logs")
    ap.add_argument("--modes", default="without,with",
                    help="'without' (logs/ lacks the checked log), 'with', or both")
    ap.add_argument("--check-option", default="--check",
                    help="how the check is asked for (default %(default)s)")
    ap.add_argument("--timeout", type=int, default=300, help="seconds per run")
    ap.add_argument("--jobs", type=int, default=2, help="runs at once")
    ap.add_argument("--only", metavar="NAME,...",
                    help="measure only the logs whose file names contain one of these")
    args = ap.parse_args(argv)

    if args.selftest:
        return selftest()
    logs = build_truth(args.edi, args.window, args.same_band_only, args.strict_tdate)
    if args.pairs:
        print_pairs(logs)
        return 0
    doc = truth_document(logs, args.window, args.same_band_only)
    if args.measure:
        modes = [m.strip() for m in args.modes.split(",") if m.strip()]
        if not modes or any(m not in ("without", "with") for m in modes):
            ap.error("--modes takes 'without', 'with' or both")
        checked = logs
        if args.only:
            parts = [p for p in args.only.split(",") if p]
            checked = [lg for lg in logs if any(p in lg.name for p in parts)]
        m = measure(args.measure, logs, checked, modes, args.check_option, args.timeout,
                    args.jobs)
        if args.json:
            json.dump({"truth_counts": doc["counts"], "measurement": m}, sys.stdout, indent=1)
            sys.stdout.write("\n")
        else:
            print_measure(m)
        return 0
    if args.json:
        json.dump(doc, sys.stdout, indent=1, default=str)
        sys.stdout.write("\n")
    else:
        print_truth(doc)
    return 0


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    sys.exit(main())
