#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a Qt 5 and a Qt 6 build of gridcol on the working-directory cases of
tests/cases/ and on damaged copies of them, and compares every byte the two
write: standard output, standard error, the exit status and every file of the
working directory after the run. tools/compare-qt.sh builds the two binaries
and calls this; see its head for the options.

Each case is run as it is (variant 0) and as COUNT damaged copies. A copy's
damage is drawn from a random generator seeded by the run's seed, the case's
name and the copy's number, so a variant seed printed in a report makes the
same copy again (--replay CASE:SEED)."""

import argparse
import concurrent.futures
import difflib
import hashlib
import os
import platform
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Files of a case folder that are not part of its working directory.
CASE_FILES = {
    "now", "from", "runs", "file-size-limit", "only-on", "README.md", "expected",
    "expected-linux", "expected-winnt", "args", "status",
}

# Bytes that readers and the settings parser treat specially, and bytes beyond
# ASCII: well-formed UTF-8, cut or overlong sequences, surrogates, Latin-1.
COMMON_TOKENS = [
    b"\r", b"\n", b"\r\n", b"\n\r", b"\t", b" ", b"\x00", b"\x0b", b"\x0c", b"\x1a",
    b"%", b'"', b"'", b"\\", b"+", b",", b";", b":", b"<", b">", b"/", b"-", b".", b"0", b"9",
    b"\x80", b"\xbf", b"\xff", b"\xfe", b"\xe4", b"\xa7", b"\xb0", b"\xdf",
    b"\xc3\xa9", b"\xc3\x84", b"\xe2\x82\xac", b"\xf0\x9f\x98\x80", b"\xef\xbb\xbf",
    b"\xc3", b"\xe2\x82", b"\xf0\x9f\x98", b"\xc0\xaf", b"\xe0\x80\xaf", b"\xed\xa0\x80",
    b"\xed\xbf\xbf", b"\xf4\x90\x80\x80", b"\xf8\x88\x80\x80\x80",
    b"JO62QM", b"jo62qm", b"JO62", b"RR99XX", b"AA00AA", b"DL1ABC", b"DL1ABC/P", b"OK1KPA/M",
    b"20260514", b"20260230", b"00000000", b"99991231", b"19800101", b"14.05.2026",
    b"29.02.2024", b"31.04.2026", b"260514", b"-4714", b"144.300", b"<EOR>", b"<eoh>",
    b"<CALL:6>", b"<GRIDSQUARE:4>", b"<QSO_DATE:8>", b"[QSORecords;", b"TDate=",
]

INI_TOKENS = [
    b"=", b"[", b"]", b"[]", b"[x]", b"\n[", b"]\n", b"%", b"%E4", b"%C3%A4", b"%U00E4", b"%25",
    b"%2F", b"%5C", b"\\x41", b"\\xe4", b"\\u00e4", b"\\\"", b"\\\\", b"\\\n", b"\\\r\n", b"\\0",
    b"\\t", b"\\n", b"\\r", b'""', b'","', b'";"', b"#", b";", b",", b", ", b"@ByteArray(",
    b"@Variant(", b"@Invalid()", b"@Size(1 2)", b"\xc3\xa9", b"\xe4", b"\xc3", b"/", b"*", b"?",
]

# Put beside or in place of a digit: signs, spaces and digits beyond ASCII,
# cut UTF-8, a zero byte; escapes in gridcol.ini.
DIGIT_TOKENS = [
    b"+", b"-", b" ", b"\t", b"\x00", b"\xc2\xa0", b"\xe2\x80\x83", b"\xc3", b"\xe4", b"\xd9\xa3",
    b"\xef\xbc\x93", b"\xc2\xb9", b".", b",", b"e", b"x", b"0", b"T1", b":",
]
INI_DIGIT_TOKENS = [b"\\0", b"\\t", b"\\x41", b"\\x33", b"\\63", b"\\ ", b'"']

INI_KEYS = [
    b"delimiter", b"call", b"locator", b"date", b"dateFormat", b"headerLines", b"wichtung",
    b"originDate", b"Delimiter", b"CALL", b"dir", b"a\\b", b"a/b", b"k%E4", b"k\xc3\xa4y", b"k\xe4",
    b"\"quoted\"", b"key with space", b"\x0bkey", b"key\x0c", b"",
]

INI_VALUES = [
    b"", b"0", b"1", b"2", b"4", b"-1", b"+2", b" 3 ", b"3 ", b"07", b"0x10", b"1e3", b"2.5", b"2,5",
    b"7\\0", b"7\xc2\xa0", b"\xc2\xa07", b"7\xe2\x80\x83", b"7\xc3", b"+1", b"7\\t", b"\\x37",
    b"99999999999", b"-99999999999", b"2147483648", b"\xd9\xa3", b"\xef\xbc\x93", b"\xc2\xb9",
    b"space", b"tab", b"SPACE", b'" "', b'";"', b'","', b"\"\t\"", b"|", b"\\t", b"\"", b"\"\"\"",
    b"ab", b"\xc3\xa4", b"\xe4", b"\"\xc3\xa4\"", b"%E4",
    b"yyyyMMdd", b"dd.MM.yyyy", b"d.M.yy", b"yyMMdd", b"dd.MM.yy", b"yyyy-MM-dd", b"ddd MMM yyyy",
    b"dddd, d. MMMM yyyy", b"yyyyMMddhhmm", b"yyyy-MM-ddTHH:mm:ss", b"'date' yyyyMMdd", b"yyyy\xc3\xa4MMdd",
    b"MM/dd/yyyy", b"yyyyy", b"d", b"M", b"yy", b"\"dd,MM,yyyy\"", b"dd MM yyyy", b"z",
    b"2026-05-01", b"2026-13-45", b"01.05.2026", b"20260501", b"2026-05-01T10:00", b"1900-01-01",
    b"-4714-11-24", b"9999-12-31", b"now", b"sources", b"sources/archive", b".", b"..", b"/", b"./",
    b"src\\sub", b"C:\\gridcol\\src", b"\xc3\xa4rchiv", b"s\xe4", b"@ByteArray(sources)",
    b"@Variant(\\0\\0\\0\\n\\0\\0\\0\\0)", b"a, b", b"\"a, b\"", b"a;b", b"\"a;b\"",
]

INI_GROUPS = [
    b"directories", b"Directories", b"DIRECTORIES", b"*.csv", b"*.CSV", b"*.txt", b"*.exp", b"*.adi",
    b"*.edi", b"*", b"*.*", b"?", b"[", b"*.c\xc3\xa4v", b"*.c\xe4v", b"*.c%E4v", b"a/b", b"a\\b",
    b"*.csv;x", b"\"*.csv\"", b"General", b"%General", b"", b" *.csv ", b"calls_loc.dat", b"kstlist",
    b"vhf.dtb", b"*.blacklist", b"*[0-9].csv", b"[ab].txt",
]


def read_text(path, default=""):
    try:
        with open(path, "rb") as handle:
            return handle.read().decode("utf-8", "replace").strip()
    except OSError:
        return default


def lines_of(path):
    return [line for line in read_text(path).split("\n") if line.strip()]


class Case:
    def __init__(self, top, name):
        self.name = name
        self.folder = os.path.join(top, "tests", "cases", name)
        self.now = read_text(os.path.join(self.folder, "now"))
        self.args = lines_of(os.path.join(self.folder, "args"))
        self.runs = max(1, int(read_text(os.path.join(self.folder, "runs"), "1") or "1"))
        limit = read_text(os.path.join(self.folder, "file-size-limit"))
        self.file_size_limit = int(limit) if limit else None  # blocks of 512 bytes
        self.only_on = read_text(os.path.join(self.folder, "only-on"))
        self.top = top

    def lay_out(self, target):
        """The working directory of the case, as the case test lays it out."""
        os.makedirs(target, exist_ok=True)
        for path in lines_of(os.path.join(self.folder, "from")):
            source = os.path.join(self.top, path.strip())
            if os.path.isdir(source):
                shutil.copytree(source, target, dirs_exist_ok=True)
            else:
                shutil.copy(source, os.path.join(target, os.path.basename(source)))
        for entry in sorted(os.listdir(self.folder)):
            if entry in CASE_FILES:
                continue
            source = os.path.join(self.folder, entry)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(target, entry), dirs_exist_ok=True)
            else:
                shutil.copy(source, os.path.join(target, entry))


def files_below(folder):
    """Every regular file below the folder, as paths relative to it, sorted."""
    found = []
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            if os.path.isfile(path) and not os.path.islink(path):
                found.append(os.path.relpath(path, folder))
    return found


def short_bytes(data, limit=24):
    text = repr(bytes(data[:limit]))[1:]
    return text + ("..." if len(data) > limit else "")


class Damage:
    """Draws and applies the damage of one variant to a laid-out directory."""

    def __init__(self, rng, folder):
        self.rng = rng
        self.folder = folder
        self.notes = []

    def pick_file(self):
        files = [path for path in files_below(self.folder) if path != "gridcol.ini"]
        has_ini = os.path.isfile(os.path.join(self.folder, "gridcol.ini"))
        if has_ini and (not files or self.rng.random() < 0.35):
            return "gridcol.ini"
        return self.rng.choice(files) if files else None

    def token(self, ini):
        if ini and self.rng.random() < 0.5:
            return self.rng.choice(INI_TOKENS)
        if self.rng.random() < 0.15:
            return bytes(self.rng.randrange(256) for _ in range(self.rng.randint(1, 4)))
        return self.rng.choice(COMMON_TOKENS)

    def apply(self):
        for _ in range(self.rng.choice([1, 1, 1, 2, 2, 3, 4])):
            path = self.pick_file()
            if path is None:
                return
            full = os.path.join(self.folder, path)
            with open(full, "rb") as handle:
                data = bytearray(handle.read())
            ini = path == "gridcol.ini"
            operations = ["flip", "remove", "duplicate", "insert", "insert", "truncate", "swap-lines", "digit"]
            operations += ["ini-line", "ini-value", "ini-line"] if ini else ["halves"]
            operation = self.rng.choice(operations)
            note = getattr(self, "op_" + operation.replace("-", "_"))(data, full, path)
            with open(full, "wb") as handle:
                handle.write(data)
            self.notes.append("%s: %s" % (path, note))

    def position(self, data):
        return self.rng.randint(0, len(data))

    def op_flip(self, data, _full, _path):
        if not data:
            data.extend(self.token(False))
            return "empty, filled with %s" % short_bytes(data)
        at = self.rng.randrange(len(data))
        old = data[at]
        if self.rng.random() < 0.5:
            data[at] = old ^ (1 << self.rng.randrange(8))
        else:
            data[at] = self.rng.choice([0x80, 0xA0, 0xC3, 0xE4, 0xFF, 0x0D, 0x0A, 0x25, 0x22, 0x5C,
                                        0x3D, 0x5B, 0x5D, 0x3B, 0x2C, 0x20, 0x09, 0x00, 0x2F])
        return "byte %d 0x%02X -> 0x%02X" % (at, old, data[at])

    def op_remove(self, data, _full, _path):
        at = self.position(data)
        length = self.rng.choice([1, 1, 2, 3, 5, 8, 16, 64])
        removed = bytes(data[at:at + length])
        del data[at:at + length]
        return "removed %d bytes at %d (%s)" % (len(removed), at, short_bytes(removed))

    def op_duplicate(self, data, _full, _path):
        at = self.position(data)
        length = self.rng.choice([1, 2, 4, 16, 64, 256])
        piece = bytes(data[at:at + length])
        data[at:at] = piece
        return "duplicated %d bytes at %d (%s)" % (len(piece), at, short_bytes(piece))

    def op_insert(self, data, _full, path):
        at = self.position(data)
        piece = self.token(path == "gridcol.ini")
        data[at:at] = piece
        return "inserted %s at %d" % (short_bytes(piece), at)

    def op_digit(self, data, _full, path):
        digits = [i for i, byte in enumerate(data) if 0x30 <= byte <= 0x39]
        if not digits:
            return self.op_insert(data, _full, path)
        at = self.rng.choice(digits)
        tokens = DIGIT_TOKENS + (INI_DIGIT_TOKENS if path == "gridcol.ini" else [])
        piece = self.rng.choice(tokens)
        how = self.rng.choice(["before", "after", "instead of"])
        old = bytes(data[at:at + 1])
        if how == "before":
            data[at:at] = piece
        elif how == "after":
            data[at + 1:at + 1] = piece
        else:
            data[at:at + 1] = piece
        return "%s %s digit %s at %d" % (short_bytes(piece), how, old.decode(), at)

    def op_truncate(self, data, _full, _path):
        at = self.position(data)
        old = len(data)
        del data[at:]
        return "truncated to %d of %d bytes" % (at, old)

    def op_swap_lines(self, data, _full, _path):
        lines = bytes(data).splitlines(keepends=True)
        if len(lines) < 2:
            return "swap-lines: fewer than two lines"
        first, second = sorted(self.rng.sample(range(len(lines)), 2))
        lines[first], lines[second] = lines[second], lines[first]
        data[:] = b"".join(lines)
        return "swapped lines %d and %d" % (first + 1, second + 1)

    def op_halves(self, data, full, path):
        middle = len(data) // 2
        if self.rng.random() < 0.5:
            newline = data.find(b"\n", middle)
            middle = newline + 1 if newline >= 0 else middle
        stem, extension = os.path.splitext(full)
        second = stem + "-2" + extension
        with open(second, "wb") as handle:
            handle.write(data[middle:])
        del data[middle:]
        return "cut into halves at %d, second half %s" % (middle, os.path.relpath(second, self.folder))

    def ini_line(self):
        if self.rng.random() < 0.3:
            return b"[" + self.rng.choice(INI_GROUPS) + b"]"
        return self.rng.choice(INI_KEYS) + b"=" + self.rng.choice(INI_VALUES)

    def op_ini_line(self, data, _full, _path):
        lines = bytes(data).splitlines(keepends=True)
        at = self.rng.randint(0, len(lines))
        line = self.ini_line()
        if at > 0 and not lines[at - 1].endswith((b"\n", b"\r")):
            lines[at - 1] += b"\n"
        lines.insert(at, line + b"\n")
        data[:] = b"".join(lines)
        return "line %d inserted: %s" % (at + 1, short_bytes(line, 48))

    def op_ini_value(self, data, _full, _path):
        lines = bytes(data).splitlines(keepends=True)
        keyed = [i for i, line in enumerate(lines) if b"=" in line and not line.lstrip().startswith(b";")]
        if not keyed:
            return self.op_ini_line(data, _full, _path)
        at = self.rng.choice(keyed)
        line = lines[at]
        end = len(line.rstrip(b"\r\n"))
        value = self.rng.choice(INI_VALUES)
        lines[at] = line[:line.index(b"=") + 1] + value + line[end:]
        data[:] = b"".join(lines)
        return "value of line %d now %s" % (at + 1, short_bytes(value, 48))


def variant_seed(seed, case, number):
    digest = hashlib.sha256(("%s:%s:%d" % (seed, case, number)).encode()).hexdigest()
    return int(digest[:12], 16)


def make_variant(case, seed, folder):
    """Lays the case out in folder and damages it; seed 0 is the case as it is."""
    case.lay_out(folder)
    if seed == 0:
        return "the case as it is"
    damage = Damage(random.Random(seed), folder)
    damage.apply()
    return "; ".join(damage.notes) or "nothing to damage"


def snapshot(folder):
    """Every entry below the folder: its kind, permissions and content."""
    result = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            status = os.lstat(path)
            mode = oct(status.st_mode & 0o7777)
            if os.path.islink(path):
                result[relative] = ("link " + mode, os.readlink(path).encode())
            elif os.path.isdir(path):
                result[relative] = ("folder " + mode, b"")
            else:
                with open(path, "rb") as handle:
                    result[relative] = ("file " + mode, handle.read())
    return result


def run_binary(binary, case, work, timeout):
    """Runs gridcol the case's number of times in work; what each run printed."""
    environment = {
        "PATH": "/usr/local/bin:/usr/bin:/bin",
        "HOME": os.path.dirname(work),
        "TMPDIR": os.path.dirname(work),
        "LC_ALL": "C.UTF-8",
        "LANG": "C.UTF-8",
        "TZ": "CET-1CEST,M3.5.0,M10.5.0/3",
        "GRIDCOL_NOW": case.now,
    }
    command = [binary] + case.args
    if case.file_size_limit is not None:
        command = ["/bin/sh", "-c", 'ulimit -f %d; exec "$0" "$@"' % case.file_size_limit] + command
    results = []
    for _ in range(case.runs):
        process = subprocess.Popen(command, cwd=work, env=environment, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
        started = time.monotonic()
        try:
            out, err = process.communicate(timeout=timeout)
            status = "exit %d" % process.returncode if process.returncode >= 0 \
                else "signal %s" % signal.Signals(-process.returncode).name
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            out, err = process.communicate()
            status = "timeout after %d s" % timeout
        results.append({"stdout": out, "stderr": err, "status": status.encode() + b"\n",
                        "seconds": time.monotonic() - started})
    return results


def run_pair(job):
    """Lays out one variant, runs both binaries on a fresh copy each, one after
    the other at the same path, and tells what differs."""
    case, seed, binaries, scratch, timeout = job
    base = tempfile.mkdtemp(prefix="v", dir=scratch)
    source = os.path.join(base, "variant")
    what = make_variant(case, seed, source)
    outcome = {"case": case.name, "seed": seed, "what": what, "base": base, "runs": {}}
    for label, binary in binaries:
        # The run's own folder holds only the working directory, so that a
        # damaged path reaching up sees the same in both runs.
        runner = os.path.join(base, "run", "work")
        shutil.copytree(source, runner, symlinks=True)
        printed = run_binary(binary, case, runner, timeout)
        kept = os.path.join(base, label)
        os.rename(runner, kept)
        os.rmdir(os.path.dirname(runner))
        outcome["runs"][label] = {"printed": printed, "files": snapshot(kept), "folder": kept}
    outcome["differences"] = compare(outcome["runs"]["qt5"], outcome["runs"]["qt6"])
    outcome["timeouts"] = [label for label in outcome["runs"]
                           if any(p["status"].startswith(b"timeout") for p in outcome["runs"][label]["printed"])]
    outcome["seconds"] = sum(p["seconds"] for r in outcome["runs"].values() for p in r["printed"])
    for run in outcome["runs"].values():
        del run["files"]
    return outcome


def as_lines(data, name):
    if name.endswith(".dtb") or b"\x00" in data:
        return ["%08x  %s\n" % (i, data[i:i + 16].hex(" ")) for i in range(0, len(data), 16)]
    lines = data.decode("utf-8", "backslashreplace").replace("\r", "\\r").split("\n")
    last = lines.pop()
    return [line + "\n" for line in lines] + ([last + " (no line end)\n"] if last else [])


def short_diff(first, second, name, limit=14):
    lines = list(difflib.unified_diff(as_lines(first, name), as_lines(second, name),
                                      "qt5/" + name, "qt6/" + name, n=1))
    if len(lines) > limit:
        lines = lines[:limit] + ["... (%d more diff lines)\n" % (len(lines) - limit)]
    return "".join(lines)


def compare(first, second):
    differences = []
    runs = len(first["printed"])
    for number in range(runs):
        prefix = "run %d " % (number + 1) if runs > 1 else ""
        for stream in ("status", "stdout", "stderr"):
            a = first["printed"][number][stream]
            b = second["printed"][number][stream]
            if a != b:
                differences.append((prefix + stream, short_diff(a, b, prefix + stream)))
    names = sorted(set(first["files"]) | set(second["files"]))
    for name in names:
        a = first["files"].get(name)
        b = second["files"].get(name)
        if a == b:
            continue
        if a is None or b is None:
            differences.append((name, "only after the %s run (%s)\n" % ("Qt 5" if b is None else "Qt 6",
                                                                       (a or b)[0])))
        elif a[0] != b[0]:
            differences.append((name, "qt5: %s, qt6: %s\n" % (a[0], b[0])))
        else:
            differences.append((name, short_diff(a[1], b[1], name)))
    return differences


def keep_difference(outcome, target):
    folder = os.path.join(target, "%s-%d" % (outcome["case"], outcome["seed"]))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copytree(os.path.join(outcome["base"], "variant"), os.path.join(folder, "input"), symlinks=True)
    for label, run in outcome["runs"].items():
        shutil.copytree(run["folder"], os.path.join(folder, label, "work"), symlinks=True)
        for number, printed in enumerate(run["printed"]):
            suffix = "" if len(run["printed"]) == 1 else ".%d" % (number + 1)
            for stream in ("stdout", "stderr", "status"):
                with open(os.path.join(folder, label, stream + suffix), "wb") as handle:
                    handle.write(printed[stream])
    with open(os.path.join(folder, "damage.txt"), "w") as handle:
        handle.write("case %s, variant seed %d\n%s\n\n" % (outcome["case"], outcome["seed"], outcome["what"]))
        for name, diff in outcome["differences"]:
            handle.write("== %s\n%s" % (name, diff))
    return folder


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--qt5", required=True, help="the gridcol binary built with Qt 5")
    parser.add_argument("--qt6", required=True, help="the gridcol binary built with Qt 6")
    parser.add_argument("--top", required=True, help="the top folder of the repository")
    parser.add_argument("--count", type=int, default=20, help="damaged variants per case [20]")
    parser.add_argument("--seed", type=int, default=1, help="the seed of the whole run [1]")
    parser.add_argument("--timeout", type=int, default=60, help="seconds a run may take [60]")
    parser.add_argument("--keep", type=int, default=10, help="differing variants kept [10]")
    parser.add_argument("--keep-folder", required=True, help="where differing variants are kept")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="variants run at once")
    parser.add_argument("--replay", action="append", default=[], metavar="CASE:SEED",
                        help="run only this variant (repeatable)")
    parser.add_argument("cases", nargs="*", help="the cases to run [all]")
    options = parser.parse_args()

    system = platform.system().lower()
    names = options.cases or sorted(entry for entry in os.listdir(os.path.join(options.top, "tests", "cases"))
                                    if os.path.isdir(os.path.join(options.top, "tests", "cases", entry)))
    jobs_to_run = []
    skipped = []
    binaries = [("qt5", os.path.abspath(options.qt5)), ("qt6", os.path.abspath(options.qt6))]
    scratch = tempfile.mkdtemp(prefix="gridcol-compare-")
    cases = {}
    for name in names:
        if not os.path.isdir(os.path.join(options.top, "tests", "cases", name)):
            sys.exit("no case %s" % name)
        case = Case(options.top, name)
        if case.only_on and case.only_on != system:
            skipped.append(name)
            continue
        cases[name] = case
    if options.replay:
        for item in options.replay:
            name, _, seed = item.rpartition(":")
            if name not in cases:
                sys.exit("no case %s here" % name)
            jobs_to_run.append((cases[name], int(seed), binaries, scratch, options.timeout))
    else:
        for name, case in cases.items():
            for number in range(options.count + 1):
                seed = 0 if number == 0 else variant_seed(options.seed, name, number)
                jobs_to_run.append((case, seed, binaries, scratch, options.timeout))

    print("Comparing %s with %s: %d cases, %d variants (%s)%s" % (
        options.qt5, options.qt6, len(cases), len(jobs_to_run),
        "replayed" if options.replay else "each case as it is and %d damaged copies, seed %d" % (
            options.count, options.seed),
        ", skipped for another system: " + " ".join(skipped) if skipped else ""), flush=True)
    runs = 0
    differing = []
    timeouts = []
    kept = []
    started = time.monotonic()
    shutil.rmtree(options.keep_folder, ignore_errors=True)
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
            for done, outcome in enumerate(pool.map(run_pair, jobs_to_run), 1):
                runs += 2 * cases[outcome["case"]].runs
                if outcome["timeouts"]:
                    timeouts.append(outcome)
                if outcome["differences"]:
                    differing.append(outcome)
                    if len(kept) < options.keep:
                        kept.append(keep_difference(outcome, options.keep_folder))
                    print("DIFFERENCE in %s, variant seed %d (%s): %s" % (
                        outcome["case"], outcome["seed"], outcome["what"],
                        ", ".join(name for name, _ in outcome["differences"])), flush=True)
                shutil.rmtree(outcome["base"], ignore_errors=True)
                if done % 100 == 0:
                    print("  %d of %d variants, %d differing, %.0f s" % (
                        done, len(jobs_to_run), len(differing), time.monotonic() - started), flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    print()
    for outcome in differing:
        print("=== %s, variant seed %d" % (outcome["case"], outcome["seed"]))
        print("damage: %s" % outcome["what"])
        for name, diff in outcome["differences"]:
            print("--- %s" % name)
            print(diff, end="")
        print()
    for outcome in timeouts:
        print("TIMEOUT in %s, variant seed %d (%s): %s" % (
            outcome["case"], outcome["seed"], outcome["what"], " and ".join(outcome["timeouts"])))
    if kept:
        print("Kept for inspection (input/, qt5/, qt6/, damage.txt):")
        for folder in kept:
            print("  " + folder)
    print("%d runs of gridcol (%d variants, each by Qt 5 and Qt 6) in %.0f s: %d differences, %d timeouts" % (
        runs, len(jobs_to_run), time.monotonic() - started, len(differing), len(timeouts)))
    if differing:
        signatures = {}
        for outcome in differing:
            key = ", ".join(name for name, _ in outcome["differences"])
            signatures[key] = signatures.get(key, 0) + 1
        for key, count in sorted(signatures.items(), key=lambda item: -item[1]):
            print("  %4d x %s" % (count, key))
    print("Replay one variant with: sh tools/compare-qt.sh --replay CASE:SEED")
    return 1 if differing or timeouts else 0


if __name__ == "__main__":
    sys.exit(main())
