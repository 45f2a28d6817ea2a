// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"
#include "testsupport.h"

#include "base/clock.h"
#include "database/calldatabase.h"

/*
 * The database's way in: weights adding up, dates, the age limit and the
 * log lines of every record.
 */

class TestCallDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void weightSum_data();
    void weightSum();
    void recordAdder_data();
    void recordAdder();
};

void TestCallDatabase::weightSum_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("sum");
    const int largest = std::numeric_limits<int>::max();
    const int smallest = std::numeric_limits<int>::min();
    QTest::newRow("plain") << 5 << 7 << 12;
    QTest::newRow("up to the largest") << largest - 1 << 1 << largest;
    QTest::newRow("one past the largest") << largest << 1 << largest;
    QTest::newRow("largest twice") << largest << largest << largest;
    QTest::newRow("below the smallest") << smallest << -1 << smallest;
}

void TestCallDatabase::weightSum()
{
    // Weights of the same call and locator add up, and stay at the end of
    // the int range instead of wrapping round.
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, sum);
    AddCallLocator(u"DL1ABC", u"JO62QM", Clock::Now(), first);
    AddCallLocator(u"DL1ABC", u"JO62QM", Clock::Now(), second);
    QCOMPARE(CallDatabase.size(), 1);
    QCOMPARE(CallDatabase.at(0).locators.size(), 1);
    QCOMPARE(CallDatabase.at(0).locators.at(0).weight, sum);
}

void TestCallDatabase::recordAdder_data()
{
    QTest::addColumn<QStringList>("records"); // "call|locator|dd.MM.yyyy[ HH:mm]|weight"; now is 15.06.2026 12:00
    QTest::addColumn<QString>("log"); // in the local 8-bit encoding
    QTest::addColumn<QString>("database"); // DatabaseText()

    QTest::newRow("upper case, simplified")
        << QStringList { " dl1abc |jo62 \t qm\n|01.06.2026|1" } << "DL1ABC JO62 QM 01.06.2026\n"
        << "DL1ABC JO62 QM 1 01.06.2026\n";
    QTest::newRow("weights add up, the latest date stays")
        << QStringList { "DL1ABC|JO62QM|01.06.2026|2", "dl1abc|JO62QM|01.05.2026|3", "DL1ABC|JN00AA|01.05.2026|1",
                         "DL2X|JO62QM|02.05.2026|4", "DL1ABC|JN00AA|02.05.2026|1" }
        << "DL1ABC JO62QM 01.06.2026\nDL1ABC JO62QM 01.05.2026\nDL1ABC JN00AA 01.05.2026\n"
           "DL2X JO62QM 02.05.2026\nDL1ABC JN00AA 02.05.2026\n"
        << "DL1ABC JO62QM 5 01.06.2026 JN00AA 2 02.05.2026\nDL2X JO62QM 4 02.05.2026\n";
    QTest::newRow("calls and locators beyond eight characters or ASCII")
        << QStringList { "DL1ABC/P/LONG|JO62QM/LONGER|01.06.2026|1",
                         "d\xc3\xbc" "1|jo62qm|01.06.2026|1",
                         "DL1ABC/P/LONG|JO62QM/LONGER|02.06.2026|1", "DL1ABC/P/LONG|JO62QM/LONGES|01.06.2026|1" }
        << "DL1ABC/P/LONG JO62QM/LONGER 01.06.2026\nD\xc3\x9c" "1 JO62QM 01.06.2026\n"
           "DL1ABC/P/LONG JO62QM/LONGER 02.06.2026\nDL1ABC/P/LONG JO62QM/LONGES 01.06.2026\n"
        << "DL1ABC/P/LONG JO62QM/LONGER 2 02.06.2026 JO62QM/LONGES 1 01.06.2026\n" "D\xc3\x9c"
           "1 JO62QM 1 01.06.2026\n";
    // Four years before now, to the minute.
    QTest::newRow("the age limit")
        << QStringList { "A|L|15.06.2022 12:00|1", "B|L|15.06.2022 11:59|1", "C|L|15.06.2022|1", "D|L|16.06.2022|1" }
        << "A L 15.06.2022\nB L 15.06.2022\nQSO too old\nC L 15.06.2022\nQSO too old\nD L 16.06.2022\n"
        << "A L 1 15.06.2022\nD L 1 16.06.2022\n";
    // A year before 1980 is one written with two digits, which the date parser puts in the 1900s.
    QTest::newRow("two-digit years") << QStringList { "A|L|15.06.1925|1", "B|L|31.12.1979|1", "C|L|01.01.1980|1" }
                                     << "A L 15.06.2025\nB L 31.12.2079\nC L 01.01.1980\nQSO too old\n"
                                     << "A L 1 15.06.2025\nB L 1 31.12.2079\n";
    // An invalid date moves a century on to the first day Qt knows, as the log shows it.
    QTest::newRow("no date is too old") << QStringList { "A|L|01.02.x|1" } << "A L 24.11.-4714\nQSO too old\n" << "";
}

void TestCallDatabase::recordAdder()
{
    // A RecordAdder and records prepared elsewhere and merged after write the
    // same log lines and leave the same database.
    QFETCH(QStringList, records);
    QFETCH(QString, log);
    QFETCH(QString, database);
    std::FILE *file = std::tmpfile();
    RecordAdder adder(CallDatabase, file, Clock::Now());
    DatabaseDates dates;
    QVector<PreparedRecord> prepared;
    QByteArray preparedLog;
    for (const QString &record : qAsConst(records)) {
        const QStringList field = record.split(QLatin1Char('|'));
        const QDateTime date = Day(field.at(2).toLatin1().constData());
        adder.add(field.at(0), field.at(1), date, field.at(3).toInt());
        prepared << PrepareRecord(field.at(0), field.at(1), date, field.at(3).toInt(), AgeLimitStamp(Clock::Now()),
                                  dates, &preparedLog);
    }
    CallList merged;
    MergeRecords(merged, prepared);
    QCOMPARE(TakeFileText(file), log.toLocal8Bit());
    QCOMPARE(preparedLog, log.toLocal8Bit());
    QCOMPARE(DatabaseText(CallDatabase), database);
    QCOMPARE(DatabaseText(merged), database);
}

GRIDCOL_TEST_MAIN(TestCallDatabase)
#include "tst_calldatabase.moc"
