#include "readers/callslocfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/localtext.h"
#include "database/ordering.h"
#include "readers/sourcefiles.h"
#include "readers/sourcepipeline.h"
#include "readers/textlinereader.h"
#include "writers/outputfile.h"

namespace {

/// 98 characters of text a read, plus the terminating zero.
constexpr int lineBufferSize = 99;

} // namespace

std::optional<CallsLocRecord> ParseCallsLocLine(const QString &line)
{
    static DateTextParser dates(QStringLiteral("dd.MM.yyyy"));

    const QString simplified = line.simplified();
    const QVector<QStringRef> fields = simplified.splitRef(QLatin1Char(','));
    if (fields.size() < 4)
        return std::nullopt;

    // Once the whole line is simplified, simplifying a field only trims it.
    CallsLocRecord record;
    record.call = fields.at(0).trimmed().toString();
    record.locator = fields.at(1).trimmed().toString();
    record.weight = fields.at(3).trimmed().toInt();
    if (record.call.isEmpty() || record.locator.isEmpty() || record.weight <= 0)
        return std::nullopt;
    // The date is matched exactly as the line's simplification left it: a
    // blank after the comma stays and makes the date invalid.
    record.date = dates.parse(fields.at(2).toString());
    return record;
}

namespace {

const SourceTexts callsLocTexts { "%s found, processing ... \n", "Processing %s \n", nullptr,
                                  "calls_loc.dat found, read  ... ", " %d Call/Locator combinations\n" };

template<typename HandOn>
void ParseCallsLocFile(int index, const QString &path, RecordPreparer &preparer, HandOn &&handOn)
{
    ReadSourceParts(index, path, lineBufferSize, handOn, [&](TextLineReader &reader, SourcePart &part, auto full) {
        QString line;
        while (reader.readLine(line)) {
            const std::optional<CallsLocRecord> record = ParseCallsLocLine(line);
            if (!record)
                continue;
            preparer.add(part, record->call, record->locator, record->date, record->weight);
            ++part.counted;
            full();
        }
    });
}

} // namespace

int ReadCallsLocFile(const QFileInfo &file)
{
    RecordPreparer preparer;
    return ReadSourceFile(file, callsLocTexts, [&](int i, auto &&handOn) {
        ParseCallsLocFile(i, file.absoluteFilePath(), preparer, handOn);
    });
}

void ReadCallsLocFiles(const QString &directory)
{
    // The files are read on a second thread, and taken in here in their order.
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("calls_loc*.dat"));
    RecordPreparer preparer;
    ReadSourceFiles(files, callsLocTexts, [&](int i, auto &&handOn) {
        ParseCallsLocFile(i, files.at(i).absoluteFilePath(), preparer, handOn);
    });
}

void AppendCallsLocDat(int begin, int end, QByteArray &out, DayBytes &days)
{
    QByteArray call;
    for (int i = begin; i < end; ++i) {
        call.resize(0);
        AppendLocal8Bit(call, CallDatabase.rankedCallAt(i));
        for (const RankedLocator &locator : CallDatabase.rankedAt(i)) {
            out += call;
            out += ',';
            AppendLocal8Bit(out, locator.locator);
            out += ',';
            out += days.text(locator.date, locator.stamp);
            out += ',';
            AppendDecimal(out, locator.weight);
            out += '\n';
        }
    }
}

QByteArray BuildCallsLocDat()
{
    DayBytes days;
    QByteArray out;
    out.reserve(80 * CallDatabase.size()); // about 65 bytes a call in large databases
    AppendCallsLocDat(0, CallDatabase.size(), out, days);
    return out;
}

void WriteCallsLocDat(OutputPhase &phase)
{
    phase.print("Write out database as calls_loc.dat file\n");
    // Laid out here, before the file is built on a thread of its own; the
    // save has its own memory of days, as the outputs are built side by side.
    CallDatabase.rankAll();
    phase.saveInPieces(
        QStringLiteral("calls_loc.dat"), CallDatabase.size(),
        [days = DayBytes()](int begin, int end, QByteArray &out) mutable { AppendCallsLocDat(begin, end, out, days); },
        OutputMode::Text);
}
