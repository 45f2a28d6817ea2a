// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "base/clock.h"

/*
 * The run's one "now" and the wall clock.
 */

class TestClock : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void clock()
    {
        // A fixed moment holds until it is forgotten; then the system clock
        // answers, once: the moment it gave holds for the rest of the run.
        QCOMPARE(Clock::Now(), TestNow());
        Clock::Reset();
        const QDateTime first = Clock::Now();
        QVERIFY(first.isValid() && qAbs(first.secsTo(QDateTime::currentDateTime())) < 60);
        QTest::qWait(20);
        QCOMPARE(Clock::Now(), first);
        Clock::SetNow(Day("01.02.2025 10:00"));
        QCOMPARE(Clock::Now(), Day("01.02.2025 10:00"));

        // The wall clock is read afresh at every call unless it is fixed.
        QCOMPARE(Clock::WallTime(), TestNow());
        Clock::SetWallTime(QDateTime());
        const QDateTime wall = Clock::WallTime();
        QTest::qWait(20);
        QVERIFY(Clock::WallTime() > wall && qAbs(wall.secsTo(QDateTime::currentDateTime())) < 60);
    }
};

GRIDCOL_TEST_MAIN(TestClock)
#include "tst_clock.moc"
