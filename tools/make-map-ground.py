#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Build, check and preview the ground of gridcol's HTML map.

The ground is a text file of polylines (coastlines and country borders)
made from the Natural Earth shapefiles that PLplot ships in the Debian
package libplplot-data (cglobe.shp: coastlines and borders, globe.shp:
coastlines only; both ESRI shapefiles of PolyLine records).

Data file format (one record a line, '#' starts a comment line):

    KIND X0,Y0 DX1,DY1 DX2,DY2 ...

KIND is 'C' (coastline, lake shore) or 'B' (country border).  All numbers
are integers in hundredths of a degree: X is longitude (-18000..18000),
Y latitude (-9000..9000).  The first pair is absolute, each following pair
is the difference to the previous point.  Pairs are separated by one
space, the two numbers of a pair by a comma.  A line has at least two
points and no two consecutive points are equal.  No segment crosses the
antimeridian (|DX| <= 18000).

gridcol builds writers/mapground.txt into the program; this script is needed
only to make that file anew. Get the shapefiles, on Debian (no root needed):

    cd tools
    apt-get download libplplot-data && dpkg -x libplplot-data_*.deb pkg

which unpacks them into tools/pkg/usr/share/plplot5.15.0/ (the default of
--src), then run

    python3 tools/make-map-ground.py            (writes writers/mapground.txt)

Usage:
    make-map-ground.py [--src DIR] [--out mapground.txt] [--simplify DEG]
    make-map-ground.py --check mapground.txt
    make-map-ground.py --svg OUT.svg --bbox LON1,LAT1,LON2,LAT2
                       [--data mapground.txt] [--width PX] [--grid]
                       [--html OUT.html]
"""

import argparse
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SRC = os.path.join(HERE, "pkg", "usr", "share", "plplot5.15.0")
DEFAULT_DATA = os.path.join(HERE, "..", "writers", "mapground.txt")

SHP_FILE_CODE = 9994
# XY layout of the record content is the same for the plain, M and Z
# variants of PolyLine and Polygon; the extra M/Z arrays follow the points.
LINE_TYPES = {3: "PolyLine", 5: "Polygon", 13: "PolyLineZ", 15: "PolygonZ",
              23: "PolyLineM", 25: "PolygonM"}


# ---------------------------------------------------------------------------
# Shapefile reading
# ---------------------------------------------------------------------------

def read_shp(path):
    """Return the parts of all PolyLine/Polygon records of an .shp file,
    each part as a list of (lon, lat) floats, in file order."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 100:
        raise ValueError("%s: shorter than the 100-byte header" % path)
    # Main header: bytes 0-27 big-endian, 28-99 little-endian.
    file_code, = struct.unpack_from(">i", data, 0)
    file_words, = struct.unpack_from(">i", data, 24)
    version, shape_type = struct.unpack_from("<ii", data, 28)
    if file_code != SHP_FILE_CODE:
        raise ValueError("%s: file code %d, not a shapefile" % (path, file_code))
    if file_words * 2 != len(data):
        raise ValueError("%s: header says %d bytes, file has %d"
                         % (path, file_words * 2, len(data)))
    if version != 1000:
        raise ValueError("%s: version %d" % (path, version))
    if shape_type not in LINE_TYPES and shape_type != 0:
        raise ValueError("%s: shape type %d is not a line type"
                         % (path, shape_type))

    parts_out = []
    off = 100
    expect_num = 1
    while off < len(data):
        # Record header, big-endian: record number, content length in words.
        num, words = struct.unpack_from(">ii", data, off)
        if num != expect_num:
            raise ValueError("%s: record %d at byte %d, expected %d"
                             % (path, num, off, expect_num))
        content = off + 8
        end = content + words * 2
        if end > len(data):
            raise ValueError("%s: record %d runs past the end" % (path, num))
        rtype, = struct.unpack_from("<i", data, content)
        if rtype == 0:
            pass  # null shape
        elif rtype in LINE_TYPES:
            # shape type, bbox (4 doubles), numParts, numPoints
            nparts, npoints = struct.unpack_from("<ii", data, content + 36)
            parts = struct.unpack_from("<%di" % nparts, data, content + 44)
            pts_off = content + 44 + 4 * nparts
            if pts_off + 16 * npoints > end:
                raise ValueError("%s: record %d: points run past the record"
                                 % (path, num))
            flat = struct.unpack_from("<%dd" % (2 * npoints), data, pts_off)
            pts = list(zip(flat[0::2], flat[1::2]))
            bounds = list(parts) + [npoints]
            for i in range(nparts):
                if not 0 <= bounds[i] <= bounds[i + 1] <= npoints:
                    raise ValueError("%s: record %d: bad part index"
                                     % (path, num))
                parts_out.append(pts[bounds[i]:bounds[i + 1]])
        else:
            raise ValueError("%s: record %d has shape type %d"
                             % (path, num, rtype))
        off = end
        expect_num += 1

    # Cross-check the record count with the index file if there is one.
    shx = os.path.splitext(path)[0] + ".shx"
    if os.path.exists(shx):
        nrec = (os.path.getsize(shx) - 100) // 8
        if nrec != expect_num - 1:
            raise ValueError("%s: %d records, index says %d"
                             % (path, expect_num - 1, nrec))
    return parts_out


