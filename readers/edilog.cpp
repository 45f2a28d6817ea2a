// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/edilog.h"

#include "base/clock.h"
#include "base/console.h"
#include "base/text.h"
#include "database/blacklist.h"
#include "readers/sourcefiles.h"
#include "readers/sourcepipeline.h"

#include <vector>

namespace {

/// 98 characters of text a read, plus the terminating zero.
constexpr int lineBufferSize = 99;

/// Fields of a QSO record, counted from 0: date, worked call, received locator.
constexpr int dateField = 0;
constexpr int callField = 2;
constexpr int locatorField = 9;
constexpr int minimumFields = 10;

/// The line as line.simplified() leaves it, without a copy when it has no
/// white space but its line end, and no text beyond ASCII, as nearly every
/// line of a log.
QStringView SimplifiedLine(const QString &line, QString &storage)
{
    const int size = line.size();
    const int end = size > 0 && line.at(size - 1) == QLatin1Char('\n') ? size - 1 : size;
    const QChar *data = line.constData();
    for (int i = 0; i < end; ++i) {
        if (data[i].unicode() <= ' ' || data[i].unicode() >= 0x80) {
            storage = line.simplified();
            return storage;
        }
    }
    return QStringView(data, end);
}

} // namespace

QDateTime ParseEdiHeaderDate(const QString &value, EdiDates &dates)
{
    const QDateTime whole = dates.shortDates.parse(value);
    if (whole.isValid())
        return whole;
    // Real REG1TEST logs give the first and the last day of the contest in
    // eight digits; "yyMMdd" never matches that, and the own station, the
    // strongest record of the log, would be lost as undated. The first day
    // is the date of the log.
    const QString first = value.section(QLatin1Char(';'), 0, 0);
    const QDateTime longDate = dates.longDates.parse(first);
    if (longDate.isValid())
        return longDate;
    return dates.shortDates.parse(first);
}

bool ApplyEdiHeaderLine(const QString &line, EdiHeader &header, EdiDates &dates)
{
    const QString simplified = line.simplified();
    QStringView parts[2];
    if (SplitView(simplified, QLatin1Char('='), parts, 2) == 2) {
        // The key is taken exactly as split: "PCall =" is not "PCall"; the
        // value ends at a second "=".
        const QStringView key = parts[0];
        const QString value = parts[1].toString();
        if (key.compare(QLatin1String("PCall"), Qt::CaseInsensitive) == 0)
            header.ownCall = value;
        else if (key.compare(QLatin1String("PWWLo"), Qt::CaseInsensitive) == 0)
            header.ownLocator = value;
        else if (key.compare(QLatin1String("TDate"), Qt::CaseInsensitive) == 0)
            header.ownDate = ParseEdiHeaderDate(value, dates);
    }
    return simplified.startsWith(QLatin1String("[QSORecords"), Qt::CaseInsensitive);
}

EdiQsoLine ParseEdiQsoLine(const QString &line, EdiDates &dates)
{
    EdiQsoLine qso;
    QString storage;
    const QStringView simplified = SimplifiedLine(line, storage);
    if (simplified.startsWith(QLatin1Char('['))) {
        qso.kind = EdiQsoLine::SectionEnd;
        return qso;
    }
    // The fields up to the locator, split at ";" without copies.
    QStringView fields[minimumFields];
    if (SplitView(simplified, QLatin1Char(';'), fields, minimumFields) < minimumFields)
        return qso;
    QString call, locator;
    qso.call = SimplifiedView(fields[callField], call).toString();
    qso.locator = SimplifiedView(fields[locatorField], locator).toString();
    if (qso.call.isEmpty() || qso.locator.isEmpty())
        return qso;
    // The date is matched as the line's simplification left it: a blank
    // inside the field makes it invalid, which does not skip the contact.
    qso.date = dates.shortDates.parse(fields[dateField]);
    qso.kind = EdiQsoLine::Contact;
    return qso;
}

namespace {

const SourceTexts ediTexts { "Processing %s ... ", "Process %s \n", "Fehler beim Oeffnen\n", nullptr, "%d\n" };

/// What reading logs on one thread needs, handed to it: its own preparer
/// and date memories, the run's moment and the blacklist, which no one
/// changes while logs are read.
struct EdiReading
{
    RecordPreparer preparer;
    const BlacklistTable &blacklist;
    QDateTime now;
    EdiDates dates;
};

/// Reads one log into parts and hands each on, in order. Touches nothing but
/// what it is handed.
template<typename HandOn>
void ParseEdiLog(int index, const QString &path, EdiReading &reading, HandOn &&handOn)
{
    ReadSourceParts(index, path, lineBufferSize, handOn, [&](TextLineReader &reader, SourcePart &part, auto full) {
        EdiHeader header;
        header.ownDate = reading.now;
        bool qsoSection = false;
        QString line;
        while (reader.readLine(line)) {
            if (ApplyEdiHeaderLine(line, header, reading.dates)) {
                qsoSection = true;
                break;
            }
        }
        if (!header.ownCall.isEmpty() && !header.ownLocator.isEmpty())
            reading.preparer.add(part, header.ownCall, header.ownLocator, header.ownDate, 10);

        // A log that ends before its QSO section has no contacts.
        while (qsoSection && reader.readLine(line)) {
            const EdiQsoLine qso = ParseEdiQsoLine(line, reading.dates);
            if (qso.kind == EdiQsoLine::SectionEnd)
                break;
            if (qso.kind != EdiQsoLine::Contact)
                continue;
            if (IsBlacklisted(reading.blacklist, qso.call, header.ownCall, qso.date)) {
                const QByteArray message = BlacklistedMessage(qso.call, header.ownCall);
                part.console += message;
                if (reading.preparer.logging())
                    part.log += message;
                continue;
            }
            reading.preparer.add(part, qso.call, qso.locator, qso.date, 1);
            ++part.counted;
            full();
        }
    });
}

EdiReading ReadingForRun()
{
    const QDateTime now = Clock::Now();
    return EdiReading { RecordPreparer(now, DebugLog != nullptr), Blacklist, now, EdiDates() };
}

} // namespace

int ReadEdiFile(const SourceFile &file)
{
    EdiReading reading = ReadingForRun();
    return ReadSourceFile(file, ediTexts, [&](int i, auto &&handOn) { ParseEdiLog(i, file.path, reading, handOn); });
}

void ReadEdiFiles(const QString &directory)
{
    // The logs are read on two threads, each with its own reading state, and
    // taken in here in their order.
    constexpr int readers = 2;
    const SourceFileList files = ListSourceFiles(directory, QStringLiteral("*.edi"));
    std::vector<EdiReading> readings(readers, ReadingForRun());
    ReadSourceFiles(
        files, ediTexts,
        [&](int i, auto &&handOn) { ParseEdiLog(i, files.at(i).path, readings[std::size_t(i % readers)], handOn); },
        readers);
}
