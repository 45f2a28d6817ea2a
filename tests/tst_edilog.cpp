// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/edilog.h"

/*
 * The per-line steps of the EDI contest log reader: header lines, the
 * contest date and the lines of the QSO section.
 */

class TestEdiLog : public QObject
{
    Q_OBJECT

private slots:
    void qsoLine_data() { AddRows("edilog/qsoLine.tsv"); }

    void qsoLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, parsed);
        EdiDates dates;
        // A second reading, with the dates in memory, is the same.
        for (int round = 0; round < 2; ++round) {
            const EdiQsoLine qso = ParseEdiQsoLine(line, dates);
            if (qso.kind == EdiQsoLine::Contact)
                QCOMPARE(qso.call + QLatin1Char('|') + qso.locator + QLatin1Char('|') + DateText(qso.date), parsed);
            else
                QCOMPARE(QLatin1String(qso.kind == EdiQsoLine::SectionEnd ? "end" : "skipped"), parsed);
        }
    }

    void headerLine_data() { AddRows("edilog/headerLine.tsv"); }

    void headerLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, header);
        EdiHeader applied { QStringLiteral("C"), QStringLiteral("L"), TestNow() };
        EdiDates dates;
        const bool section = ApplyEdiHeaderLine(line, applied, dates);
        QCOMPARE(applied.ownCall + QLatin1Char('|') + applied.ownLocator + QLatin1Char('|') + DateText(applied.ownDate)
                     + QLatin1Char('|') + QLatin1String(section ? "section" : ""),
                 header);
    }

    void headerDate_data() { AddRows("edilog/headerDate.tsv"); }

    void headerDate()
    {
        QFETCH(QString, value);
        QFETCH(QString, date);
        EdiDates dates;
        QCOMPARE(DateText(ParseEdiHeaderDate(value, dates)), date);
        QCOMPARE(DateText(ParseEdiHeaderDate(value, dates)), date);
    }
};

GRIDCOL_TEST_MAIN(TestEdiLog)
#include "tst_edilog.moc"
