// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/datetext.h"
#include "readers/sourcefiles.h"
#include "readers/sourcepipeline.h"

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

/// Delimited text files described by a group of the settings file: the
/// group's name is the file pattern, its keys say how to read the lines. The
/// fixed "*.exp" files (readers/expfile.h) are read by the same machinery.

/// How the files of one pattern are read: one settings group, its keys read
/// with their defaults and cleaned.
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
/// of today), the delimiter cleaned. Enters and leaves the group.
AsciiImportDescription ReadAsciiImportDescription(QSettings &settings, const QString &group, const QDate &today);

/// The "delimiter" value without its double quotes, simplified.
QString CleanDelimiter(const QString &value);

/// The field separator a cleaned delimiter selects: a blank for "space", a
/// tab for "tab" (any case), else its first character, else the character
/// with code 0, which never occurs in a line.
QChar SeparatorOf(const QString &cleanedDelimiter);

/// Splits lines into fields: a field is a run of characters other than the
/// separator, or a quoted field in which separators and doubled quotes stay;
/// the quotes around a quoted field are removed. A line feed at the end is
/// not part of the line. The pattern is built once, for one separator.
class FieldSplitter
{
public:
    explicit FieldSplitter(QChar separator);

    QStringList split(const QString &line) const;

private:
    QRegularExpression m_pattern;
};

/// FieldSplitter(separator).split(line), for a single line.
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
    AsciiLineParser(QChar separator, int callColumn, int locatorColumn, int dateColumn, const QString &dateFormat,
                    const QDate &originDate);

    /// The record of a line, or nothing when the line has too few fields, an
    /// empty call or locator, or a negative call or locator column.
    std::optional<AsciiRecord> parse(const QString &line);

private:
    /// parse() of a line without quotes.
    std::optional<AsciiRecord> parsePlain(const QString &line);

    FieldSplitter m_splitter;
    QChar m_separator;
    int m_callColumn;
    int m_locatorColumn;
    int m_dateColumn;
    int m_widestColumn;
    DateTextParser m_dates;
    QDateTime m_originDate;
};

/// Reads the files of one pattern in one directory as a group describes them.
void ImportAsciiFiles(const QString &directory, const AsciiImportDescription &description);

/// The driver's step: every group of the settings file (in childGroups
/// order, "directories" included) is one configured import in directory;
/// only "outputs" (in any case), which names files to write, is none.
void ImportConfiguredAsciiFiles(QSettings &settings, const QString &directory);

/// Reads files of delimited lines, each after its header lines, on a second
/// thread, and takes them in here in their order: every line that
/// parser.parse() turns into an AsciiRecord goes to the database with the
/// given weight, and each file has its console line with the count. The
/// parser is used by that thread alone until the import returns.
template<typename Parser>
void ImportDelimitedFiles(const SourceFileList &files, int bufferSize, int headerLines, int weight, Parser &parser,
                          const QDateTime &now)
{
    const SourceTexts texts { "Processing %s ... ", "Processing %s \n", "Error while opening file\n", nullptr,
                              "%d\n" };
    RecordPreparer preparer(now, DebugLog != nullptr);
    ReadSourceFiles(files, texts, [&](int index, auto &&handOn) {
        ReadSourceParts(index, files.at(index).path, bufferSize, handOn,
                        [&](TextLineReader &reader, SourcePart &part, auto full) {
                            // A file that ends among its header lines has no
                            // records; its console line still gets its count
                            // and the next file is read.
                            QByteArray skipped;
                            for (int i = 0; i < headerLines; ++i) {
                                if (!reader.readLine(skipped))
                                    return;
                            }
                            QString line;
                            while (reader.readLine(line)) {
                                if (const std::optional<AsciiRecord> record = parser.parse(line)) {
                                    preparer.add(part, record->call, record->locator, record->date, weight);
                                    ++part.counted;
                                    full();
                                }
                            }
                        });
    });
}
