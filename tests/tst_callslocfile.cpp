// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"
#include "testsupport.h"

#include "base/clock.h"
#include "database/calldatabase.h"
#include "readers/callslocfile.h"
#include "writers/callslocfile.h"
#include "writers/outputlayout.h"

/*
 * gridcol's own database file: the lines the reader takes, and a database
 * written and read back.
 */

class TestCallsLocFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void parseLine_data() { AddRows("callslocfile/parseLine.tsv"); }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, parsed);
        CallsLocLineParser parser;
        // A second reading, with the date in memory, is the same.
        for (int round = 0; round < 2; ++round) {
            const std::optional<CallsLocRecord> record = parser.parse(line);
            QCOMPARE(record ? QStringList({ record->call, record->locator, DateText(record->date),
                                            QString::number(record->weight) })
                                  .join(QLatin1Char('|'))
                            : QStringLiteral("-"),
                     parsed);
        }
    }

    void roundTrip()
    {
        // A database written as calls_loc.dat and read back line by line is the
        // same database: calls, locators, weights and days.
        FillDatabase(3000);
        const QByteArray written = BuildCallsLocDat(OutputLayout(CallDatabase));
        CallList read;
        RecordAdder adder(read, nullptr, Clock::Now());
        CallsLocLineParser parser;
        const QList<QByteArray> lines = written.split('\n');
        QVERIFY(lines.size() > 3000 && lines.last().isEmpty());
        for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
            const std::optional<CallsLocRecord> record = parser.parse(QString::fromLocal8Bit(line));
            QVERIFY2(record, line.left(80).constData());
            adder.add(record->call, record->locator, record->date, record->weight);
        }
        QCOMPARE(DatabaseText(read, true), DatabaseText(CallDatabase, true));
    }
};

GRIDCOL_TEST_MAIN(TestCallsLocFile)
#include "tst_callslocfile.moc"
