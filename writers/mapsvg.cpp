// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/mapsvg.h"

#include "base/text.h"

#include <cmath>

namespace {

/// The page's own style: every colour the map uses, solid; the shades and
/// the QSOs' colours are added from mapShades and the QSO colours.
const char styleSheet[]
    = "text{font-family:sans-serif;font-size:12px;fill:#333}\n"
      ".page{fill:#fff}.sea{fill:#f6f8fa}\n"
      ".title{font-size:20px;font-weight:bold;fill:#000}.subtitle{font-size:14px}.head{font-weight:bold}\n"
      ".fl{stroke:#7d8894;stroke-width:1;fill:none}.sl{stroke:#c3cad1;stroke-width:0.5;fill:none}\n"
      ".coast{stroke:#1f4e79;stroke-width:1;fill:none;stroke-linejoin:round}\n"
      ".border{stroke:#7a8a99;stroke-width:0.7;fill:none;stroke-dasharray:3 2}\n"
      ".field{font-size:16px;font-weight:bold;fill:#4a5663;stroke:#fff;stroke-width:3px;paint-order:stroke}.square{font-size:8px;fill:#6f7b88}\n"
      ".ring{stroke:#b35806;stroke-width:1;fill:none}.ringlabel{font-size:10px;fill:#b35806}\n"
      ".far path{stroke:#762a83;stroke-width:1.2;fill:none}\n"
      ".dot circle{fill:#111;stroke:#fff;stroke-width:1}\n"
      ".qso path,.suspect path{stroke-width:3;fill:none;stroke-linecap:round}\n"
      ".own{fill:#fff;stroke:#000;stroke-width:2}.home{fill:#fdb863;stroke:#b35806;stroke-width:2}\n"
      ".empty{font-size:18px;text-anchor:middle;stroke:#fff;stroke-width:6px;paint-order:stroke}.scale{stroke:#333;stroke-width:2;fill:none}\n";

/// A character XML 1.0 allows in text.
bool IsXmlChar(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

} // namespace

bool IsMapLocator(QStringView locator)
{
    return IsLocatorOf(locator, 4) || IsLocatorOf(locator, 6);
}

int SquareIndex(GeoPoint point)
{
    const int column = qBound(0, int(std::floor((point.longitude + 180.0) / 2.0)), 179);
    const int row = qBound(0, int(std::floor(point.latitude + 90.0)), 179);
    return column * 180 + row;
}

QString SquareName(int square)
{
    const int column = square / 180;
    const int row = square % 180;
    const QChar name[] = { QChar('A' + column / 10), QChar('A' + row / 10), QChar('0' + column % 10),
                           QChar('0' + row % 10) };
    return QString(name, 4);
}

double MapKilometres(QStringView a, QStringView b)
{
    return ArcDegrees(LocatorCentre(a), LocatorCentre(b)) * kilometresPerDegree;
}

int MapQrb(QStringView a, QStringView b)
{
    if (IsLocator6(a) && IsLocator6(b))
        return ContestQrb(a, b);
    return qRound(MapKilometres(a, b));
}

void ForEachSquareInView(const MapProjection &projection, const std::function<void(int)> &visit)
{
    const int west = qMax(0, int(std::floor((projection.west() + 180.0) / 2.0)));
    const int east = qMin(179, int(std::floor((projection.east() + 180.0) / 2.0)));
    const int south = qMax(0, int(std::floor(projection.south() + 90.0)));
    const int north = qMin(179, int(std::floor(projection.north() + 90.0)));
    for (int column = west; column <= east; ++column) {
        for (int row = south; row <= north; ++row)
            visit(column * 180 + row);
    }
}

void SvgWriter::text(QStringView text)
{
    // Calls and locators are nearly always plain ASCII without markup.
    bool plain = true;
    for (const QChar c : text) {
        const ushort code = c.unicode();
        plain = plain && code >= 0x20 && code < 0x7f && code != '&' && code != '<' && code != '>' && code != '"'
            && code != '\'';
    }
    if (plain) {
        for (const QChar c : text)
            m_out += char(c.unicode());
        return;
    }
    QString clean;
    clean.reserve(int(text.size()));
    for (int i = 0; i < int(text.size()); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('&'))
            clean += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            clean += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            clean += QLatin1String("&gt;");
        else if (c == QLatin1Char('"'))
            clean += QLatin1String("&quot;");
        else if (c == QLatin1Char('\''))
            clean += QLatin1String("&#39;");
        else if (c.isHighSurrogate() && i + 1 < int(text.size()) && text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += text[++i];
        } else if (c.isSurrogate() || !IsXmlChar(c.unicode()))
            clean += QChar(0xFFFD);
        else
            clean += c;
    }
    m_out += clean.toUtf8();
}

