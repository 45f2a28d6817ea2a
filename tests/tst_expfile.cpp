// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/expfile.h"

/*
 * The lines of "*.exp" export files: date, call and locator at fixed fields.
 */

class TestExpFile : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data() { AddRows("expfile/parseLine.tsv"); }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, parsed);
        ExpLineParser parser;
        for (int round = 0; round < 2; ++round) {
            const std::optional<AsciiRecord> record = parser.parse(line);
            QCOMPARE(record
                    ? record->call + QLatin1Char('|') + record->locator + QLatin1Char('|') + DateText(record->date)
                    : QStringLiteral("-"),
                parsed);
        }
    }
};

GRIDCOL_TEST_MAIN(TestExpFile)
#include "tst_expfile.moc"