# ---------------------------------------------------------------------------
# Geometry helpers on integer hundredths of a degree
# ---------------------------------------------------------------------------

def to_hundredths(part):
    return [(int(math.floor(x * 100 + 0.5)), int(math.floor(y * 100 + 0.5)))
            for x, y in part]


def drop_repeats(pts):
    out = []
    for p in pts:
        if not out or out[-1] != p:
            out.append(p)
    return out


def split_antimeridian(pts):
    """Split a polyline wherever a segment jumps by more than 180 degrees
    of longitude, inserting the crossing point on both sides."""
    lines = [[pts[0]]]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        if abs(x1 - x0) > 18000:
            # Going east across 180 (x0 > 0, x1 < 0) or west (x0 < 0, x1 > 0).
            edge = 18000 if x0 > 0 else -18000
            x1u = x1 + 36000 if x0 > 0 else x1 - 36000  # unwrapped x1
            t = (edge - x0) / (x1u - x0) if x1u != x0 else 0.0
            yc = int(round(y0 + t * (y1 - y0)))
            lines[-1].append((edge, yc))
            lines.append([(-edge, yc)])
        lines[-1].append((x1, y1))
    return [drop_repeats(l) for l in lines]


def douglas_peucker(pts, tol):
    """Keep the points of pts that lie farther than tol (same units) from
    the simplified line; the end points are always kept."""
    n = len(pts)
    if n < 3 or tol <= 0:
        return pts
    keep = [False] * n
    keep[0] = keep[-1] = True
    tol2 = tol * tol
    stack = [(0, n - 1)]
    while stack:
        a, b = stack.pop()
        ax, ay = pts[a]
        bx, by = pts[b]
        dx, dy = bx - ax, by - ay
        len2 = dx * dx + dy * dy
        best, best_d2 = -1, tol2
        for i in range(a + 1, b):
            px, py = pts[i]
            if len2 == 0:  # closed ring: distance to the point
                d2 = (px - ax) ** 2 + (py - ay) ** 2
            else:
                t = ((px - ax) * dx + (py - ay) * dy) / len2
                t = 0.0 if t < 0 else 1.0 if t > 1 else t
                qx, qy = ax + t * dx, ay + t * dy
                d2 = (px - qx) ** 2 + (py - qy) ** 2
            if d2 > best_d2:
                best, best_d2 = i, d2
        if best >= 0:
            keep[best] = True
            stack.append((a, best))
            stack.append((best, b))
    return [p for p, k in zip(pts, keep) if k]


