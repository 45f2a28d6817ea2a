#include "testsupport.h"

#include "database/calldatabase.h"
#include "database/ordering.h"
#include "writers/n1mmfile.h"

#include <functional>

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
    void callOrder();
    void storedOrderStays();
    void largeListMatchesQuicksortSteps();
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

void TestOrdering::callOrder()
{
    for (const char *call : { "AB2", "AA1", "AB10", "aa1", "AB1", "9A1A", "DL1ABC/P", "DL1ABC" })
        AddCallLocator(QString::fromLatin1(call), QStringLiteral("JO62"), Day("01.01.2026"), 1);
    BuildN1mmText();
    QStringList calls;
    for (const CallEntry &entry : CallDatabase)
        calls.append(entry.call);
    QCOMPARE(calls, QStringList({ "9A1A", "AA1", "AB1", "AB10", "AB2", "DL1ABC", "DL1ABC/P" }));
}

void TestOrdering::storedOrderStays()
{
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("X"), Day("01.01.2024"), 5);
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("Y"), Day("01.01.2026"), 1);
    QCOMPARE(Names(RankedLocators(CallDatabase.at(0))), QStringList({ "Y", "X" }));
    QCOMPARE(Names(CallDatabase.at(0).locators), QStringList({ "X", "Y" }));
}

void TestOrdering::largeListMatchesQuicksortSteps()
{
    // The quicksort, step by step, over a list long enough to recurse, with the
    // order that is not a strict weak order: the outputs depend on each swap.
    QVector<LocatorEntry> locators;
    for (int i = 0; i < 40; ++i) {
        const int weight = (i * 7) % 5 + (i % 3 == 0 ? 0 : 1);
        const QDate day = QDate(2025, 1, 1).addDays((i * 37) % 300);
        locators.append(LocatorEntry { QStringLiteral("L%1").arg(i), QDateTime(day, QTime(0, 0)), weight });
    }
    QVector<LocatorEntry> expected = locators;
    std::function<void(int, int)> reference = [&](int start, int end) {
        auto before = LocatorBefore;
        auto &e = expected;
        for (;;) {
            const int n = end - start;
            if (n < 2)
                return;
            const int last = end - 1;
            int low = start;
            int high = last - 1;
            const int pivot = start + n / 2;
            if (before(e[last], e[start]))
                std::swap(e[last], e[start]);
            if (n == 2)
                return;
            if (before(e[pivot], e[start]))
                std::swap(e[pivot], e[start]);
            if (before(e[last], e[pivot]))
                std::swap(e[last], e[pivot]);
            if (n == 3)
                return;
            std::swap(e[pivot], e[last]);
            while (low < high) {
                while (low < high && before(e[low], e[last]))
                    ++low;
                while (high > low && before(e[last], e[high]))
                    --high;
                if (low < high) {
                    std::swap(e[low], e[high]);
                    ++low;
                    --high;
                } else {
                    break;
                }
            }
            if (before(e[low], e[last]))
                ++low;
            std::swap(e[last], e[low]);
            reference(start, low);
            start = low + 1;
        }
    };
    reference(0, expected.size());
    SortRange(locators, LocatorBefore);
    QCOMPARE(Names(locators), Names(expected));
}

GRIDCOL_TEST_MAIN(TestOrdering)
#include "tst_ordering.moc"
