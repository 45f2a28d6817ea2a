# SPDX-FileCopyrightText: 2026 The gridcol developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks gridcol's maps as Chromium drew them (see map.sh).

    mappixels.py EXAMPLE.html EXAMPLE.png CHECK.html CHECK.png HOSTILE.html HOSTILE.dom

Each page must parse as XML and take nothing from elsewhere. In the picture
of the example, the square of DL1ABC's best locator must have, in most of
its pixels, the colour of the legend's swatch for its count, and that colour
must be the page's shade for that class. In the picture of the checked log,
every suspect QSO's line must be red (#e31a1c) along most of its length, and
some other QSO's line grey (#404040). The document Chromium built from the
hostile page must hold no script element and show the calls as text.
Python's standard library only: the PNG is decoded with zlib.
"""

import re
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SVG = "{http://www.w3.org/2000/svg}"
failures = []


def check(condition, message):
    print(("ok: " if condition else "FAIL: ") + message)
    if not condition:
        failures.append(message)


def read_png(path):
    """Width, height and a function giving the (r, g, b) of a pixel."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(path + ": not 8-bit RGB or RGBA without interlace")
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(line)
        previous = line

    def pixel(x, y):
        row = rows[int(y)]
        i = int(x) * channels
        return tuple(row[i:i + 3])
    return width, height, pixel


def colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def page(path):
    """The parsed page, its outer svg and the map's nested svg."""
    tree = ET.parse(path)  # raises on anything that is not well-formed XML
    with open(path, encoding="utf-8") as f:
        text = f.read()
    check("<script" not in text.lower(), path + ": no script element")
    check(not re.search(r'(?:href|src)\s*=|url\((?!#)|@import', text), path + ": takes nothing from elsewhere")
    outer = tree.getroot().find(".//" + SVG + "svg")
    nested = outer.find(SVG + "svg")
    check(nested is not None and nested.get("id") == "map", path + ": the map's own viewport")
    return text, outer, nested


def style_fill(text, name):
    return colour(re.search(r"\." + name + r"\{fill:(#[0-9a-f]{6})", text).group(1))


def example(html, png):
    text, outer, nested = page(html)
    width, height, pixel = read_png(png)
    check((width, height) == (1200, 784), "the example's picture is 1200 x 784, as the page")
    left, top = float(nested.get("x")), float(nested.get("y"))
    # DL1ABC's dot, and the shaded square under it.
    dot = next(c for c in nested.iter(SVG + "circle")
               if (c.findtext(SVG + "title") or "").startswith("DL1ABC\n"))
    x, y = float(dot.get("cx")), float(dot.get("cy"))
    square = next(r for r in nested.iter(SVG + "rect") if re.fullmatch(r"s\d", r.get("class") or "")
                  and float(r.get("x")) <= x <= float(r.get("x")) + float(r.get("width"))
                  and float(r.get("y")) <= y <= float(r.get("y")) + float(r.get("height")))
    name, count = re.match(r"(\w{4}): (\d+) call", square.findtext(SVG + "title")).groups()
    count = int(count)
    check(name == "JO62", "DL1ABC's best locator JO62QM lies in square JO62 (%s)" % name)
    # The legend: each swatch and the range of counts written beside it.
    children = list(outer)
    shade = None
    for i, element in enumerate(children):
        if (element.get("id") or "").startswith("legend-s"):
            label = children[i + 1].text
            low, _, high = label.partition("\u2013")
            if int(low) <= count <= int(high or low):
                shade = element
    check(shade is not None, "the legend has a class for %d calls" % count)
    sx = float(shade.get("x")) + float(shade.get("width")) / 2
    sy = float(shade.get("y")) + float(shade.get("height")) / 2
    legend_colour = pixel(sx, sy)
    check(legend_colour == style_fill(text, shade.get("class")),
          "the legend's swatch for %d calls is drawn in its shade %s" % (count, legend_colour))
    check(square.get("class") == shade.get("class"), "the square's class is the legend's for %d calls" % count)
    # Most of the square's pixels (away from its edges) have that colour: labels,
    # the dot and coastlines cover some.
    rx, ry = left + float(square.get("x")), top + float(square.get("y"))
    rw, rh = float(square.get("width")), float(square.get("height"))
    samples = [pixel(rx + rw * (i + 0.5) / 10, ry + rh * (j + 0.5) / 10) for i in range(1, 9) for j in range(1, 9)]
    same = sum(1 for s in samples if s == legend_colour)
    check(same >= len(samples) * 0.6, "square JO62 has the legend's shade in %d of %d pixels" % (same, len(samples)))
    empty_sea = pixel(left + 2, top + 700)
    check(empty_sea != legend_colour, "the map's background is not that shade")


def line_pixels(pixel, left, top, path):
    (x1, y1), (x2, y2) = [tuple(map(float, p.split())) for p in path.get("d")[1:].split("L")]
    length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
    ts = [0.3 + 0.4 * k / 19 for k in range(20)]
    return length, [pixel(left + x1 + t * (x2 - x1), top + y1 + t * (y2 - y1)) for t in ts]


def checked_log(html, png):
    text, _, nested = page(html)
    width, height, pixel = read_png(png)
    left, top = float(nested.get("x")), float(nested.get("y"))
    groups = {g.get("class"): g for g in nested.iter(SVG + "g")}
    red, grey = colour("#e31a1c"), colour("#404040")
    suspects = [p for p in groups["suspect"].iter(SVG + "path")]
    check(len(suspects) == 5, "five suspect QSOs are drawn (%d)" % len(suspects))
    long_ones = 0
    for path in suspects:
        length, samples = line_pixels(pixel, left, top, path)
        if length < 40:
            continue  # a short line lies under the own station's mark
        long_ones += 1
        same = sum(1 for s in samples if s == red)
        check(same >= 12, "the suspect QSO %s is red along %d of %d points"
              % (path.findtext(SVG + "title").split("\n")[0], same, len(samples)))
    check(long_ones >= 3, "at least three suspect lines are long enough to look at (%d)" % long_ones)
    best = 0
    for path in groups["qso"].iter(SVG + "path"):
        length, samples = line_pixels(pixel, left, top, path)
        best = max(best, sum(1 for s in samples if s == grey))
    check(best >= 12, "another QSO's line is grey along %d of 20 points" % best)
    check(any(s.get("class") == "suspect" for s in nested.iter(SVG + "g")), "the suspect group exists")
    check("SUSPECT-LOC: known IO91WM" in text, "a suspect QSO's hover text holds its verdict and evidence")


def hostile(html, dom):
    text, _, _ = page(html)
    with open(dom, encoding="utf-8") as f:
        built = f.read()
    check("<script" not in built.lower(), "the document Chromium built from the hostile calls has no script")
    check("&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt;" in built, "the call <SCRIPT>ALERT(1)</SCRIPT> is text there")
    check("A&amp;B" in built and "Q\"U'OTE" in built.replace("&quot;", '"'), "A&B and Q\"U'OTE are text there")


def main():
    example(sys.argv[1], sys.argv[2])
    checked_log(sys.argv[3], sys.argv[4])
    hostile(sys.argv[5], sys.argv[6])
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
