// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/maidenhead.h"
#include "writers/mapground.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVector>

#include <functional>

/// The drawing of the map page (writers/mapfile.h): its SVG elements, the
/// grid, the ground and the legend, with every number written the same way
/// on every system and every text escaped.

/// The shades of the squares, light to dark (ColorBrewer's YlGnBu), as the
/// page's style names them: class "s0" to "s5". Like every colour of the
/// map they are drawn solid, so that a square shows exactly its legend's shade.
constexpr const char *mapShades[] = { "#ffffcc", "#c7e9b4", "#7fcdbb", "#41b6c4", "#2c7fb8", "#253494" };
constexpr int mapShadeCount = int(sizeof mapShades / sizeof mapShades[0]);
/// The colour of a suspect QSO's line (group "suspect"), and of the other
/// QSOs' lines (group "qso").
constexpr char mapSuspectColour[] = "#e31a1c";
constexpr char mapQsoColour[] = "#404040";

/// A locator the map draws: a Maidenhead square or subsquare (four or six
/// characters, upper case).
bool IsMapLocator(QStringView locator);
/// The square (two degrees by one) a place lies in, as a number from 0 to
/// 180 x 180 - 1: the column from the west times 180 plus the row from the south.
int SquareIndex(GeoPoint point);
/// The four characters of a square number.
QString SquareName(int square);
/// The distance between the centres of two map locators in km, as the
/// contest rules count it.
double MapKilometres(QStringView a, QStringView b);
/// The distance in whole km: the contest QRB between six-character locators.
int MapQrb(QStringView a, QStringView b);
/// Calls back with every square the frame shows, column by column from the west.
void ForEachSquareInView(const MapProjection &projection, const std::function<void(int square)> &visit);

/// What the legend explains.
struct MapLegend
{
    QVector<int> classes; ///< the lower bound of each shade's counts
    int most = 0; ///< the most calls a square in the frame has
    bool checking = false; ///< the map of checked logs
    bool dots = false; ///< calls drawn as dots
    int callsInView = 0;
    int farLines = 0; ///< lines drawn between far-apart locators
    int farPairs = 0; ///< such pairs in view
    QString home; ///< as set
    bool homeShown = false;
};

/// Writes the page. Elements that take a hover text are left open: the
/// caller adds "<title>...</title>" and the closing tag.
class SvgWriter
{
public:
    SvgWriter(const MapProjection &projection, double mapLeft, double mapTop)
        : m_projection(projection)
        , m_mapLeft(mapLeft)
        , m_mapTop(mapTop)
    {
    }

    QByteArray &out() { return m_out; }
    void raw(const char *text) { m_out += text; }
    void raw(const QByteArray &text) { m_out += text; }
    /// Text as XML character data: markup characters escaped, characters
    /// XML does not allow replaced by U+FFFD.
    void text(QStringView text);
    /// A <text> element of a style class.
    void text(double x, double y, const char *styleClass, const QByteArray &utf8);
    /// A number of pixels, to a tenth.
    void number(double value);

    void beginPage(const QByteArray &title, double width, double height);
    void endPage();
    /// The map's own viewport below the title; everything outside it is cut off.
    void beginMap(double width, double height);
    void endMap();

    void squareRect(int square, int shade); ///< open <rect> of shade class "s<shade>"
    void grid(); ///< fields, and squares where they are wide enough
    void gridLabels(); ///< fields' names, and squares' where they fit
    void ground(const QVector<GroundLine> &lines);
    void homeRings(GeoPoint home);
    void line(GeoPoint from, GeoPoint to); ///< open <path>
    void circle(GeoPoint at, double radius); ///< open <circle>
    void stationMark(GeoPoint at, const char *styleClass); ///< open <path>, a diamond
    void legend(const MapLegend &legend, double left, double top);

private:
    void point(double x, double y);

    const MapProjection &m_projection;
    double m_mapLeft;
    double m_mapTop;
    QByteArray m_out;
};