def join_consecutive(lines):
    """Join each polyline to the one before it when it starts where that
    one ends (the Natural Earth files cut long coasts into 100-point
    records)."""
    out = []
    for l in lines:
        if out and out[-1][-1] == l[0]:
            out[-1].extend(l[1:])
        else:
            out.append(list(l))
    return out


# ---------------------------------------------------------------------------
# Building the data file
# ---------------------------------------------------------------------------

def classify(all_parts, coast_parts):
    """Tell coastlines from borders: a part of cglobe.shp is a coastline
    when at least one of its segments also occurs in globe.shp (cglobe's
    coastlines are globe's, with extra vertices where borders meet the
    coast; its border lines share no segment with globe)."""
    coast_segs = set()
    for part in coast_parts:
        for a, b in zip(part, part[1:]):
            coast_segs.add((a, b))
            coast_segs.add((b, a))
    kinds = []
    for part in all_parts:
        shared = any((a, b) in coast_segs for a, b in zip(part, part[1:]))
        kinds.append("C" if shared else "B")
    return kinds


def encode_line(kind, pts):
    x0, y0 = pts[0]
    out = ["%s %d,%d" % (kind, x0, y0)]
    for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
        out.append("%d,%d" % (xb - xa, yb - ya))
    return " ".join(out)


def build(args):
    all_path = os.path.join(args.src, "cglobe.shp")
    coast_path = os.path.join(args.src, "globe.shp")
    all_parts = [to_hundredths(p) for p in read_shp(all_path)]
    coast_parts = [to_hundredths(p) for p in read_shp(coast_path)]
    kinds = classify(all_parts, coast_parts)

    tol = args.simplify * 100.0
    sections = {"C": [], "B": []}
    for kind, part in zip(kinds, all_parts):
        pts = drop_repeats(part)
        if len(pts) < 2:
            continue
        sections[kind].extend(l for l in split_antimeridian(pts) if len(l) >= 2)

    text = [
        "# gridcol map ground: C = coastlines and lake shores, B = country "
        "borders. Source: Natural Earth (naturalearthdata.com), public "
        "domain, via PLplot's cglobe.shp/globe.shp (Debian libplplot-data "
        "5.15.0). Made with Natural Earth.",
        "# KIND X,Y DX,DY ...: integer hundredths of a degree, X = longitude, "
        "Y = latitude, first point absolute, the others relative to the "
        "point before.%s Generated by make-map-ground.py; do not edit."
        % (" Simplified with Douglas-Peucker, tolerance %g deg."
           % args.simplify if tol > 0 else ""),
    ]
    stats = {}
    for kind in ("C", "B"):
        lines = sections[kind]
        if not args.no_join:
            lines = join_consecutive(lines)
        lines = [douglas_peucker(l, tol) for l in lines]
        lines = [l for l in lines if len(l) >= 2]
        stats[kind] = (len(lines), sum(len(l) for l in lines))
        text.extend(encode_line(kind, l) for l in lines)
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(text) + "\n")
    print("%s: %d bytes; coast %d lines / %d points, borders %d lines / "
          "%d points" % (args.out, os.path.getsize(args.out), stats["C"][0],
                         stats["C"][1], stats["B"][0], stats["B"][1]))


# ---------------------------------------------------------------------------
# Reading the data file back
# ---------------------------------------------------------------------------

def read_ground(path):
    """Return a list of (kind, [(lon, lat), ...]) with lon/lat in degrees."""
    result = []
    with open(path, encoding="ascii") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split(" ")
            kind = fields[0]
            if kind not in ("C", "B") or len(fields) < 3:
                raise ValueError("%s:%d: bad record" % (path, lineno))
            x = y = 0
            pts = []
            for i, pair in enumerate(fields[1:]):
                sx, sy = pair.split(",")
                dx, dy = int(sx), int(sy)
                if i > 0 and dx == 0 and dy == 0:
                    raise ValueError("%s:%d: repeated point" % (path, lineno))
                if i > 0 and abs(dx) > 18000:
                    raise ValueError("%s:%d: segment crosses 180 deg"
                                     % (path, lineno))
                x, y = (dx, dy) if i == 0 else (x + dx, y + dy)
                if not (-18000 <= x <= 18000 and -9000 <= y <= 9000):
                    raise ValueError("%s:%d: point out of range"
                                     % (path, lineno))
                pts.append((x / 100.0, y / 100.0))
            result.append((kind, pts))
    return result


