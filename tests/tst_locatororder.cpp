// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "database/locatororder.h"

#include <QtAlgorithms>

#include <random>

/*
 * The locator order, which is no strict weak order: what the outputs list
 * depends on the sorting procedure and the order the locators came in.
 */

class TestLocatorOrder : public QObject
{
    Q_OBJECT

private slots:
    void locatorOrder_data();
    void locatorOrder();
    void sortsAsQSort();
};

void TestLocatorOrder::locatorOrder_data()
{
    QTest::addColumn<QStringList>("added"); // "NAME weight dd.MM.yyyy", now is 15.06.2026
    QTest::addColumn<QString>("ranked");

    const QString x = QStringLiteral("X 5 15.06.2023");
    const QString y = QStringLiteral("Y 1 15.06.2025");
    const QString z = QStringLiteral("Z 2 15.06.2024");
    QTest::newRow("heavy old X, then light new Y") << QStringList { "X 5 01.01.2024", "Y 1 01.01.2026" } << "YX";
    QTest::newRow("light new Y, then heavy old X") << QStringList { "Y 1 01.01.2026", "X 5 01.01.2024" } << "XY";
    QTest::newRow("two of weight 1, older first") << QStringList { "A 1 01.01.2025", "B 1 01.01.2026" } << "BA";
    QTest::newRow("two of weight 1, newer first") << QStringList { "B 1 01.01.2026", "A 1 01.01.2025" } << "BA";
    // Summer and winter dates differ in their offset from UTC; the later moment is the newer.
    QTest::newRow("summer, then an older winter") << QStringList { "S 1 15.07.2025", "W 1 15.01.2025" } << "SW";
    QTest::newRow("summer, then a newer winter") << QStringList { "S 1 15.07.2025", "W 1 15.01.2026" } << "WS";
    QTest::newRow("3, 7, 3") << QStringList { "P 3 01.01.2026", "Q 7 01.01.2026", "R 3 01.01.2026" } << "QPR";
    QTest::newRow("3, 3, 7") << QStringList { "P 3 01.01.2026", "R 3 01.01.2026", "Q 7 01.01.2026" } << "QRP";
    QTest::newRow("X, Y, Z") << QStringList { x, y, z } << "YXZ";
    QTest::newRow("X, Z, Y") << QStringList { x, z, y } << "ZXY";
    QTest::newRow("Z, X, Y") << QStringList { z, x, y } << "XZY";
    QTest::newRow("five by weight") << QStringList { "A 2 01.01.2026", "B 9 01.01.2026", "C 4 01.01.2026",
                                                     "D 7 01.01.2026", "E 3 01.01.2026" }
                                    << "BDCEA";
}

void TestLocatorOrder::locatorOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QString, ranked);
    CallEntry entry { QStringLiteral("DL1ABC"), {} };
    for (const QString &text : added) {
        const QStringList parts = text.split(QLatin1Char(' '));
        const QDateTime date = Day(parts.at(2).toLatin1().constData());
        entry.locators.append({ parts.at(0), date, date.toMSecsSinceEpoch(), parts.at(1).toInt() });
    }
    QString names;
    for (const LocatorEntry &locator : RankedLocators(entry))
        names += locator.locator;
    QCOMPARE(names, ranked);
}

void TestLocatorOrder::sortsAsQSort()
{
    // The sort the outputs are defined by is Qt 5's qSort: on many random
    // lists, of few weights and dates so that the order is far from strict,
    // SortRange leaves every item where qSort leaves it.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    struct Item
    {
        qint64 stamp;
        int weight;
        int id;
    };
    std::mt19937 random(11);
    for (int round = 0; round < 50000; ++round) {
        QVector<Item> items(int(random() % 40));
        for (int i = 0; i < items.size(); ++i)
            items[i] = Item { qint64(random() % 5), int(random() % 4), i };
        QVector<Item> sorted = items;
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        qSort(items.begin(), items.end(), LocatorBefore<Item>);
        QT_WARNING_POP
        SortRange(sorted, LocatorBefore<Item>);
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(sorted.at(i).id, items.at(i).id);
    }
#else
    QSKIP("Qt 6 has no qSort; the Qt 5 build compares the two");
#endif
}

GRIDCOL_TEST_MAIN(TestLocatorOrder)
#include "tst_locatororder.moc"