void SvgWriter::text(double x, double y, const char *styleClass, const QByteArray &utf8)
{
    m_out += "<text class=\"";
    m_out += styleClass;
    m_out += "\" x=\"";
    number(x);
    m_out += "\" y=\"";
    number(y);
    m_out += "\">";
    text(QString::fromUtf8(utf8));
    m_out += "</text>\n";
}

void SvgWriter::number(double value)
{
    qint64 tenths = std::llround(value * 10.0);
    if (tenths < 0) {
        m_out += '-';
        tenths = -tenths;
    }
    AppendDecimal(m_out, tenths / 10);
    if (tenths % 10 != 0) {
        m_out += '.';
        m_out += char('0' + tenths % 10);
    }
}

void SvgWriter::point(double x, double y)
{
    number(x);
    m_out += ' ';
    number(y);
}

void SvgWriter::beginPage(const QByteArray &title, double width, double height)
{
    m_out += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
             "<meta charset=\"utf-8\"/>\n<title>";
    text(QString::fromUtf8(title));
    m_out += "</title>\n<style>body{margin:0;background:#fff}svg{display:block}"
             "@page{size:landscape;margin:10mm}@media print{svg{width:100%;height:auto}}</style>\n"
             "</head>\n<body>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    number(width);
    m_out += "\" height=\"";
    number(height);
    m_out += "\" viewBox=\"0 0 ";
    point(width, height);
    m_out += "\">\n<style>\n";
    m_out += styleSheet;
    for (int i = 0; i < mapShadeCount; ++i)
        m_out += ".s" + QByteArray::number(i) + "{fill:" + mapShades[i] + '}';
    m_out += QByteArray("\n.qso path{stroke:") + mapQsoColour + "}.qso circle{fill:" + mapQsoColour + "}\n"
        + ".suspect path{stroke:" + mapSuspectColour + "}.suspect circle{fill:" + mapSuspectColour + "}\n";
    m_out += "</style>\n<rect class=\"page\" width=\"100%\" height=\"100%\"/>\n";
}

void SvgWriter::endPage()
{
    m_out += "</svg>\n</body>\n</html>\n";
}

void SvgWriter::beginMap(double width, double height)
{
    m_out += "<svg id=\"map\" x=\"";
    number(m_mapLeft);
    m_out += "\" y=\"";
    number(m_mapTop);
    m_out += "\" width=\"";
    number(width);
    m_out += "\" height=\"";
    number(height);
    m_out += "\">\n<rect class=\"sea\" width=\"100%\" height=\"100%\"/>\n";
}

void SvgWriter::endMap()
{
    m_out += "</svg>\n";
}

void SvgWriter::squareRect(int square, int shade)
{
    const double west = (square / 180) * 2.0 - 180.0;
    const double south = (square % 180) - 90.0;
    // Rounded edges, so that neighbours meet without a gap or an overlap.
    const double left = std::round(m_projection.x(west) * 10.0) / 10.0;
    const double right = std::round(m_projection.x(west + 2.0) * 10.0) / 10.0;
    const double top = std::round(m_projection.y(south + 1.0) * 10.0) / 10.0;
    const double bottom = std::round(m_projection.y(south) * 10.0) / 10.0;
    m_out += "<rect class=\"s" + QByteArray::number(shade) + "\" x=\"";
    number(left);
    m_out += "\" y=\"";
    number(top);
    m_out += "\" width=\"";
    number(right - left);
    m_out += "\" height=\"";
    number(bottom - top);
    m_out += "\">";
}

void SvgWriter::grid()
{
    const MapProjection &p = m_projection;
    const double top = p.y(qMin(90.0, p.north()));
    const double bottom = p.y(qMax(-90.0, p.south()));
    const double left = p.x(qMax(-180.0, p.west()));
    const double right = p.x(qMin(180.0, p.east()));
    const bool squares = 2.0 * p.pixelsPerDegreeX() >= 6.0;
    for (const bool fields : { false, true }) {
        if (!fields && !squares)
            continue;
        const int lonStep = fields ? 20 : 2;
        const int latStep = fields ? 10 : 1;
        m_out += fields ? "<path class=\"fl\" d=\"" : "<path class=\"sl\" d=\"";
        for (int lon = -180; lon <= 180; lon += lonStep) {
            if (lon < p.west() || lon > p.east())
                continue;
            m_out += 'M';
            point(p.x(lon), top);
            m_out += 'V';
            number(bottom);
        }
        for (int lat = -90; lat <= 90; lat += latStep) {
            if (lat < p.south() || lat > p.north())
                continue;
            m_out += 'M';
            point(left, p.y(lat));
            m_out += 'H';
            number(right);
        }
        m_out += "\"/>\n";
    }
}

