// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/workqueue.h"

/*
 * Files read on other threads and taken in on this one, in their order.
 */

class TestWorkQueue : public QObject
{
    Q_OBJECT

private slots:
    void readInOrder_data()
    {
        QTest::addColumn<QVector<int>>("parts"); // the number of parts of each file
        QTest::addColumn<int>("readers");
        // A queue holds 8 parts: longer files make their reader wait for the taker.
        QTest::newRow("one file, one reader") << QVector<int> { 3 } << 1;
        QTest::newRow("more readers than files") << QVector<int> { 2 } << 3;
        QTest::newRow("long files, one reader") << QVector<int> { 40, 1, 25 } << 1;
        QTest::newRow("long files, two readers") << QVector<int> { 40, 1, 25, 9, 1, 1, 30 } << 2;
        QTest::newRow("three readers") << QVector<int> { 1, 17, 1, 33, 2, 8, 9, 1 } << 3;
    }

    void readInOrder()
    {
        // Whatever thread reads a file and however far it gets ahead, the parts
        // are taken in file by file, each file's in its order.
        struct Part
        {
            int file = 0;
            int number = 0;
            bool last = false;
        };
        QFETCH(QVector<int>, parts);
        QFETCH(int, readers);
        QStringList expected, taken;
        for (int file = 0; file < parts.size(); ++file) {
            for (int k = 0; k < parts.at(file); ++k)
                expected << QStringLiteral("%1:%2").arg(file).arg(k);
        }
        ReadInOrder<Part>(
            parts.size(),
            [&parts](int file, auto &&handOn) {
                for (int k = 0; k < parts.at(file); ++k)
                    handOn(Part { file, k, k + 1 == parts.at(file) });
            },
            [&taken](const Part &part) { taken << QStringLiteral("%1:%2").arg(part.file).arg(part.number); }, readers);
        QCOMPARE(taken, expected);
    }
};

GRIDCOL_TEST_MAIN(TestWorkQueue)
#include "tst_workqueue.moc"
