#include "writers/n1mmfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/localtext.h"
#include "database/ordering.h"
#include "writers/outputfile.h"

QByteArray BuildN1mmText()
{
    CallDatabase.sortByCall();

    QByteArray text;
    text.reserve(24 * CallDatabase.size()); // about 20 bytes a call
    for (int i = 0; i < CallDatabase.size(); ++i) {
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
    return text;
}

QByteArray BuildCallsLocListing()
{
    DayBytes days; // this thread's own: the outputs are built side by side
    QByteArray out;
    out.reserve(80 * CallDatabase.size()); // about 65 bytes a call in large databases
    for (int i = 0; i < CallDatabase.size(); ++i) {
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
    phase.save(QStringLiteral("n1mm_qth.txt"), BuildN1mmText, OutputMode::Text);
    phase.save(QStringLiteral("calls_loc.dbg"), BuildCallsLocListing, OutputMode::Text);
}