void SvgWriter::gridLabels()
{
    const MapProjection &p = m_projection;
    if (2.0 * p.pixelsPerDegreeX() >= 30.0 && p.pixelsPerDegree() >= 12.0) {
        ForEachSquareInView(p, [this, &p](int square) {
            const double west = (square / 180) * 2.0 - 180.0;
            const double north = (square % 180) - 89.0;
            text(p.x(west) + 2.0, p.y(north) + 9.0, "square", SquareName(square).toLatin1());
        });
    }
    for (int column = 0; column < 18; ++column) {
        for (int row = 0; row < 9 * 2; ++row) {
            const double west = column * 20.0 - 180.0;
            const double south = row * 10.0 - 90.0;
            // Named where enough of the field shows for its name.
            const double left = p.x(qMax(west, p.west()));
            const double top = p.y(qMin(south + 10.0, p.north()));
            if (p.x(qMin(west + 20.0, p.east())) - left < 40.0 || p.y(qMax(south, p.south())) - top < 24.0)
                continue;
            const char name[] = { char('A' + column), char('A' + row), 0 };
            text(left + 4.0, top + 18.0, "field", name);
        }
    }
}

void SvgWriter::ground(const QVector<GroundLine> &lines)
{
    const MapProjection &p = m_projection;
    const int west = int(std::floor(p.west() * 100.0)) - 100;
    const int east = int(std::ceil(p.east() * 100.0)) + 100;
    const int south = int(std::floor(p.south() * 100.0)) - 100;
    const int north = int(std::ceil(p.north() * 100.0)) + 100;
    for (const bool border : { true, false }) {
        m_out += border ? "<path class=\"border\" d=\"" : "<path class=\"coast\" d=\"";
        for (const GroundLine &line : lines) {
            if (line.border != border || line.east < west || line.west > east || line.north < south
                || line.south > north)
                continue;
            double lastX = 0.0;
            double lastY = 0.0;
            const int count = line.points.size() / 2;
            for (int i = 0; i < count; ++i) {
                const double x = p.x(line.points.at(2 * i) / 100.0);
                const double y = p.y(line.points.at(2 * i + 1) / 100.0);
                // Points closer than half a pixel to the last one drawn add nothing.
                if (i > 0 && i + 1 < count && std::fabs(x - lastX) < 0.5 && std::fabs(y - lastY) < 0.5)
                    continue;
                m_out += i == 0 ? 'M' : 'L';
                point(x, y);
                lastX = x;
                lastY = y;
            }
        }
        m_out += "\"/>\n";
    }
}

void SvgWriter::homeRings(GeoPoint home)
{
    for (const int kilometres : { 100, 200, 500, 1000 }) {
        const double arc = kilometres / kilometresPerDegree;
        m_out += "<path class=\"ring\" d=\"";
        for (int step = 0; step < 120; ++step) {
            const GeoPoint at = Destination(home, step * 3.0, arc);
            m_out += step == 0 ? 'M' : 'L';
            point(m_projection.x(at.longitude), m_projection.y(at.latitude));
        }
        m_out += "Z\"/>\n";
        const GeoPoint top = Destination(home, 0.0, arc);
        text(m_projection.x(top.longitude) + 3.0, m_projection.y(top.latitude) - 3.0, "ringlabel",
             QByteArray::number(kilometres) + " km");
    }
}

void SvgWriter::line(GeoPoint from, GeoPoint to)
{
    m_out += "<path d=\"M";
    point(m_projection.x(from.longitude), m_projection.y(from.latitude));
    m_out += 'L';
    point(m_projection.x(to.longitude), m_projection.y(to.latitude));
    m_out += "\">";
}

void SvgWriter::circle(GeoPoint at, double radius)
{
    m_out += "<circle cx=\"";
    number(m_projection.x(at.longitude));
    m_out += "\" cy=\"";
    number(m_projection.y(at.latitude));
    m_out += "\" r=\"";
    number(radius);
    m_out += "\">";
}

void SvgWriter::stationMark(GeoPoint at, const char *styleClass)
{
    m_out += "<path class=\"";
    m_out += styleClass;
    m_out += "\" d=\"M";
    point(m_projection.x(at.longitude), m_projection.y(at.latitude) - 7.0);
    m_out += "l7 7l-7 7l-7 -7z\">";
}

