#include "testsupport.h"

#include "database/calldatabase.h"
#include "database/ordering.h"

namespace {

/// A locator written "NAME weight dd.MM.yyyy".
LocatorEntry Locator(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    return LocatorEntry { parts.at(0), Day(parts.at(2).toLatin1().constData()), parts.at(1).toInt() };
}

QStringList Names(const QVector<LocatorEntry> &locators)
{
    QStringList names;
    for (const LocatorEntry &locator : locators)
        names.append(locator.locator);
    return names;
}

} // namespace

class TestOrdering : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void locatorOrder_data();
    void locatorOrder();
};

void TestOrdering::locatorOrder_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("ranked");

    // Now is 15.06.2026: X three years back, Y one, Z two.
    const QString x = QStringLiteral("X 5 15.06.2023");
    const QString y = QStringLiteral("Y 1 15.06.2025");
    const QString z = QStringLiteral("Z 2 15.06.2024");
    QTest::newRow("heavy old X, then light new Y") << QStringList { "X 5 01.01.2024", "Y 1 01.01.2026" }
                                                   << QStringList { "Y", "X" };
    QTest::newRow("light new Y, then heavy old X") << QStringList { "Y 1 01.01.2026", "X 5 01.01.2024" }
                                                   << QStringList { "X", "Y" };
    QTest::newRow("two of weight 1, older first") << QStringList { "A 1 01.01.2025", "B 1 01.01.2026" }
                                                  << QStringList { "B", "A" };
    QTest::newRow("two of weight 1, newer first") << QStringList { "B 1 01.01.2026", "A 1 01.01.2025" }
                                                  << QStringList { "B", "A" };
    QTest::newRow("3, 7, 3") << QStringList { "P 3 01.01.2026", "Q 7 01.01.2026", "R 3 01.01.2026" }
                             << QStringList { "Q", "P", "R" };
    QTest::newRow("3, 3, 7") << QStringList { "P 3 01.01.2026", "R 3 01.01.2026", "Q 7 01.01.2026" }
                             << QStringList { "Q", "R", "P" };
    QTest::newRow("X, Y, Z") << QStringList { x, y, z } << QStringList { "Y", "X", "Z" };
    QTest::newRow("X, Z, Y") << QStringList { x, z, y } << QStringList { "Z", "X", "Y" };
    QTest::newRow("Z, X, Y") << QStringList { z, x, y } << QStringList { "X", "Z", "Y" };
    QTest::newRow("single") << QStringList { "S 4 01.01.2026" } << QStringList { "S" };
    QTest::newRow("five by weight")
        << QStringList { "A 2 01.01.2026", "B 9 01.01.2026", "C 4 01.01.2026", "D 7 01.01.2026", "E 3 01.01.2026" }
        << QStringList { "B", "D", "C", "E", "A" };
}

void TestOrdering::locatorOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, ranked);
    CallEntry entry { QStringLiteral("DL1ABC"), {} };
    for (const QString &text : added)
        entry.locators.append(Locator(text));
    QCOMPARE(Names(RankedLocators(entry)), ranked);
}

GRIDCOL_TEST_MAIN(TestOrdering)
#include "tst_ordering.moc"
