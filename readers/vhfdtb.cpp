#include "readers/vhfdtb.h"

#include "app/clock.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/ordering.h"
#include "writers/outputfile.h"

#include <QFile>

#include <cstring>

namespace {

QString FieldText(const char *field, int maxBytes)
{
    return QString::fromUtf8(field, int(qstrnlen(field, uint(maxBytes))));
}

/// "MMyy" of now; the same for every record of a run, so formatted once.
QByteArray MonthYearOfNow()
{
    static int generation = -1;
    static QByteArray text;
    if (generation != Clock::generation()) {
        text = Clock::now().toString(QStringLiteral("MMyy")).toLatin1();
        generation = Clock::generation();
    }
    return text;
}

} // namespace

VhfDtbRecord ParseVhfDtbRecord(const char *record)
{
    using namespace VhfDtb;
    // A field may lack its zero byte; the text then ends with the byte that should hold it.
    return { FieldText(record + callOffset, callSize + 1),
             FieldText(record + locatorOffset, locatorSize + 1) };
}

void ReadVhfDtb(const QString &directory)
{
    QFile file(directory + QStringLiteral("/vhf.dtb"));
    if (!file.open(QIODevice::ReadOnly))
        return;

    ConsolePrint("VHF.DTB found, read ... ");
    const QDateTime now = Clock::now();
    int count = 0;
    char record[VhfDtb::recordSize];
    // A short remainder at the end of the file, and anything after a read error, is ignored.
    while (file.read(record, sizeof record) == qint64(sizeof record)) {
        const VhfDtbRecord parsed = ParseVhfDtbRecord(record);
        AddCallLocator(parsed.call, parsed.locator, now, 1);
        ++count;
    }
    ConsolePrint(" %d Calls\n", count);
}

namespace {

/// The Latin-1 bytes of text (QString::toLatin1(): "?" for what Latin-1
/// lacks), at most size of them, into field.
void PutLatin1(char *field, QStringView text, int size)
{
    const int count = qMin(int(text.size()), size);
    for (int i = 0; i < count; ++i) {
        const ushort c = text.at(i).unicode();
        field[i] = c < 0x100 ? char(c) : '?';
    }
}

/// A call marked with a trailing blank (the record of a second locator) is
/// written as if the blank belonged to it.
enum class CallMark { None, TrailingBlank };

/// Appends one record of call and locator (in Latin-1, cut to their fields)
/// with monthYear, "MMyy" of now.
void AppendRecord(QByteArray &out, QStringView call, QStringView locator, CallMark mark, const QByteArray &monthYear)
{
    using namespace VhfDtb;
    char record[recordSize] = {};
    PutLatin1(record + callOffset, call, callSize);
    if (mark == CallMark::TrailingBlank && call.size() < callSize)
        record[callOffset + call.size()] = ' ';
    PutLatin1(record + locatorOffset, locator, locatorSize);
    std::memcpy(record + dateOffset, monthYear.constData(), size_t(qMin(monthYear.size(), dateSize)));
    out.append(record, recordSize);
}

} // namespace

void AppendVhfDtb(int begin, int end, QByteArray &out)
{
    const QByteArray monthYear = MonthYearOfNow();
    for (int i = begin; i < end; ++i) {
        const QStringView call = CallDatabase.rankedCallAt(i);
        const RankedLocatorList ranked = CallDatabase.rankedAt(i);
        AppendRecord(out, call, ranked.at(0).locator, CallMark::None, monthYear);
        if (ranked.size() >= 2)
            AppendRecord(out, call, ranked.at(1).locator, CallMark::TrailingBlank, monthYear);
    }
}

QByteArray BuildVhfDtb()
{
    // Calls are unique, so sorting once more leaves the order as the first output left it.
    CallDatabase.sortByCall();

    QByteArray out;
    out.reserve(2 * VhfDtb::recordSize * CallDatabase.size());
    AppendVhfDtb(0, CallDatabase.size(), out);
    return out;
}

void WriteVhfDtb(OutputPhase &phase)
{
    // Worked out here, before the file is built on a thread of its own.
    MonthYearOfNow();
    CallDatabase.sortByCall();
    CallDatabase.rankAll();
    phase.print("Generate WinTest vhf.dtb\n");
    phase.saveInPieces(QStringLiteral("vhf.dtb"), CallDatabase.size(), AppendVhfDtb, OutputMode::Binary);
}