void SvgWriter::legend(const MapLegend &legend, double left, double top)
{
    double y = top + 14.0;
    text(left, y, "head", "Calls per square");
    text(left, y + 15.0, "", "(by their best locator)");
    y += 26.0;
    if (legend.most == 0) {
        text(left, y + 12.5, "", "none in the frame");
        y += 20.0;
    }
    for (int i = 0; i < legend.classes.size() && legend.most > 0; ++i) {
        const int low = legend.classes.at(i);
        const int high = i + 1 < legend.classes.size() ? legend.classes.at(i + 1) - 1 : qMax(low, legend.most);
        m_out += "<rect id=\"legend-s" + QByteArray::number(i) + "\" class=\"s" + QByteArray::number(i) + "\" x=\"";
        number(left);
        m_out += "\" y=\"";
        number(y);
        m_out += "\" width=\"28\" height=\"16\"/>\n";
        const QByteArray range = high == low ? QByteArray::number(low)
                                             : QByteArray::number(low) + "\xe2\x80\x93" + QByteArray::number(high);
        text(left + 36.0, y + 12.5, "", range);
        y += 20.0;
    }
    y += 16.0;
    const auto sample = [this, left](double at, const char *groupClass) {
        m_out += "<g class=\"";
        m_out += groupClass;
        m_out += "\"><path d=\"M";
        point(left, at);
        m_out += "h28\"/></g>\n";
    };
    const auto mark = [this, left](double at, const char *styleClass) {
        m_out += "<path class=\"";
        m_out += styleClass;
        m_out += "\" d=\"M";
        point(left + 14.0, at - 7.0);
        m_out += "l7 7l-7 7l-7 -7z\"/>\n";
    };
    if (legend.checking) {
        sample(y, "suspect");
        text(left + 36.0, y + 4.0, "", "suspect QSO: SUSPECT-LOC,");
        text(left + 36.0, y + 19.0, "", "SUSPECT-CALL or BAD-LOC");
        y += 36.0;
        sample(y, "qso");
        text(left + 36.0, y + 4.0, "", "other QSO");
        y += 26.0;
        mark(y, "own");
        text(left + 36.0, y + 4.0, "", "the log's own locator");
        y += 26.0;
        text(left, y, "", "Hover over a QSO for its verdict");
        text(left, y + 15.0, "", "and evidence.");
        y += 40.0;
    } else if (legend.callsInView > 0) {
        if (legend.dots) {
            m_out += "<g class=\"dot\"><circle cx=\"";
            number(left + 14.0);
            m_out += "\" cy=\"";
            number(y);
            m_out += "\" r=\"3\"/></g>\n";
            text(left + 36.0, y + 4.0, "", "a call at its best locator;");
            text(left + 36.0, y + 19.0, "", "hover for its locators");
        } else {
            text(left, y + 4.0, "", QByteArray::number(legend.callsInView) + " calls in the frame: too");
            text(left, y + 19.0, "", "many to draw each as a dot");
        }
        y += 36.0;
        sample(y, "far");
        text(left + 36.0, y + 4.0, "", "locators of one call more");
        text(left + 36.0, y + 19.0, "", "than 100 km apart");
        if (legend.farPairs > legend.farLines) {
            text(left + 36.0, y + 34.0, "",
                 "(the " + QByteArray::number(legend.farLines) + " heaviest of " + QByteArray::number(legend.farPairs)
                     + ")");
            y += 15.0;
        }
        y += 36.0;
    }
    if (!legend.checking) {
        if (legend.homeShown) {
            mark(y, "home");
            text(left + 36.0, y + 4.0, "", "home " + legend.home.toUpper().toLatin1() + ", rings at");
            text(left + 36.0, y + 19.0, "", "100, 200, 500 and 1000 km");
            y += 36.0;
        } else if (!legend.home.isEmpty()) {
            text(left, y + 4.0, "", "home " + legend.home.toUtf8() + " is not a");
            text(left, y + 19.0, "", "locator: no home mark");
            y += 36.0;
        }
    }
    // A scale bar, true along the middle latitude and every meridian.
    const double pixelsPerKilometre = m_projection.pixelsPerDegree() / kilometresPerDegree;
    int kilometres = 10;
    for (const int length : { 20, 50, 100, 200, 500, 1000, 2000, 5000 }) {
        if (length * pixelsPerKilometre <= 180.0)
            kilometres = length;
    }
    y += 8.0;
    m_out += "<path class=\"scale\" d=\"M";
    point(left, y - 5.0);
    m_out += "v5H";
    number(left + kilometres * pixelsPerKilometre);
    m_out += "v-5\"/>\n";
    text(left, y + 16.0, "", QByteArray::number(kilometres) + " km");
    text(left, top + 700.0, "", "Ground: Natural Earth,");
    text(left, top + 715.0, "", "public domain");
}
