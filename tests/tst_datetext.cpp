// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/datetext.h"

/*
 * Day texts written with a memory of earlier answers: every answer is Qt's
 * own, however full that memory is.
 */

class TestDateText : public QObject
{
    Q_OBJECT

private slots:
    void dayTexts()
    {
        // Ten thousand days, more than the memory of days holds, twice over,
        // and dates that are not local ones.
        DayBytes days;
        DayTexts texts;
        QList<QDateTime> dates;
        for (int day = 0; day < 10000; day += 1 + day % 3)
            dates << Day("01.01.2000").addDays(day).addSecs(day % 5 == 0 ? 3600 : 0);
        // The same moment is the 15th in UTC and the 16th here.
        const QDateTime utc(QDate(2026, 6, 15), QTime(23, 30), Qt::UTC);
        dates << utc << utc.toLocalTime() << utc << QDateTime();
        for (int round = 0; round < 2; ++round) {
            for (const QDateTime &date : qAsConst(dates)) {
                const QString day = date.toString(QStringLiteral("dd.MM.yyyy"));
                QCOMPARE(texts.text(date), day);
                QCOMPARE(days.text(date, date.toMSecsSinceEpoch()), day.toLocal8Bit());
            }
        }
    }

    void signs_data() { AddRows("datetext/signs.tsv"); }

    void signs()
    {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        DateTextParser parser(format);
        // Asked twice: the remembered answer is the same.
        for (int round = 0; round < 2; ++round)
            QCOMPARE(DateText(parser.parse(text), QStringLiteral("dd.MM.yyyy hh:mm")), parsed);
    }
};

GRIDCOL_TEST_MAIN(TestDateText)
#include "tst_datetext.moc"
