// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/maidenhead.h"

class TestMaidenhead : public QObject
{
    Q_OBJECT

private slots:
    void locators_data() { AddRows("maidenhead/locators.tsv"); }

    void locators()
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

    void distances_data() { AddRows("maidenhead/distances.tsv"); }

    void distances()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, qrb);
        QCOMPARE(ContestQrb(a, b), qrb);
        QCOMPARE(ContestQrb(b, a), qrb);
    }
};

GRIDCOL_TEST_MAIN(TestMaidenhead)
#include "tst_maidenhead.moc"
