// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/maidenhead.h"

#include <QByteArray>
#include <QVector>

/// The ground under the map: coastlines and country borders from Natural
/// Earth (public domain), built into the program from writers/mapground.txt
/// (tools/make-map-ground.py makes that file), and the projection the map
/// draws it in.

/// One line of the ground, its points in hundredths of a degree.
struct GroundLine
{
    bool border = false; ///< a country border; else a coastline or lake shore
    int west = 0, east = 0, south = 0, north = 0; ///< the box around the points
    QVector<int> points; ///< longitude, latitude, longitude, latitude, ...
};

/// Every line of the built-in ground, coastlines first, in file order.
QVector<GroundLine> MapGround();

/// The lines of ground text in the file's format (see tools/make-map-ground.py):
/// "C" or "B", then the first point, then each point as its difference to
/// the one before; lines starting with "#" are comments. A line that does not
/// read is left out.
QVector<GroundLine> ReadGround(const QByteArray &text);

/// An equirectangular projection scaled by the cosine of the middle latitude,
/// so that distances along that latitude and along every meridian are true,
/// of a frame onto a box of pixels (x to the right, y down).
class MapProjection
{
public:
    /// The frame given in degrees, widened in one direction around its
    /// middle so that it fills width x height pixels exactly.
    MapProjection(double west, double south, double east, double north, double width, double height);

    double x(double longitude) const { return (longitude - m_west) * m_pixelsPerDegreeX; }
    double y(double latitude) const { return (m_north - latitude) * m_pixelsPerDegree; }
    double west() const { return m_west; }
    double east() const { return m_east; }
    double south() const { return m_south; }
    double north() const { return m_north; }
    /// Pixels a degree of latitude (and a degree of arc along the middle latitude).
    double pixelsPerDegree() const { return m_pixelsPerDegree; }
    /// Pixels a degree of longitude.
    double pixelsPerDegreeX() const { return m_pixelsPerDegreeX; }
    bool contains(GeoPoint point) const
    {
        return point.longitude >= m_west && point.longitude <= m_east && point.latitude >= m_south
            && point.latitude <= m_north;
    }

private:
    double m_west, m_east, m_south, m_north;
    double m_pixelsPerDegree = 1.0;
    double m_pixelsPerDegreeX = 1.0;
};

/// The place reached from start going distance degrees of arc towards
/// bearing (degrees clockwise from north), on a sphere.
GeoPoint Destination(GeoPoint start, double bearing, double distance);
