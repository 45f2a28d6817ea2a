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
    void initTestCase();
    void verdicts_data();
    void verdicts();
    void nearCalls_data();
    void nearCalls();
};

void TestLogCheck::initTestCase()
{
    ResetProgramState();
    const QDateTime day = Clock::Now().addDays(-3);
    AddCallLocator(u"DL1AAA", u"JO62QM", day, 40);
    AddCallLocator(u"DL1AAA", u"JO62QN", day, 9);
    AddCallLocator(u"DL1AAA", u"JO72AA", day, 11);
    AddCallLocator(u"DL2BBB/P", u"JN58TD", day, 3);
    AddCallLocator(u"OE3CCC", u"JN88EE", day, 2);
    AddCallLocator(u"0K1ABC", u"JO70AA", day, 5);
    AddCallLocator(u"DL9XYZ", u"JO62PL", day, 10);
}

void TestLogCheck::verdicts_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("locator");
    QTest::addColumn<int>("claimed");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("qrb");
    QTest::addColumn<bool>("hint");
    QTest::newRow("the best locator") << "DL1AAA" << "JO62QM" << 8 << "OK" << 8 << false;
    QTest::newRow("a quarter of the best is known") << "DL1AAA" << "JO72AA" << -1 << "OK" << 73 << false;
    QTest::newRow("less than a quarter is not") << "DL1AAA" << "JO62QN" << -1 << "SUSPECT-LOC" << 11 << false;
    QTest::newRow("two subsquares off, near") << "DL1AAA" << "JO62OK" << -1 << "NEW-LOC" << 8 << false;
    QTest::newRow("far off, fixed") << "DL1AAA" << "JO42AA" << -1 << "SUSPECT-LOC" << 361 << false;
    QTest::newRow("far off, portable") << "DL2BBB/P" << "JN47AA" << -1 << "NEW-LOC" << 715 << false;
    QTest::newRow("one character off, portable") << "DL2BBB/P" << "JN58TC" << -1 << "SUSPECT-LOC" << 501 << false;
    QTest::newRow("a neighbouring subsquare") << "OE3CCC" << "JN88FF" << -1 << "SUSPECT-LOC" << 524 << false;
    QTest::newRow("the letter O for the digit 0") << "OK1ABC" << "JO70AA" << -1 << "SUSPECT-CALL" << 279 << false;
    QTest::newRow("a near call far from here") << "OK1ABC" << "JO20AA" << -1 << "NEW-CALL" << 699 << false;
    QTest::newRow("the suffix left out") << "DL2BBB" << "JN58TD" << -1 << "SUSPECT-CALL" << 497 << false;
    QTest::newRow("two neighbours swapped") << "LD1AAA" << "JO62QM" << -1 << "SUSPECT-CALL" << 8 << false;
    QTest::newRow("the own call is no candidate") << "DL9XYY" << "JO62PL" << -1 << "NEW-CALL" << 1 << false;
    QTest::newRow("four characters") << "DL1AAA" << "JO62" << -1 << "BAD-LOC" << -1 << false;
    QTest::newRow("a QRB 2 km off") << "DL1AAA" << "JO62QM" << 10 << "OK" << 8 << true;
    QTest::newRow("a QRB 1 km off") << "DL1AAA" << "JO62QM" << 9 << "OK" << 8 << false;
}

void TestLogCheck::verdicts()
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
    const QsoJudgement judgement = LogChecker(CallDatabase).judge(qso, QStringLiteral("JO62PL"), QStringLiteral("DL9XYZ"));
    QCOMPARE(VerdictName(judgement.verdict), verdict);
    QCOMPARE(judgement.qrb, qrb);
    QCOMPARE(judgement.qrbHint, hint);
    QCOMPARE(IsSuspect(judgement.verdict), verdict.startsWith(QLatin1String("SUSPECT")) || verdict == "BAD-LOC");
}

void TestLogCheck::nearCalls_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("among"); // some of the near calls
    QTest::addColumn<QStringList>("notAmong");
    QTest::newRow("changed, swapped, left out, added")
        << "G4ABC" << QStringList { "G4ABD", "G4BAC", "G4AC", "G4ABCD", "G44ABC", "G4ABC/P", "G4ABC/MM" }
        << QStringList { "G4ABC", "G4CBA", "G4A", "G4ABC/P/P" };
    QTest::newRow("O and 0") << "OE0X" << QStringList { "0E0X", "OEOX" } << QStringList { "0EOX" };
    QTest::newRow("a suffix dropped, none added") << "YO5QBS/P"
                                                  << QStringList { "YO5QBS", "YO5QBS/M", "YO5QBS/" }
                                                  << QStringList { "YO5QBS/P/P", "YO5QBS/P/M" };
}

void TestLogCheck::nearCalls()
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

GRIDCOL_TEST_MAIN(TestLogCheck)
#include "tst_logcheck.moc"
