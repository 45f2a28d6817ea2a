// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/clock.h"
#include "database/logcheck.h"

/*
 * The rules of the log check on a small database: each verdict, where one
 * rule gives way to another, and the calls one step from a call.
 */

class TestLogCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ResetProgramState();
        const QDateTime day = Clock::Now().addDays(-3);
        for (const QStringList &row : ReadRows("logcheck/database.tsv"))
            AddCallLocator(row.at(0), row.at(1), day, row.at(2).toInt());
    }

    void verdicts_data() { AddRows("logcheck/verdicts.tsv"); }

    void verdicts()
    {
        QFETCH(QString, call);
        QFETCH(QString, locator);
        QFETCH(int, claimed);
        QFETCH(QString, verdict);
        QFETCH(int, qrb);
        QFETCH(bool, hint);
        CheckedQso qso;
        qso.call = call;
        qso.locator = locator;
        qso.claimedQrb = claimed;
        const QsoJudgement judgement
            = LogChecker(CallDatabase).judge(qso, QStringLiteral("JO62PL"), QStringLiteral("DL9XYZ"));
        QCOMPARE(VerdictName(judgement.verdict), verdict);
        QCOMPARE(judgement.qrb, qrb);
        QCOMPARE(judgement.qrbHint, hint);
        QCOMPARE(IsSuspect(judgement.verdict), verdict.startsWith(QLatin1String("SUSPECT")) || verdict == "BAD-LOC");
    }

    void nearCalls_data() { AddRows("logcheck/nearCalls.tsv"); }

    void nearCalls()
    {
        QFETCH(QString, call);
        QFETCH(QStringList, among);
        QFETCH(QStringList, notAmong);
        QStringList near = NearCalls(call);
        for (const QString &candidate : among)
            QVERIFY2(near.contains(candidate), qPrintable(candidate));
        for (const QString &candidate : notAmong)
            QVERIFY2(!near.contains(candidate), qPrintable(candidate));
        QCOMPARE(near.removeDuplicates(), 0);
    }
};

GRIDCOL_TEST_MAIN(TestLogCheck)
#include "tst_logcheck.moc"
