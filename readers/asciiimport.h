#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "database/datetext.h"

#include <optional>

class QSettings;

/// How the files of one pattern are read: one group of the settings file,
/// its keys read with their defaults and cleaned.
struct AsciiImportDescription
{
    QString pattern; ///< the group name, a wildcard file-name pattern
    QString delimiter = QStringLiteral(","); ///< cleaned: no double quotes, simplified
    int callColumn = 0;
    int locatorColumn = 1;
    int dateColumn = 2; ///< negative: the lines carry no date, originDate is used
    int weight = 1; ///< as configured; raised to 1 only where records are handed on
    QString dateFormat = QStringLiteral("yyyyMMdd");
    int headerLines = 0;
    QDate originDate;
};

/// The keys of one settings group with their defaults (originDate: the day
/// of the run), the delimiter cleaned. Enters and leaves the group.
AsciiImportDescription ReadAsciiImportDescription(QSettings &settings, const QString &group);

/// The "delimiter" value without its double quotes, simplified.
QString CleanDelimiter(const QString &value);

/// The field separator a cleaned delimiter selects: a blank for "space", a
/// tab for "tab" (any case), else its first character, else the character
/// with code 0, which never occurs in a line.
QChar SeparatorOf(const QString &cleanedDelimiter);

/// Splits a line into fields: a field is a run of characters other than the
/// separator, or a quoted field in which separators and doubled quotes stay;
/// the quotes around a quoted field are removed. A line feed at the end is
/// not part of the line.
QStringList SplitDelimitedLine(const QString &line, QChar separator);

/// Removes one enclosing pair of double quotes from every field that has one.
void StripFieldQuotes(QStringList &fields);

/// Call, locator and date of one usable line of a delimited file.
struct AsciiRecord
{
    QString call;
    QString locator;
    QDateTime date;
};

/// The per-line step of the configured import for one description.
class AsciiLineParser
{
public:
    AsciiLineParser(QChar separator, int callColumn, int locatorColumn, int dateColumn,
                    const QString &dateFormat, const QDate &originDate);

    /// The record of a line, or nothing when the line has too few fields, an
    /// empty call or locator, or a negative call or locator column.
    std::optional<AsciiRecord> parse(const QString &line);

private:
    /// parse() of a line without quotes.
    std::optional<AsciiRecord> parsePlain(const QString &line);

    QChar m_separator;
    int m_callColumn;
    int m_locatorColumn;
    int m_dateColumn;
    int m_widestColumn;
    DateTextParser m_dates;
    QDateTime m_originDate;
};

/// Reads the files of one pattern in one directory as a group describes them.
void ImportAsciiFiles(const QString &directory, const QString &pattern, const QString &delimiter,
                      int callColumn, int locatorColumn, int dateColumn, int weight,
                      const QString &dateFormat, int headerLines, const QDate &originDate);

/// The driver's step: every group of the settings file (in childGroups
/// order, "directories" included) is one configured import in directory.
void ImportConfiguredAsciiFiles(QSettings &settings, const QString &directory);

/// The per-line step of the "*.exp" import: date in field 0 ("dd.MM.yy"),
/// call in field 2, locator in field 5 of a comma-separated line.
std::optional<AsciiRecord> ParseExpLine(const QString &line);

/// Reads every "*.exp" file of a directory: five header lines, then one
/// record a line, each with weight 1.
void ImportExpFiles(const QString &directory);
