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
    void readInOrder_data() { AddRows("workqueue/readInOrder.tsv"); }

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
