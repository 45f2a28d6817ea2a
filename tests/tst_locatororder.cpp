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
    void locatorOrder_data() { AddRows("locatororder/locatorOrder.tsv"); }

    void locatorOrder()
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

    void sortsAsQSort()
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
};

GRIDCOL_TEST_MAIN(TestLocatorOrder)
#include "tst_locatororder.moc"
