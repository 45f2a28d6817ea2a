// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/mapfile.h"

#include "base/maidenhead.h"
#include "base/text.h"
#include "writers/mapground.h"
#include "writers/mapsvg.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The page: a title band, the map, and the legend to its right.
constexpr double mapLeft = 8.0;
constexpr double mapTop = 56.0;
constexpr double mapWidth = 960.0;
constexpr double mapHeight = 720.0;
constexpr double panelLeft = 984.0;
constexpr double pageWidth = 1200.0;
constexpr double pageHeight = mapTop + mapHeight + 8.0;
/// Locators of one call farther apart than this get a line between them.
constexpr double farKilometres = 100.0;
/// With this many calls or more the frame of a database's map leaves out the
/// outermost hundredth on each side, so that a few far-off calls do not
/// shrink the rest. A checked log's map shows every QSO: each is a finding.
constexpr int quantileFramePoints = 100;

/// The calls with a locator the map can draw, and what it cannot.
struct Survey
{
    struct Place
    {
        int call; ///< position in the layout
        int best; ///< the first drawable locator in the locator order
        GeoPoint at;
    };
    QVector<Place> places;
    std::vector<int> squareCalls = std::vector<int>(180 * 180, 0); ///< calls by best locator's square
    int locators = 0;
    int undrawable = 0; ///< locators that are not Maidenhead locators of four or six characters
};

Survey SurveyDatabase(const OutputLayout &layout)
{
    Survey survey;
    for (int i = 0; i < layout.size(); ++i) {
        const RankedLocatorList ranked = layout.locatorsAt(i);
        int best = -1;
        for (int j = 0; j < ranked.size(); ++j) {
            ++survey.locators;
            if (!IsMapLocator(ranked.at(j).locator))
                ++survey.undrawable;
            else if (best < 0)
                best = j;
        }
        if (best < 0)
            continue;
        const GeoPoint at = LocatorCentre(ranked.at(best).locator);
        survey.places.append({ i, best, at });
        ++survey.squareCalls[size_t(SquareIndex(at))];
    }
    return survey;
}

/// A box of degrees around points.
struct Box
{
    double west = 0.0, east = 0.0, south = 0.0, north = 0.0;
    bool empty = true;
    void add(GeoPoint point)
    {
        if (empty) {
            west = east = point.longitude;
            south = north = point.latitude;
            empty = false;
            return;
        }
        west = qMin(west, point.longitude);
        east = qMax(east, point.longitude);
        south = qMin(south, point.latitude);
        north = qMax(north, point.latitude);
    }
};

/// The frame of the map around points, with a margin; home always inside.
MapProjection FrameAround(const QVector<GeoPoint> &points, bool trimOutliers, const GeoPoint *home)
{
    Box box;
    if (trimOutliers && points.size() >= quantileFramePoints) {
        std::vector<double> longitudes, latitudes;
        for (const GeoPoint &point : points) {
            longitudes.push_back(point.longitude);
            latitudes.push_back(point.latitude);
        }
        const auto quantile = [](std::vector<double> &values, size_t at) {
            std::nth_element(values.begin(), values.begin() + long(at), values.end());
            return values[at];
        };
        const size_t low = points.size() / 100;
        const size_t high = size_t(points.size()) - 1 - low;
        box.add({ quantile(latitudes, low), quantile(longitudes, low) });
        box.add({ quantile(latitudes, high), quantile(longitudes, high) });
    } else {
        for (const GeoPoint &point : points)
            box.add(point);
    }
    if (home)
        box.add(*home);
    if (box.empty) { // nothing to show: Europe, where VHF contests are
        box.add({ 34.0, -12.0 });
        box.add({ 64.0, 42.0 });
    }
    // At least a few squares wide, and a margin of a tenth on each side.
    const double middleLongitude = (box.west + box.east) / 2.0;
    const double middleLatitude = (box.south + box.north) / 2.0;
    const double halfWidth = qMax(4.0, box.east - box.west) * 0.6;
    const double halfHeight = qMax(2.0, box.north - box.south) * 0.6;
    return MapProjection(qMax(-180.0, middleLongitude - halfWidth), qMax(-89.0, middleLatitude - halfHeight),
                         qMin(180.0, middleLongitude + halfWidth), qMin(89.0, middleLatitude + halfHeight), mapWidth,
                         mapHeight);
}

