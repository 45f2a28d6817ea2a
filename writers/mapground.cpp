// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/mapground.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

// Made by CMake from writers/mapground.txt (cmake/embed.cmake).
extern const unsigned char mapGroundText[];
extern const int mapGroundTextSize;

namespace {

/// Reads a whole number at text[at] and moves at past it; false where there is none.
bool ReadNumber(const QByteArray &text, int &at, int end, int &value)
{
    bool negative = false;
    if (at < end && text.at(at) == '-') {
        negative = true;
        ++at;
    }
    const int first = at;
    qint64 number = 0;
    while (at < end && text.at(at) >= '0' && text.at(at) <= '9' && number < 100000000)
        number = number * 10 + (text.at(at++) - '0');
    if (at == first || number >= 100000000)
        return false;
    value = int(negative ? -number : number);
    return true;
}

/// Reads one line of ground text [begin, end) into line.
bool ReadGroundLine(const QByteArray &text, int begin, int end, GroundLine &line)
{
    if (end - begin < 2 || (text.at(begin) != 'C' && text.at(begin) != 'B'))
        return false;
    line.border = text.at(begin) == 'B';
    int at = begin + 1;
    int x = 0;
    int y = 0;
    while (at < end) {
        int dx = 0;
        int dy = 0;
        if (text.at(at++) != ' ' || !ReadNumber(text, at, end, dx) || at >= end || text.at(at++) != ','
            || !ReadNumber(text, at, end, dy))
            return false;
        x = line.points.isEmpty() ? dx : x + dx;
        y = line.points.isEmpty() ? dy : y + dy;
        if (x < -18000 || x > 18000 || y < -9000 || y > 9000)
            return false;
        line.points << x << y;
    }
    if (line.points.size() < 4)
        return false;
    line.west = line.east = line.points.at(0);
    line.south = line.north = line.points.at(1);
    for (int i = 2; i < line.points.size(); i += 2) {
        line.west = qMin(line.west, line.points.at(i));
        line.east = qMax(line.east, line.points.at(i));
        line.south = qMin(line.south, line.points.at(i + 1));
        line.north = qMax(line.north, line.points.at(i + 1));
    }
    return true;
}

} // namespace

QVector<GroundLine> ReadGround(const QByteArray &text)
{
    QVector<GroundLine> lines;
    int begin = 0;
    while (begin < text.size()) {
        int end = text.indexOf('\n', begin);
        if (end < 0)
            end = text.size();
        GroundLine line;
        if (text.at(begin) != '#' && ReadGroundLine(text, begin, end, line))
            lines.append(line);
        begin = end + 1;
    }
    return lines;
}

QVector<GroundLine> MapGround()
{
    return ReadGround(QByteArray::fromRawData(reinterpret_cast<const char *>(mapGroundText), mapGroundTextSize));
}

MapProjection::MapProjection(double west, double south, double east, double north, double width, double height)
{
    const double middleLongitude = (west + east) / 2.0;
    const double middleLatitude = (south + north) / 2.0;
    const double cosine = qMax(0.05, std::cos(qDegreesToRadians(middleLatitude)));
    const double spanX = qMax(east - west, 1e-6) * cosine;
    const double spanY = qMax(north - south, 1e-6);
    m_pixelsPerDegree = std::min(width / spanX, height / spanY);
    m_pixelsPerDegreeX = m_pixelsPerDegree * cosine;
    const double halfWidth = width / m_pixelsPerDegreeX / 2.0;
    const double halfHeight = height / m_pixelsPerDegree / 2.0;
    m_west = middleLongitude - halfWidth;
    m_east = middleLongitude + halfWidth;
    m_south = middleLatitude - halfHeight;
    m_north = middleLatitude + halfHeight;
}

GeoPoint Destination(GeoPoint start, double bearing, double distance)
{
    const double latitude = qDegreesToRadians(start.latitude);
    const double angle = qDegreesToRadians(distance);
    const double course = qDegreesToRadians(bearing);
    const double sinLatitude
        = std::sin(latitude) * std::cos(angle) + std::cos(latitude) * std::sin(angle) * std::cos(course);
    const double reached = std::asin(qBound(-1.0, sinLatitude, 1.0));
    const double turn = std::atan2(std::sin(course) * std::sin(angle) * std::cos(latitude),
                                   std::cos(angle) - std::sin(latitude) * sinLatitude);
    GeoPoint point;
    point.latitude = qRadiansToDegrees(reached);
    point.longitude = start.longitude + qRadiansToDegrees(turn);
    return point;
}
