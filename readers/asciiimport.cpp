#include "readers/asciiimport.h"

#include "app/clock.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/sourcefiles.h"
#include "readers/sourcepipeline.h"
#include "readers/textlinereader.h"

#include <QRegularExpression>
#include <QSettings>
#include <QVector>

namespace {

/// 198 bytes of text a read (98 in "*.exp" files), plus the terminating zero.
constexpr int asciiLineBufferSize = 199;
constexpr int expLineBufferSize = 99;

constexpr int expHeaderLines = 5;
constexpr int expDateField = 0;
constexpr int expCallField = 2;
constexpr int expLocatorField = 5;

bool IsQuoted(const QString &field)
{
    return !field.isEmpty() && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"'));
}

/// The text inside the first and the last character; a lone quote leaves nothing.
QString WithoutEnclosingQuotes(const QString &field)
{
    return field.size() < 2 ? QString(QLatin1String("")) : field.mid(1, field.size() - 2);
}

/// The field pattern for one separator, built once per separator.
///
/// At the start of the line or after a separator: a quoted field (a quote,
/// runs of non-quotes and doubled quotes, a quote) or a run of non-separators.
/// The separator is escaped, so that "|" or "." split like any character.
/// The runs of non-quotes are matched possessively: that finds the same
/// fields, but a quote that is never closed no longer sends the matcher into
/// exponential backtracking, where it would give up and lose the line.
const QRegularExpression &FieldPattern(QChar separator)
{
    static QChar cachedSeparator;
    static QRegularExpression cachedPattern;
    static bool built = false;
    if (built && separator == cachedSeparator)
        return cachedPattern;

    QString pattern = QStringLiteral("(?:^|,)(\"(?:[^\"]++|\"\")*\"|[^,]*)");
    pattern.replace(QLatin1Char(','), QRegularExpression::escape(QString(separator)));
    cachedPattern.setPattern(pattern);
    cachedPattern.optimize();
    cachedSeparator = separator;
    built = true;
    return cachedPattern;
}

/// Skips the header lines of a file; false when the file ends among them.
bool SkipHeaderLines(TextLineReader &reader, int count)
{
    QByteArray skipped;
    for (int i = 0; i < count; ++i) {
        if (!reader.readLine(skipped))
            return false;
    }
    return true;
}

/// Reads the files of a delimited import, each after its header lines, on a
/// second thread, and takes them in here in their order: every line that
/// parse turns into a record goes to the database with the given weight, and
/// each file has its console line with the count.
template<typename Parse>
void ImportDelimitedFiles(const QFileInfoList &files, int bufferSize, int headerLines, int weight, Parse parse)
{
    static const SourceTexts texts { "Processing %s ... ", "Processing %s \n", "Error while opening file\n", nullptr,
                                     "%d\n" };
    RecordPreparer preparer;
    ReadSourceFiles(files, texts, [&](int index, auto &&handOn) {
        const QString path = files.at(index).absoluteFilePath();
        ReadSourceParts(index, path, bufferSize, handOn, [&](TextLineReader &reader, SourcePart &part, auto full) {
            // A file that ends among its header lines has no records; its
            // console line still gets its count and the next file is read.
            if (!SkipHeaderLines(reader, headerLines))
                return;
            QString line;
            while (reader.readLine(line)) {
                if (const std::optional<AsciiRecord> record = parse(line)) {
                    preparer.add(part, record->call, record->locator, record->date, weight);
                    ++part.counted;
                    full();
                }
            }
        });
    });
}

} // namespace

QString CleanDelimiter(const QString &value)
{
    QString cleaned = value;
    cleaned.remove(QLatin1Char('"'));
    return cleaned.simplified();
}