/// The lower bounds of the shading classes for squares of up to most calls:
/// one class per count while they are few, else steps of 1, 2 and 5 times a
/// power of ten growing evenly to the largest count.
QVector<int> ShadeClasses(int most)
{
    QVector<int> bounds { 1 };
    for (int i = 1; i < mapShadeCount; ++i) {
        const double wanted = std::pow(double(qMax(1, most)), double(i) / mapShadeCount);
        double power = std::pow(10.0, std::floor(std::log10(wanted)));
        const double nice = wanted >= 5 * power ? 5 * power : wanted >= 2 * power ? 2 * power : power;
        const int bound = qMax(bounds.constLast() + 1, int(nice));
        if (bound > most)
            break;
        bounds.append(bound);
    }
    return bounds;
}

int ShadeClassOf(const QVector<int> &bounds, int count)
{
    int shade = 0;
    while (shade + 1 < bounds.size() && count >= bounds.at(shade + 1))
        ++shade;
    return shade;
}

QByteArray CountText(int count, const char *one, const char *many)
{
    return QByteArray::number(count) + ' ' + (count == 1 ? one : many);
}

/// The hover text of a call: the call, each locator with weight and date,
/// and the QRB from home.
void AppendCallTitle(SvgWriter &svg, const OutputLayout &layout, const Survey::Place &place, const QString &home)
{
    const RankedLocatorList ranked = layout.locatorsAt(place.call);
    svg.raw("<title>");
    svg.text(layout.callAt(place.call));
    for (const RankedLocator &locator : ranked) {
        svg.raw("\n");
        svg.text(locator.locator);
        svg.raw(" weight " + QByteArray::number(locator.weight) + ", last "
                + locator.date.date().toString(Qt::ISODate).toLatin1());
    }
    if (!home.isEmpty())
        svg.raw("\nQRB from " + home.toLatin1() + ": "
                + QByteArray::number(MapQrb(home, ranked.at(place.best).locator)) + " km");
    svg.raw("</title>");
}

/// What the page says in its title.
struct MapSummary
{
    QByteArray title;
    QByteArray subtitle;
};

/// A QSO the map draws: its log and its place there.
struct MapQso
{
    int log;
    int qso;
};

/// The hover text of a QSO: call, locator, date and time, QRB, the verdict and its evidence.
void AppendQsoTitle(SvgWriter &svg, const LogReport &log, int index)
{
    const CheckedQso &qso = log.qsos.at(index);
    const QsoJudgement &judgement = log.judgements.at(index);
    svg.text(qso.call);
    svg.raw(" ");
    svg.text(qso.locator);
    if (qso.date.isValid())
        svg.raw(", " + qso.date.toString(Qt::ISODate).toLatin1());
    if (qso.time.isValid())
        svg.raw(" " + qso.time.toString(QStringLiteral("HH:mm")).toLatin1());
    if (judgement.qrb >= 0)
        svg.raw(", QRB " + QByteArray::number(judgement.qrb) + " km");
    svg.raw("\n" + VerdictName(judgement.verdict).toLatin1());
    if (!judgement.evidence.isEmpty()) {
        svg.raw(": ");
        svg.text(judgement.evidence);
    }
}

} // namespace

QByteArray MapHomeWarning(const QString &home)
{
    if (home.isEmpty() || IsMapLocator(home.toUpper()))
        return QByteArray();
    return "Warning: home " + home.toUtf8() + " is not a Maidenhead locator; the map has no home mark\n";
}

