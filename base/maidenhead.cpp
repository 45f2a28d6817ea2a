// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/maidenhead.h"

#include <QtMath>

#include <cmath>

namespace {

int Upper(QChar c)
{
    const ushort u = c.unicode();
    return u >= 'a' && u <= 'z' ? u - 'a' + 'A' : u;
}

bool InRange(QChar c, char first, char last)
{
    const int u = Upper(c);
    return u >= first && u <= last;
}

} // namespace

bool IsLocatorOf(QStringView text, int length)
{
    if (text.size() != length || (length != 2 && length != 4 && length != 6))
        return false;
    if (!InRange(text[0], 'A', 'R') || !InRange(text[1], 'A', 'R'))
        return false;
    if (length >= 4 && (!InRange(text[2], '0', '9') || !InRange(text[3], '0', '9')))
        return false;
    if (length == 6 && (!InRange(text[4], 'A', 'X') || !InRange(text[5], 'A', 'X')))
        return false;
    return true;
}

bool IsLocator6(QStringView text)
{
    return IsLocatorOf(text, 6);
}

double LocatorWidth(int length)
{
    return length == 2 ? 20.0 : length == 4 ? 2.0 : 2.0 / 24.0;
}

double LocatorHeight(int length)
{
    return length == 2 ? 10.0 : length == 4 ? 1.0 : 1.0 / 24.0;
}

GeoPoint LocatorCorner(QStringView locator)
{
    GeoPoint corner;
    corner.longitude = (Upper(locator[0]) - 'A') * 20.0 - 180.0;
    corner.latitude = (Upper(locator[1]) - 'A') * 10.0 - 90.0;
    if (locator.size() >= 4) {
        corner.longitude += (locator[2].unicode() - '0') * 2.0;
        corner.latitude += (locator[3].unicode() - '0') * 1.0;
    }
    if (locator.size() >= 6) {
        corner.longitude += (Upper(locator[4]) - 'A') * (2.0 / 24.0);
        corner.latitude += (Upper(locator[5]) - 'A') * (1.0 / 24.0);
    }
    return corner;
}

GeoPoint LocatorCentre(QStringView locator)
{
    GeoPoint centre = LocatorCorner(locator);
    const int length = int(locator.size());
    centre.longitude += LocatorWidth(length) / 2.0;
    centre.latitude += LocatorHeight(length) / 2.0;
    return centre;
}

double ArcDegrees(GeoPoint a, GeoPoint b)
{
    const double lat1 = qDegreesToRadians(a.latitude);
    const double lat2 = qDegreesToRadians(b.latitude);
    const double dlon = qDegreesToRadians(b.longitude - a.longitude);
    // The spherical law of cosines, kept within acos' domain against rounding.
    const double cosine = std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(dlon);
    return qRadiansToDegrees(std::acos(qBound(-1.0, cosine, 1.0)));
}

double LocatorDistance(QStringView a, QStringView b)
{
    return ArcDegrees(LocatorCentre(a), LocatorCentre(b)) * kilometresPerDegree;
}

int ContestQrb(QStringView a, QStringView b)
{
    return int(std::floor(LocatorDistance(a, b))) + 1;
}
