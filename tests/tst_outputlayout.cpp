// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"
#include "testsupport.h"

#include "database/calldatabase.h"
#include "database/locatororder.h"
#include "writers/outputlayout.h"

/*
 * The database as the outputs read it: laid out once, in the call order,
 * each call with its locators ranked.
 */

class TestOutputLayout : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void outputLayout()
    {
        FillDatabase(6000);
        const QString added = DatabaseText(CallDatabase, true);
        const OutputLayout layout(CallDatabase);

        // The list is sorted by call, and nothing else about it changed; the
        // index finds every call where it now stands.
        QStringList lines = added.split(QLatin1Char('\n'));
        lines.sort();
        QCOMPARE(DatabaseText(CallDatabase, true), lines.join(QLatin1Char('\n')).mid(1) + QLatin1Char('\n'));
        for (int i = 1; i < CallDatabase.size(); ++i)
            QVERIFY(CallDatabase.at(i - 1).call < CallDatabase.at(i).call);
        for (int i = 0; i < CallDatabase.size(); ++i)
            QCOMPARE(CallDatabase.indexOf(CallDatabase.at(i).call), i);

        // Every call and its ranked locators, as the outputs read them.
        QCOMPARE(layout.size(), CallDatabase.size());
        for (int i = 0; i < CallDatabase.size(); ++i) {
            const CallEntry &entry = CallDatabase.at(i);
            QCOMPARE(layout.callAt(i), QStringView(entry.call));
            const QVector<LocatorEntry> expected = RankedLocators(entry);
            const RankedLocatorList ranked = layout.locatorsAt(i);
            QCOMPARE(ranked.size(), expected.size());
            for (int k = 0; k < ranked.size(); ++k) {
                QCOMPARE(ranked.at(k).locator, QStringView(expected.at(k).locator));
                QCOMPARE(ranked.at(k).weight, expected.at(k).weight);
                QCOMPARE(ranked.at(k).stamp, expected.at(k).stamp);
                QCOMPARE(ranked.at(k).date, expected.at(k).date);
            }
        }
        QCOMPARE(layout.callAt(layout.size() - 1).size(), 70000);
    }
};

GRIDCOL_TEST_MAIN(TestOutputLayout)
#include "tst_outputlayout.moc"
