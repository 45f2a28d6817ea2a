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

    void parseLine_data();
    void parseLine();
    void roundTrip();
};

void TestCallsLocFile::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parsed"); // "call|locator|dd.MM.yyyy|weight", or "-" for a skipped line

    const auto row = [](const char *name, const char *line, const char *parsed) {
        QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(parsed);
    };
    const char *line = "DL1ABC|JO62QM|13.02.2025|3";
    row("a line", "DL1ABC,JO62QM,13.02.2025,3\n", line);
    row("more fields", "DL1ABC,JO62QM,13.02.2025,3,7,x\n", line);
    row("three fields", "DL1ABC,JO62QM,13.02.2025\n", "-");
    row("blanks around call, locator and weight", "  DL1ABC ,\tJO62QM ,13.02.2025, 3 \r\n", line);
    row("a blank before the date", "DL1AB, JO62QM, 01.02.2025,3\n", "DL1AB|JO62QM|invalid|3");
    row("a blank after the date", "DL1AB,JO62QM,01.02.2025 ,3\n", "DL1AB|JO62QM|invalid|3");
    row("white space inside simplified", "DL1 \t ABC,JO62QM,13.02.2025,3\n", "DL1 ABC|JO62QM|13.02.2025|3");
    row("case and text beyond ASCII kept", "d\xc3\xbc,jo62qm,13.02.2025,3\n", "d\xc3\xbc|jo62qm|13.02.2025|3");
    row("empty call", ",JO62QM,13.02.2025,3\n", "-");
    row("blank call", " ,JO62QM,13.02.2025,3\n", "-");
    row("empty locator", "DL1ABC,,13.02.2025,3\n", "-");
    row("weight 1", "DL1ABC,JO62QM,13.02.2025,1\n", "DL1ABC|JO62QM|13.02.2025|1");
    row("weight 0", "DL1ABC,JO62QM,13.02.2025,0\n", "-");
    row("negative weight", "DL1ABC,JO62QM,13.02.2025,-4\n", "-");
    row("no weight", "DL1ABC,JO62QM,13.02.2025,\n", "-");
    row("a weight with a sign", "DL1ABC,JO62QM,13.02.2025,+3\n", line);
    row("a weight with a fraction", "DL1ABC,JO62QM,13.02.2025,4.5\n", "-");
    row("the largest weight", "DL1ABC,JO62QM,13.02.2025,2147483647\n", "DL1ABC|JO62QM|13.02.2025|2147483647");
    row("a weight beyond int", "DL1ABC,JO62QM,13.02.2025,2147483648\n", "-");
    row("a two-digit year", "DL1ABC,JO62QM,13.02.25,3\n", "DL1ABC|JO62QM|invalid|3");
    row("month first", "DL1ABC,JO62QM,02.13.2025,3\n", "DL1ABC|JO62QM|invalid|3");
}

void TestCallsLocFile::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, parsed);
    CallsLocLineParser parser;
    // A second reading, with the date in memory, is the same.
    for (int round = 0; round < 2; ++round) {
        const std::optional<CallsLocRecord> record = parser.parse(line);
        const QString date = record && record->date.isValid() ? record->date.toString(QStringLiteral("dd.MM.yyyy"))
                                                              : QStringLiteral("invalid");
        QCOMPARE(record ? QStringList({ record->call, record->locator, date, QString::number(record->weight) })
                              .join(QLatin1Char('|'))
                        : QStringLiteral("-"),
                 parsed);
    }
}

void TestCallsLocFile::roundTrip()
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

GRIDCOL_TEST_MAIN(TestCallsLocFile)
#include "tst_callslocfile.moc"
