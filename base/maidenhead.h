// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

/// Maidenhead locators: fields (two letters A-R), squares (two digits) and
/// subsquares (two letters A-X), as VHF contests exchange them, and the
/// distances between them as the contest rules score them.

/// A place on the earth, in degrees; north and east positive.
struct GeoPoint
{
    double latitude = 0.0;
    double longitude = 0.0;
};

/// True for a six-character locator: A-R, A-R, 0-9, 0-9, A-X, A-X, in any case.
bool IsLocator6(QStringView text);

/// True for a locator of two, four or six characters, as IsLocator6 reads
/// the characters it has.
bool IsLocatorOf(QStringView text, int length);

/// The centre of a valid locator of two, four or six characters.
GeoPoint LocatorCentre(QStringView locator);

/// The south-west corner of a valid locator of two, four or six characters,
/// and its size in degrees (20 x 10 for a field, 2 x 1 for a square, 5 x 2.5
/// minutes for a subsquare).
GeoPoint LocatorCorner(QStringView locator);
double LocatorWidth(int length);
double LocatorHeight(int length);

/// The great-circle arc between two places, in degrees.
double ArcDegrees(GeoPoint a, GeoPoint b);

/// Kilometres per degree of arc, as the contest rules count them.
constexpr double kilometresPerDegree = 111.2;

/// The distance in kilometres between the centres of two six-character
/// locators: great circle on a sphere, 111.2 km per degree.
double LocatorDistance(QStringView a, QStringView b);

/// The distance a contest scores for a contact between two six-character
/// locators, in whole kilometres: the distance rounded down, plus one, so
/// that a contact within one subsquare counts 1 km.
int ContestQrb(QStringView a, QStringView b);
