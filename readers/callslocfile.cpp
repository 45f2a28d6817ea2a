// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/callslocfile.h"

#include "base/clock.h"
#include "base/console.h"
#include "base/text.h"
#include "readers/sourcefiles.h"
#include "readers/sourcepipeline.h"

namespace {

/// 98 characters of text a read, plus the terminating zero.
constexpr int lineBufferSize = 99;

const SourceTexts callsLocTexts { "%s found, processing ... \n", "Processing %s \n", nullptr,
                                  "calls_loc.dat found, read  ... ", " %d Call/Locator combinations\n" };

/// Reads one file into parts and hands each on, in order; touches nothing
/// but what it is handed.
template<typename HandOn>
void ParseCallsLocFile(int index, const QString &path, RecordPreparer &preparer, HandOn &&handOn)
{
    ReadSourceParts(index, path, lineBufferSize, handOn, [&](TextLineReader &reader, SourcePart &part, auto full) {
        CallsLocLineParser parser;
        QString line;
        while (reader.readLine(line)) {
            const std::optional<CallsLocRecord> record = parser.parse(line);
            if (!record)
                continue;
            preparer.add(part, record->call, record->locator, record->date, record->weight);
            ++part.counted;
            full();
        }
    });
}

} // namespace

std::optional<CallsLocRecord> CallsLocLineParser::parse(const QString &line)
{
    const QString simplified = line.simplified();
    QStringView fields[4];
    if (SplitView(simplified, QLatin1Char(','), fields, 4) < 4)
        return std::nullopt;

    // Once the whole line is simplified, simplifying a field only trims it.
    CallsLocRecord record;
    record.call = fields[0].trimmed().toString();
    record.locator = fields[1].trimmed().toString();
    record.weight = ToInt(fields[3].trimmed());
    if (record.call.isEmpty() || record.locator.isEmpty() || record.weight <= 0)
        return std::nullopt;
    // The date is matched exactly as the line's simplification left it: a
    // blank after the comma stays and makes the date invalid.
    record.date = m_dates.parse(fields[2]);
    return record;
}

int ReadCallsLocFile(const SourceFile &file)
{
    RecordPreparer preparer(Clock::Now(), DebugLog != nullptr);
    return ReadSourceFile(file, callsLocTexts,
                          [&](int i, auto &&handOn) { ParseCallsLocFile(i, file.path, preparer, handOn); });
}

void ReadCallsLocFiles(const QString &directory)
{
    // The files are read on a second thread, and taken in here in their order.
    const SourceFileList files = ListSourceFiles(directory, QStringLiteral("calls_loc*.dat"));
    RecordPreparer preparer(Clock::Now(), DebugLog != nullptr);
    ReadSourceFiles(files, callsLocTexts,
                    [&](int i, auto &&handOn) { ParseCallsLocFile(i, files.at(i).path, preparer, handOn); });
}
