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

/// Reads one file into parts and hands each on, in order.
template<typename HandOn>
void ParseCallsLocFile(int index, const QString &path, RecordPreparer &preparer, HandOn handOn)
{
    SourcePart part;
    part.file = index;
    part.first = true;
    TextLineReader reader(lineBufferSize);
    part.opened = reader.open(path);
    QString line;
    while (part.opened && reader.readLine(line)) {
        const std::optional<CallsLocRecord> record = ParseCallsLocLine(line);
        if (!record)
            continue;
        preparer.add(part, record->call, record->locator, record->date, record->weight);
        ++part.counted;
        preparer.handOnWhenFull(part, handOn);
    }
    part.last = true;
    handOn(std::move(part));
}

/// Takes in the parts of the files in order, each file's console lines around them.
class CallsLocIntake
{
public:
    explicit CallsLocIntake(const QFileInfoList &files)
        : m_files(files)
    {
    }

    void take(const SourcePart &part)
    {
        if (part.first) {
            const QByteArray name = m_files.at(part.file).fileName().toLocal8Bit();
            ConsolePrint("%s found, processing ... \n", name.constData());
            FilePrint(DebugLog, "Processing %s \n", name.constData());
            if (!part.opened)
                return;
            ConsolePrint("calls_loc.dat found, read  ... ");
            m_count = 0;
        }
        m_count += TakeInPart(part);
        if (part.last)
            ConsolePrint(" %d Call/Locator combinations\n", m_count);
    }

    int count() const { return m_count; }

private:
    const QFileInfoList &m_files;
    int m_count = 0;
};

} // namespace

int ReadCallsLocFile(const QFileInfo &file)
{
    const QFileInfoList files { file };
    RecordPreparer preparer;
    CallsLocIntake intake(files);
    ParseCallsLocFile(0, file.absoluteFilePath(), preparer, [&intake](SourcePart &&part) { intake.take(part); });
    return intake.count();
}

void ReadCallsLocFiles(const QString &directory)
{
    // The files are read on a second thread, and taken in here in their order.
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("calls_loc*.dat"));
    RecordPreparer preparer;
    CallsLocIntake intake(files);
    ReadInOrder<SourcePart>(
        files.size(),
        [&](int i, auto handOn) { ParseCallsLocFile(i, files.at(i).absoluteFilePath(), preparer, handOn); },
        [&intake](const SourcePart &part) { intake.take(part); });
}

QByteArray BuildCallsLocDat()
{
    DayTexts days; // this thread's own: the outputs are built side by side
    QByteArray out;
    for (int i = 0; i < CallDatabase.size(); ++i) {
        QByteArray call;
        AppendLocal8Bit(call, CallDatabase.at(i).call);
        for (const LocatorEntry &locator : CallDatabase.rankedAt(i)) {
            out += call;
            out += ',';
            AppendLocal8Bit(out, locator.locator);
            out += ',';
            AppendLocal8Bit(out, days.text(locator.date));
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
    phase.save(QStringLiteral("calls_loc.dat"), BuildCallsLocDat, OutputMode::Text);
}
