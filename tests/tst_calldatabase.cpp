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

    void weightSum_data() { AddRows("calldatabase/weightSum.tsv"); }

    void weightSum()
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

    void recordAdder_data() { AddRows("calldatabase/recordAdder.tsv"); }

    void recordAdder()
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
};

GRIDCOL_TEST_MAIN(TestCallDatabase)
#include "tst_calldatabase.moc"