QByteArray BuildMap(const OutputLayout &layout, const QVector<LogReport> &checkedLogs, const MapOptions &options)
{
    const bool checking = !checkedLogs.isEmpty();
    const Survey survey = SurveyDatabase(layout);
    const QString home = options.home.toUpper();
    const bool homeShown = !checking && IsMapLocator(home);
    const GeoPoint homePoint = homeShown ? LocatorCentre(home) : GeoPoint();

    // The QSOs that can be drawn, and the frame.
    QVector<MapQso> qsos;
    int qsosLeftOut = 0;
    QVector<GeoPoint> framed;
    for (int l = 0; l < checkedLogs.size(); ++l) {
        const LogReport &log = checkedLogs.at(l);
        const QString own = log.locator.toUpper();
        if (IsMapLocator(own))
            framed.append(LocatorCentre(own));
        for (int q = 0; q < log.qsos.size(); ++q) {
            if (!IsMapLocator(own) || !IsMapLocator(log.qsos.at(q).locator) || q >= log.judgements.size()) {
                ++qsosLeftOut;
                continue;
            }
            qsos.append({ l, q });
            framed.append(LocatorCentre(log.qsos.at(q).locator));
        }
    }
    if (!checking) {
        for (const Survey::Place &place : survey.places)
            framed.append(place.at);
    }
    const MapProjection projection = FrameAround(framed, !checking, homeShown ? &homePoint : nullptr);

    SvgWriter svg(projection, mapLeft, mapTop);
    QByteArray &out = svg.out();
    out.reserve(1 << 20);

    // The counts in view decide the shading classes and whether dots fit.
    int most = 0;
    ForEachSquareInView(projection, [&](int square) { most = qMax(most, survey.squareCalls[size_t(square)]); });
    const QVector<int> classes = ShadeClasses(most);
    QVector<const Survey::Place *> inView;
    for (const Survey::Place &place : survey.places) {
        if (projection.contains(place.at))
            inView.append(&place);
    }
    const bool dots = !checking && inView.size() <= mapDotLimit;

    const QByteArray when = options.moment.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toLatin1();
    MapSummary summary;
    if (checking) {
        int suspect = 0;
        for (const MapQso &qso : qsos)
            suspect += IsSuspect(checkedLogs.at(qso.log).judgements.at(qso.qso).verdict) ? 1 : 0;
        summary.title = "gridcol --check: the checked logs on the map, " + when;
        summary.subtitle = CountText(checkedLogs.size(), "log", "logs") + ", " + CountText(qsos.size(), "QSO", "QSOs")
            + " drawn, " + QByteArray::number(suspect) + " of them suspect";
        if (qsosLeftOut > 0)
            summary.subtitle += "; " + CountText(qsosLeftOut, "QSO", "QSOs") + " not drawn (no Maidenhead locator)";
    } else {
        summary.title = "gridcol: who was heard where, " + when;
        summary.subtitle = layout.size() == 0
            ? QByteArray("The database holds no calls.")
            : CountText(layout.size(), "call", "calls") + " with " + CountText(survey.locators, "locator", "locators");
        if (survey.undrawable > 0)
            summary.subtitle += "; " + CountText(survey.undrawable, "locator", "locators")
                + " not drawn (not a Maidenhead locator)";
        if (survey.places.size() > inView.size())
            summary.subtitle += "; " + CountText(survey.places.size() - inView.size(), "call", "calls")
                + " outside the frame";
    }

    svg.beginPage(summary.title, pageWidth, pageHeight);
    svg.text(mapLeft, 24.0, "title", summary.title);
    svg.text(mapLeft, 46.0, "subtitle", summary.subtitle);
    svg.beginMap(mapWidth, mapHeight);

    // The squares' shading, each with its count on hover.
    ForEachSquareInView(projection, [&](int square) {
        const int count = survey.squareCalls[size_t(square)];
        if (count == 0)
            return;
        svg.squareRect(square, ShadeClassOf(classes, count));
        svg.raw("<title>" + SquareName(square).toLatin1() + ": " + CountText(count, "call", "calls")
                + "</title></rect>\n");
    });
    svg.grid();
    svg.ground(MapGround());
    svg.gridLabels();

    if (homeShown)
        svg.homeRings(homePoint);

    // Lines between a call's far-apart locators, the heaviest first.
    struct CallLine
    {
        int weight;
        const Survey::Place *place;
        int other;
        double kilometres;
    };
    std::vector<CallLine> callLines;
    int farPairs = 0;
    if (!checking) {
        for (const Survey::Place &place : survey.places) {
            const RankedLocatorList ranked = layout.locatorsAt(place.call);
            const QStringView best = ranked.at(place.best).locator;
            for (int j = place.best + 1; j < ranked.size(); ++j) {
                if (!IsMapLocator(ranked.at(j).locator))
                    continue;
                const double kilometres = MapKilometres(best, ranked.at(j).locator);
                const GeoPoint other = LocatorCentre(ranked.at(j).locator);
                if (kilometres <= farKilometres || (!projection.contains(place.at) && !projection.contains(other)))
                    continue;
                ++farPairs;
                callLines.push_back({ ranked.at(j).weight, &place, j, kilometres });
            }
        }
        std::stable_sort(callLines.begin(), callLines.end(),
                         [](const CallLine &a, const CallLine &b) { return a.weight > b.weight; });
        if (callLines.size() > size_t(mapCallLineLimit))
            callLines.resize(size_t(mapCallLineLimit));
        // Drawn in list order, so that the page does not change with the cut.
        std::sort(callLines.begin(), callLines.end(), [](const CallLine &a, const CallLine &b) {
            return a.place->call != b.place->call ? a.place->call < b.place->call : a.other < b.other;
        });
        svg.raw("<g class=\"far\">\n");
        for (const CallLine &line : callLines) {
            const RankedLocatorList ranked = layout.locatorsAt(line.place->call);
            svg.line(line.place->at, LocatorCentre(ranked.at(line.other).locator));
            svg.raw("<title>");
            svg.text(layout.callAt(line.place->call));
            svg.raw(": ");
            svg.text(ranked.at(line.place->best).locator);
            svg.raw(" \xe2\x80\x93 ");
            svg.text(ranked.at(line.other).locator);
            svg.raw(", " + QByteArray::number(qRound(line.kilometres)) + " km</title></path>\n");
        }
        svg.raw("</g>\n");
    }

    if (dots) {
        svg.raw("<g class=\"dot\">\n");
        for (const Survey::Place *place : inView) {
            svg.circle(place->at, 3.0);
            AppendCallTitle(svg, layout, *place, homeShown ? home : QString());
            svg.raw("</circle>\n");
        }
        svg.raw("</g>\n");
    }

    // The QSOs: the others first, the suspect ones over them.
    for (const bool suspect : { false, true }) {
        svg.raw(suspect ? "<g class=\"suspect\">\n" : "<g class=\"qso\">\n");
        for (const MapQso &qso : qsos) {
            const LogReport &log = checkedLogs.at(qso.log);
            const QsoJudgement &judgement = log.judgements.at(qso.qso);
            if (IsSuspect(judgement.verdict) != suspect)
                continue;
            const CheckedQso &logged = log.qsos.at(qso.qso);
            const GeoPoint from = LocatorCentre(log.locator.toUpper());
            const GeoPoint to = LocatorCentre(logged.locator);
            for (int shape = 0; shape < 2; ++shape) {
                if (shape == 0)
                    svg.line(from, to);
                else
                    svg.circle(to, 4.0);
                svg.raw("<title>");
                AppendQsoTitle(svg, log, qso.qso);
                svg.raw(shape == 0 ? "</title></path>\n" : "</title></circle>\n");
            }
        }
        svg.raw("</g>\n");
    }
    for (const LogReport &log : checkedLogs) {
        if (!IsMapLocator(log.locator.toUpper()))
            continue;
        svg.stationMark(LocatorCentre(log.locator.toUpper()), "own");
        svg.raw("<title>");
        svg.text(log.call);
        svg.raw(" ");
        svg.text(log.locator);
        svg.raw(": ");
        svg.text(log.file);
        svg.raw(", " + CountText(log.qsos.size(), "QSO", "QSOs") + "</title></path>\n");
    }
    if (homeShown) {
        svg.stationMark(homePoint, "home");
        svg.raw("<title>Home " + home.toLatin1() + "</title></path>\n");
    }
    if (layout.size() == 0 && !checking)
        svg.text(mapWidth / 2.0, mapHeight / 2.0, "empty", QByteArray("The database holds no calls."));
    svg.endMap();

    // The legend.
    MapLegend legend;
    legend.classes = classes;
    legend.most = most;
    legend.checking = checking;
    legend.dots = dots;
    legend.callsInView = inView.size();
    legend.farLines = int(callLines.size());
    legend.farPairs = farPairs;
    legend.home = options.home;
    legend.homeShown = homeShown;
    svg.legend(legend, panelLeft, mapTop);
    svg.endPage();
    return out;
}

void WriteMapFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, const MapOptions &options)
{
    const QByteArray warning = MapHomeWarning(options.home);
    if (!warning.isEmpty())
        phase.print(warning);
    phase.print("Generate map " + fileName.toLocal8Bit() + '\n');
    phase.saveInPieces(
        fileName, 1,
        [&layout, options](int, int, QByteArray &out) { out = BuildMap(layout, QVector<LogReport>(), options); },
        OutputMode::Text);
}
