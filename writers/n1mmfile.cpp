#include "writers/n1mmfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/localtext.h"
#include "database/ordering.h"
#include "writers/outputfile.h"

void AppendN1mmText(int begin, int end, QByteArray &text)
{
    for (int i = begin; i < end; ++i) {
        const RankedLocatorList ranked = CallDatabase.rankedAt(i);
        AppendLocal8Bit(text, CallDatabase.rankedCallAt(i));
        text += ";;";
        AppendLocal8Bit(text, ranked.at(0).locator);
        if (ranked.size() >= 2) {
            text += ';';
            AppendLocal8Bit(text, ranked.at(1).locator);
            text += ';';
        }
        text += '\n';
    }
}

QByteArray BuildN1mmText()
{
    CallDatabase.sortByCall();

    QByteArray text;
    text.reserve(24 * CallDatabase.size()); // about 20 bytes a call
    AppendN1mmText(0, CallDatabase.size(), text);
    return text;
}

void AppendCallsLocListing(int begin, int end, QByteArray &out, DayBytes &days)
{
    for (int i = begin; i < end; ++i) {
        AppendLocal8Bit(out, CallDatabase.rankedCallAt(i));
        out += ' ';
        for (const RankedLocator &locator : CallDatabase.rankedAt(i)) {
            AppendLocal8Bit(out, locator.locator);
            out += " (";
            AppendDecimal(out, locator.weight);
            out += ' ';
            out += days.text(locator.date, locator.stamp);
            out += ") ";
        }
        out += '\n';
    }
}

QByteArray BuildCallsLocListing()
{
    DayBytes days;
    QByteArray out;
    out.reserve(80 * CallDatabase.size()); // about 65 bytes a call in large databases
    AppendCallsLocListing(0, CallDatabase.size(), out, days);
    return out;
}

void WriteN1mmFiles(OutputPhase &phase)
{
    phase.print("Generate N1MM import file n1mm_qth.txt with " + QByteArray::number(CallDatabase.size())
                + " calls\n");
    // The outputs are built side by side from here on: what they share is
    // worked out first.
    CallDatabase.sortByCall();
    CallDatabase.rankAll();
    phase.saveInPieces(QStringLiteral("n1mm_qth.txt"), CallDatabase.size(), AppendN1mmText, OutputMode::Text);
    // Each save has its own memory of days: the outputs are built side by side.
    phase.saveInPieces(
        QStringLiteral("calls_loc.dbg"), CallDatabase.size(),
        [days = DayBytes()](int begin, int end, QByteArray &out) mutable {
            AppendCallsLocListing(begin, end, out, days);
        },
        OutputMode::Text);
}
