// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/delimitedfile.h"

#include "base/clock.h"
#include "base/console.h"

#include <QSettings>

namespace {

/// 198 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 199;

bool IsQuoted(const QString &field)
{
    return !field.isEmpty() && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"'));
}

/// The text inside the first and the last character; a lone quote leaves nothing.
QString WithoutEnclosingQuotes(const QString &field)
{
    return field.size() < 2 ? QString(QLatin1String("")) : field.mid(1, field.size() - 2);
}

/// The field pattern for one separator.
///
/// At the start of the line or after a separator: a quoted field (a quote,
/// runs of non-quotes and doubled quotes, a quote) or a run of non-separators.
/// The separator is escaped, so that "|" or "." split like any character.
/// The runs of non-quotes are matched possessively: that finds the same
/// fields, but a quote that is never closed no longer sends the matcher into
/// exponential backtracking, where it would give up and lose the line.
QString FieldPattern(QChar separator)
{
    QString pattern = QStringLiteral("(?:^|,)(\"(?:[^\"]++|\"\")*\"|[^,]*)");
    pattern.replace(QLatin1Char(','), QRegularExpression::escape(QString(separator)));
    return pattern;
}

/// The line without the line feed that ends it.
QStringView WithoutLineFeed(const QString &line)
{
    return QStringView(line).left(line.endsWith(QLatin1Char('\n')) ? line.size() - 1 : line.size());
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

FieldSplitter::FieldSplitter(QChar separator)
    : m_pattern(FieldPattern(separator))
{
    m_pattern.optimize();
}

QStringList FieldSplitter::split(const QString &line) const
{
    QStringList fields;
    QRegularExpressionMatchIterator matches = m_pattern.globalMatch(WithoutLineFeed(line).toString());
    while (matches.hasNext()) {
        const QString field = matches.next().captured(1);
        fields.append(IsQuoted(field) ? WithoutEnclosingQuotes(field) : field);
    }
    return fields;
}

QStringList SplitDelimitedLine(const QString &line, QChar separator)
{
    return FieldSplitter(separator).split(line);
}

void StripFieldQuotes(QStringList &fields)
{
    for (QString &field : fields) {
        if (IsQuoted(field))
            field = WithoutEnclosingQuotes(field);
    }
}

AsciiLineParser::AsciiLineParser(QChar separator, int callColumn, int locatorColumn, int dateColumn,
                                 const QString &dateFormat, const QDate &originDate)
    : m_splitter(separator)
    , m_separator(separator)
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
    QStringList fields = m_splitter.split(line);
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
    const QStringView text = WithoutLineFeed(line);
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

void ImportAsciiFiles(const QString &directory, const AsciiImportDescription &description)
{
    const SourceFileList files = ListSourceFiles(directory, description.pattern);

    if (DebugLog) {
        FilePrint(DebugLog, "ASCII Import: pattern: %s delimiter: %s dateFormat: %s \n",
                  qPrintable(description.pattern), qPrintable(description.delimiter),
                  qPrintable(description.dateFormat));
        FilePrint(DebugLog, "         call %d loc %d date %d wichtung %d skip %d\n", description.callColumn,
                  description.locatorColumn, description.dateColumn, description.weight, description.headerLines);
        std::fflush(DebugLog);
    }

    AsciiLineParser parser(SeparatorOf(description.delimiter), description.callColumn, description.locatorColumn,
                           description.dateColumn, description.dateFormat, description.originDate);
    ImportDelimitedFiles(files, lineBufferSize, description.headerLines, qMax(description.weight, 1), parser,
                         Clock::Now());
}

AsciiImportDescription ReadAsciiImportDescription(QSettings &settings, const QString &group, const QDate &today)
{
    AsciiImportDescription description;
    settings.beginGroup(group);
    description.pattern = group;
    description.delimiter
        = CleanDelimiter(settings.value(QStringLiteral("delimiter"), description.delimiter).toString());
    description.callColumn = settings.value(QStringLiteral("call"), description.callColumn).toInt();
    description.locatorColumn = settings.value(QStringLiteral("locator"), description.locatorColumn).toInt();
    description.dateColumn = settings.value(QStringLiteral("date"), description.dateColumn).toInt();
    description.weight = settings.value(QStringLiteral("wichtung"), description.weight).toInt();
    description.dateFormat = settings.value(QStringLiteral("dateFormat"), description.dateFormat).toString();
    description.headerLines = settings.value(QStringLiteral("headerLines"), description.headerLines).toInt();
    description.originDate = settings.value(QStringLiteral("originDate"), today).toDate();
    settings.endGroup();
    return description;
}

void ImportConfiguredAsciiFiles(QSettings &settings, const QString &directory)
{
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        // [outputs] names the files gridcol writes, not files to read.
        if (group.compare(QLatin1String("outputs"), Qt::CaseInsensitive) == 0)
            continue;
        ImportAsciiFiles(directory, ReadAsciiImportDescription(settings, group, Clock::Now().date()));
    }
}
