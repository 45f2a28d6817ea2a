// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/maidenhead.h"

class TestMaidenhead : public QObject
{
    Q_OBJECT

private slots:
    void locators_data();
    void locators();
    void distances_data();
    void distances();
};

void TestMaidenhead::locators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid"); // as a six-character locator
    QTest::addColumn<double>("latitude"); // of its centre, where valid
    QTest::addColumn<double>("longitude");
    QTest::newRow("JO62QM") << "JO62QM" << true << 52.520833 << 13.375;
    QTest::newRow("lower case") << "jo62qm" << true << 52.520833 << 13.375;
    QTest::newRow("the first") << "AA00AA" << true << -89.979167 << -179.958333;
    QTest::newRow("the last") << "RR99XX" << true << 89.979167 << 179.958333;
    QTest::newRow("field beyond R") << "SA00AA" << false << 0.0 << 0.0;
    QTest::newRow("subsquare beyond X") << "JO62QY" << false << 0.0 << 0.0;
    QTest::newRow("letter for a digit") << "JOA2QM" << false << 0.0 << 0.0;
    QTest::newRow("four characters") << "JO62" << false << 0.0 << 0.0;
    QTest::newRow("eight characters") << "JO62QM12" << false << 0.0 << 0.0;
}

void TestMaidenhead::locators()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QCOMPARE(IsLocator6(text), valid);
    if (!valid)
        return;
    const GeoPoint centre = LocatorCentre(text);
    QVERIFY(qAbs(centre.latitude - latitude) < 1e-5);
    QVERIFY(qAbs(centre.longitude - longitude) < 1e-5);
    QVERIFY(IsLocatorOf(text.left(4), 4) && IsLocatorOf(text.left(2), 2));
    QCOMPARE(LocatorCentre(text.left(4)).latitude, LocatorCorner(text.left(4)).latitude + 0.5);
    QCOMPARE(LocatorCentre(text.left(2)).longitude, LocatorCorner(text.left(2)).longitude + 10.0);
}

void TestMaidenhead::distances_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("qrb"); // the distance rounded down, plus one
    QTest::newRow("one subsquare") << "KN12PQ" << "KN12PQ" << 1;
    QTest::newRow("Sofia to Bucharest") << "KN12PQ" << "KN34AK" << 295;
    QTest::newRow("across a field") << "JN93GT" << "KN16NH" << 455;
    QTest::newRow("a long one") << "KN27FH" << "JO60RN" << 880;
    QTest::newRow("across the date line") << "RR90XA" << "AR00AA" << 2;
}

void TestMaidenhead::distances()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, qrb);
    QCOMPARE(ContestQrb(a, b), qrb);
    QCOMPARE(ContestQrb(b, a), qrb);
}

GRIDCOL_TEST_MAIN(TestMaidenhead)
#include "tst_maidenhead.moc"