def check(path):
    lines = read_ground(path)
    for kind, name in (("C", "coastlines"), ("B", "borders")):
        sel = [p for k, p in lines if k == kind]
        pts = [q for p in sel for q in p]
        if not pts:
            print("%s (%s): none" % (kind, name))
            continue
        segs = sorted(math.hypot(b[0] - a[0], b[1] - a[1])
                      for p in sel for a, b in zip(p, p[1:]))
        print("%s (%s): %d lines, %d points, %d segments; lon %.2f..%.2f, "
              "lat %.2f..%.2f; segment length median %.2f deg, "
              "max %.2f deg"
              % (kind, name, len(sel), len(pts), len(segs),
                 min(q[0] for q in pts), max(q[0] for q in pts),
                 min(q[1] for q in pts), max(q[1] for q in pts),
                 segs[len(segs) // 2], segs[-1]))
    print("total: %d lines, %d points" % (len(lines),
                                          sum(len(p) for _, p in lines)))


# ---------------------------------------------------------------------------
# SVG preview
# ---------------------------------------------------------------------------

def svg(args):
    lon1, lat1, lon2, lat2 = (float(v) for v in args.bbox.split(","))
    if not (lon1 < lon2 and lat1 < lat2):
        sys.exit("--bbox wants lon1,lat1,lon2,lat2 with lon1<lon2, lat1<lat2")
    k = math.cos(math.radians((lat1 + lat2) / 2))
    scale = args.width / ((lon2 - lon1) * k)  # pixels per degree latitude
    width = args.width
    height = (lat2 - lat1) * scale

    def xy(lon, lat):
        return ((lon - lon1) * k * scale, (lat2 - lat) * scale)

    paths = {"C": [], "B": []}
    for kind, pts in read_ground(args.data):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        if max(xs) < lon1 or min(xs) > lon2 or max(ys) < lat1 or min(ys) > lat2:
            continue
        d = []
        for i, (lon, lat) in enumerate(pts):
            x, y = xy(lon, lat)
            d.append("%s%.1f %.1f" % ("M" if i == 0 else "L", x, y))
        paths[kind].append("".join(d))

    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
           'viewBox="0 0 %d %d">' % (width, round(height), width,
                                     round(height)),
           '<clipPath id="view"><rect width="%d" height="%d"/></clipPath>'
           % (width, round(height)),
           '<g clip-path="url(#view)">',
           '<rect width="%d" height="%d" fill="#eef4fa"/>'
           % (width, round(height))]
    if args.grid:
        g = ['<g stroke="#c8d0d8" stroke-width="0.5" fill="none">']
        lon = math.ceil(lon1 / 2) * 2
        while lon <= lon2:
            x = xy(lon, 0)[0]
            sw = ' stroke="#98a4b0" stroke-width="1"' if lon % 20 == 0 else ""
            g.append('<line x1="%.1f" y1="0" x2="%.1f" y2="%.1f"%s/>'
                     % (x, x, height, sw))
            lon += 2
        lat = math.ceil(lat1)
        while lat <= lat2:
            y = xy(0, lat)[1]
            sw = ' stroke="#98a4b0" stroke-width="1"' if lat % 10 == 0 else ""
            g.append('<line x1="0" y1="%.1f" x2="%d" y2="%.1f"%s/>'
                     % (y, width, y, sw))
            lat += 1
        g.append('</g><g font-family="sans-serif" font-size="8" '
                 'fill="#8090a0">')
        lon = math.floor(lon1 / 2) * 2
        while lon < lon2:
            lat = math.floor(lat1)
            while lat < lat2:
                x, y = xy(lon, lat + 1)
                fx, fy = int((lon + 180) // 20), int((lat + 90) // 10)
                sx, sy = int((lon + 180) % 20 // 2), int((lat + 90) % 10)
                g.append('<text x="%.1f" y="%.1f">%s%s%d%d</text>'
                         % (x + 2, y + 9, chr(65 + fx), chr(65 + fy), sx, sy))
                lat += 1
            lon += 2
        g.append("</g>")
        out.extend(g)
    out.append('<path fill="none" stroke="#7a8a99" stroke-width="0.6" '
               'stroke-dasharray="3 2" d="%s"/>' % "".join(paths["B"]))
    out.append('<path fill="none" stroke="#1f4e79" stroke-width="1" '
               'stroke-linejoin="round" d="%s"/>' % "".join(paths["C"]))
    out.append("</g></svg>")
    body = "\n".join(out) + "\n"
    with open(args.svg, "w", encoding="utf-8") as f:
        f.write("<!-- SPDX-FileCopyrightText: 2026 The gridcol developers -->\n"
                "<!-- SPDX-License-Identifier: GPL-3.0-or-later -->\n" + body)
    print("%s: %dx%d px, %.1f px per degree of latitude, %d coast and %d "
          "border paths" % (args.svg, width, round(height), scale,
                            len(paths["C"]), len(paths["B"])))
    if args.html:
        with open(args.html, "w", encoding="utf-8") as f:
            f.write("<!DOCTYPE html>\n<!-- SPDX-FileCopyrightText: 2026 The "
                    "gridcol developers -->\n<!-- SPDX-License-Identifier: "
                    "GPL-3.0-or-later -->\n<html><head><meta charset=\"utf-8\">"
                    "<title>map ground %s</title><style>body{margin:0;"
                    "overflow:hidden}svg{display:block;width:100vw;"
                    "height:100vh}</style></head><body>\n%s</body></html>\n"
                    % (args.bbox, body))
        print("%s: written" % args.html)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--src", default=DEFAULT_SRC,
                    help="directory with cglobe.shp and globe.shp")
    ap.add_argument("--out", default=DEFAULT_DATA, help="data file to write")
    ap.add_argument("--simplify", type=float, default=0.0, metavar="DEG",
                    help="Douglas-Peucker tolerance in degrees (e.g. 0.02; "
                         "default 0 = off)")
    ap.add_argument("--no-join", action="store_true",
                    help="keep the source's records apart even where one "
                         "starts where the one before ends")
    ap.add_argument("--check", metavar="FILE",
                    help="read a data file back and print counts and bounds")
    ap.add_argument("--svg", metavar="OUT", help="draw the data as SVG")
    ap.add_argument("--bbox", default="-12,34,42,64",
                    help="lon1,lat1,lon2,lat2 for --svg")
    ap.add_argument("--data", default=DEFAULT_DATA,
                    help="data file for --svg")
    ap.add_argument("--width", type=int, default=1200,
                    help="SVG width in pixels")
    ap.add_argument("--grid", action="store_true",
                    help="draw Maidenhead fields and squares in the SVG")
    ap.add_argument("--html", metavar="OUT",
                    help="also write the SVG inline in a minimal HTML page")
    # "--bbox -12,34,42,64" would otherwise be taken for an option.
    argv = sys.argv[1:]
    for i in range(len(argv) - 1):
        if argv[i] == "--bbox":
            argv[i:i + 2] = ["--bbox=" + argv[i + 1]]
            break
    args = ap.parse_args(argv)
    if args.check:
        check(args.check)
    elif args.svg:
        svg(args)
    else:
        build(args)


if __name__ == "__main__":
    main()
