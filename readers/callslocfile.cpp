#include "readers/callslocfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/localtext.h"
#include "database/ordering.h"
#include "readers/sourcefiles.h"
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

int ReadCallsLocFile(const QFileInfo &file)
{
    const QByteArray name = file.fileName().toLocal8Bit();
    ConsolePrint("%s found, processing ... \n", name.constData());
    FilePrint(DebugLog, "Processing %s \n", name.constData());

    TextLineReader reader(lineBufferSize);
    if (!reader.open(file.absoluteFilePath()))
        return 0;

    ConsolePrint("calls_loc.dat found, read  ... ");
    int count = 0;
    QString line;
    while (reader.readLine(line)) {
        const std::optional<CallsLocRecord> record = ParseCallsLocLine(line);
        if (!record)
            continue;
        AddCallLocator(record->call, record->locator, record->date, record->weight);
        ++count;
    }
    ConsolePrint(" %d Call/Locator combinations\n", count);
    return count;
}

void ReadCallsLocFiles(const QString &directory)
{
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("calls_loc*.dat"));
    for (const QFileInfo &file : files)
        ReadCallsLocFile(file);
}

QByteArray BuildCallsLocDat()
{
    QByteArray out;
    for (int i = 0; i < CallDatabase.size(); ++i) {
        QByteArray call;
        AppendLocal8Bit(call, CallDatabase.at(i).call);
        for (const LocatorEntry &locator : CallDatabase.rankedAt(i)) {
            out += call;
            out += ',';
            AppendLocal8Bit(out, locator.locator);
            out += ',';
            AppendLocal8Bit(out, DayText(locator.date));
            out += ',';
            out += QByteArray::number(locator.weight);
            out += '\n';
        }
    }
    return out;
}

void WriteCallsLocDat(OutputPhase &phase)
{
    phase.print("Write out database as calls_loc.dat file\n");
    phase.save(QStringLiteral("calls_loc.dat"), BuildCallsLocDat(), OutputMode::Text);
}