QChar SeparatorOf(const QString &cleanedDelimiter)
{
    if (cleanedDelimiter.compare(QLatin1String("space"), Qt::CaseInsensitive) == 0)
        return QLatin1Char(' ');
    if (cleanedDelimiter.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return QLatin1Char('\t');
    if (cleanedDelimiter.isEmpty())
        return QChar(0);
    const QChar first = cleanedDelimiter.at(0);
    // Half of a character beyond the Basic Multilingual Plane never occurs on
    // its own in a decoded line, just as the zero character does not; taken
    // into the pattern it would make the pattern invalid.
    return first.isSurrogate() ? QChar(0) : first;
}

QStringList SplitDelimitedLine(const QString &line, QChar separator)
{
    const QStringRef text = line.endsWith(QLatin1Char('\n')) ? line.leftRef(line.size() - 1)
                                                            : line.leftRef(line.size());
    QStringList fields;
    QRegularExpressionMatchIterator matches = FieldPattern(separator).globalMatch(text);
    while (matches.hasNext()) {
        const QString field = matches.next().captured(1);
        fields.append(IsQuoted(field) ? WithoutEnclosingQuotes(field) : field);
    }
    return fields;
}

void StripFieldQuotes(QStringList &fields)
{
    for (QString &field : fields) {
        if (IsQuoted(field))
            field = WithoutEnclosingQuotes(field);
    }
}

AsciiLineParser::AsciiLineParser(QChar separator, int callColumn, int locatorColumn,
                                 int dateColumn, const QString &dateFormat,
                                 const QDate &originDate)
    : m_separator(separator)
    , m_callColumn(callColumn)
    , m_locatorColumn(locatorColumn)
    , m_dateColumn(dateColumn)
    , m_widestColumn(qMax(callColumn, qMax(locatorColumn, dateColumn)))
    , m_dates(dateFormat)
    , m_originDate(originDate, QTime(0, 0))
{
}

std::optional<AsciiRecord> AsciiLineParser::parse(const QString &line)
{
    // A negative call or locator column names no field of any line.
    if (m_callColumn < 0 || m_locatorColumn < 0)
        return std::nullopt;
    if (!line.contains(QLatin1Char('"')))
        return parsePlain(line);
    QStringList fields = SplitDelimitedLine(line, m_separator);
    if (fields.size() <= m_widestColumn)
        return std::nullopt;
    StripFieldQuotes(fields);
    AsciiRecord record;
    record.call = fields.at(m_callColumn).simplified();
    record.locator = fields.at(m_locatorColumn).simplified();
    if (record.call.isEmpty() || record.locator.isEmpty())
        return std::nullopt;
    record.date = m_dateColumn >= 0 ? m_dates.parse(fields.at(m_dateColumn)) : m_originDate;
    return record;
}

std::optional<AsciiRecord> AsciiLineParser::parsePlain(const QString &line)
{
    // Without quotes the fields are simply the pieces between separators, as
    // the field pattern finds them too; only the wanted ones are copied.
    const QStringView text = QStringView(line).left(line.endsWith(QLatin1Char('\n')) ? line.size() - 1 : line.size());
    QStringView call, locator, date;
    int column = 0;
    for (int start = 0;; ++column) {
        const int stop = int(text.indexOf(m_separator, start));
        const QStringView field = text.mid(start, stop < 0 ? -1 : stop - start);
        if (column == m_callColumn)
            call = field;
        if (column == m_locatorColumn)
            locator = field;
        if (column == m_dateColumn)
            date = field;
        if (stop < 0 || column == m_widestColumn)
            break;
        start = stop + 1;
    }
    if (column < m_widestColumn)
        return std::nullopt;
    AsciiRecord record;
    record.call = call.toString().simplified();
    record.locator = locator.toString().simplified();
    if (record.call.isEmpty() || record.locator.isEmpty())
        return std::nullopt;
    record.date = m_dateColumn >= 0 ? m_dates.parse(date) : m_originDate;
    return record;
}

void ImportAsciiFiles(const QString &directory, const QString &pattern, const QString &delimiter,
                      int callColumn, int locatorColumn, int dateColumn, int weight,
                      const QString &dateFormat, int headerLines, const QDate &originDate)
{
    const QFileInfoList files = ListSourceFiles(directory, pattern);

    if (DebugLog) {
        FilePrint(DebugLog, "ASCII Import: pattern: %s delimiter: %s dateFormat: %s \n",
                  qPrintable(pattern), qPrintable(delimiter), qPrintable(dateFormat));
        FilePrint(DebugLog, "         call %d loc %d date %d wichtung %d skip %d\n", callColumn,
                  locatorColumn, dateColumn, weight, headerLines);
        std::fflush(DebugLog);
    }

    AsciiLineParser parser(SeparatorOf(delimiter), callColumn, locatorColumn, dateColumn,
                           dateFormat, originDate);
    const int recordWeight = qMax(weight, 1);
    ImportDelimitedFiles(files, asciiLineBufferSize, headerLines, recordWeight,
                         [&parser](const QString &line) { return parser.parse(line); });
}

AsciiImportDescription ReadAsciiImportDescription(QSettings &settings, const QString &group)
{
    AsciiImportDescription description;
    settings.beginGroup(group);
    description.pattern = group;
    description.delimiter
        = CleanDelimiter(settings.value(QStringLiteral("delimiter"), description.delimiter).toString());
    description.callColumn = settings.value(QStringLiteral("call"), description.callColumn).toInt();
    description.locatorColumn
        = settings.value(QStringLiteral("locator"), description.locatorColumn).toInt();
    description.dateColumn = settings.value(QStringLiteral("date"), description.dateColumn).toInt();
    description.weight = settings.value(QStringLiteral("wichtung"), description.weight).toInt();
    description.dateFormat
        = settings.value(QStringLiteral("dateFormat"), description.dateFormat).toString();
    description.headerLines
        = settings.value(QStringLiteral("headerLines"), description.headerLines).toInt();
    description.originDate
        = settings.value(QStringLiteral("originDate"), Clock::now().date()).toDate();
    settings.endGroup();
    return description;
}

void ImportConfiguredAsciiFiles(QSettings &settings, const QString &directory)
{
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        const AsciiImportDescription d = ReadAsciiImportDescription(settings, group);
        ImportAsciiFiles(directory, d.pattern, d.delimiter, d.callColumn, d.locatorColumn,
                         d.dateColumn, d.weight, d.dateFormat, d.headerLines, d.originDate);
    }
}

std::optional<AsciiRecord> ParseExpLine(const QString &line)
{
    static DateTextParser dates(QStringLiteral("dd.MM.yy"));
    // Neither simplified nor stripped of its line end: the date must stand
    // alone in its field, and the line feed ends the last field.
    const QVector<QStringRef> fields = line.splitRef(QLatin1Char(','));
    if (fields.size() <= expLocatorField)
        return std::nullopt;
    AsciiRecord record;
    record.call = fields.at(expCallField).toString().simplified();
    record.locator = fields.at(expLocatorField).toString().simplified();
    if (record.call.isEmpty() || record.locator.isEmpty())
        return std::nullopt;
    record.date = dates.parse(fields.at(expDateField).toString());
    return record;
}

void ImportExpFiles(const QString &directory)
{
    ImportDelimitedFiles(ListSourceFiles(directory, QStringLiteral("*.exp")), expLineBufferSize, expHeaderLines, 1,
                         ParseExpLine);
}
