// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "writers/checkreport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

class OutputLayout;
class OutputPhase;

/// The map: one self-contained HTML page with the map as inline SVG (no
/// script, no font, style sheet or tile from elsewhere), which opens offline
/// in any browser and prints. It shows the Maidenhead grid over coastlines
/// and borders, each square shaded by the number of calls whose best locator
/// lies in it, and either the database's calls (a run's map) or the QSOs of
/// checked logs (gridcol --check --map).

struct MapOptions
{
    QString home; ///< the user's own locator, or empty: a mark and distance rings there
    QDateTime moment; ///< the run's moment, named in the title
};

/// The most calls in the frame that are still drawn as dots, each with its
/// hover text; with more the map shows the squares' shading alone.
constexpr int mapDotLimit = 2000;
/// The most lines between far-apart locators of one call a map draws: the
/// heaviest ones.
constexpr int mapCallLineLimit = 1500;

/// The page. Without checked logs it is the map of the database: framed to
/// the calls' best locators (and home), with a dot for each call while they
/// are few, and a line between a call's locators more than 100 km apart.
/// With checked logs it is framed to the logs' own locators and their QSOs,
/// and draws a line from the log's locator to each QSO's, the suspect ones in
/// their own colour; the database stays in the background as the squares'
/// shading. The same input gives the same bytes.
QByteArray BuildMap(const OutputLayout &layout, const QVector<LogReport> &checkedLogs, const MapOptions &options);

/// The console line for a home that is not a locator, or empty where home is
/// empty or a locator of four or six characters.
QByteArray MapHomeWarning(const QString &home);

/// The run's map: a warning for a home that is not a locator, the line
/// "Generate map <file>", and the page saved as every output is saved
/// (beside the old file, renamed over it when complete).
void WriteMapFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, const MapOptions &options);
