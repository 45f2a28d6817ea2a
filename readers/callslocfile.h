#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QString>

#include <optional>

class DayBytes;
class OutputPhase;

/// One usable line of a calls_loc file: call, locator, last-seen date, weight.
struct CallsLocRecord
{
    QString call;
    QString locator;
    QDateTime date;
    int weight = 0;
};

/// The per-line step of the calls_loc reader: the record a decoded line
/// yields, or nothing when the line is skipped (fewer than four fields, an
/// empty call or locator, a weight that is not a positive integer).
std::optional<CallsLocRecord> ParseCallsLocLine(const QString &line);

/// Reads every "calls_loc*.dat" file of a source directory into the database.
void ReadCallsLocFiles(const QString &directory);

/// Reads one calls_loc file into the database; returns the number of lines handed on.
int ReadCallsLocFile(const QFileInfo &file);

/// The content of "calls_loc.dat": one line per call and locator, calls in the
/// database's order, each call's locators ranked.
QByteArray BuildCallsLocDat();
/// Appends the lines of calls [begin, end) to out; days is the calling thread's own.
void AppendCallsLocDat(int begin, int end, QByteArray &out, DayBytes &days);

/// Announces and writes "calls_loc.dat" in the working directory.
void WriteCallsLocDat(OutputPhase &phase);
