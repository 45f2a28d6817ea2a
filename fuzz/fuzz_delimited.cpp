// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The configured delimited import: the field splitter on every line (against
// a plain split where a line has no quote), the quote stripping, and the
// whole file read with the example's group. The separator is the candidate
// the first line holds most often, so that real files pick their own.

#include "fuzzsupport.h"

#include "readers/delimitedfile.h"
#include "readers/textlinereader.h"

namespace {

/// The delimiter setting as gridcol.ini would give it: the most frequent
/// candidate of the first line, or none (one field a line).
QString DelimiterOf(const QString &firstLine)
{
    static const char *const candidates[][2] = { { ";", ";" }, { ",", "," },  { "\t", "tab" }, { " ", "space" },
                                                 { "|", "|" }, { ".", "." },  { "[", "[" },    { "\\", "\\" },
                                                 { "$", "$" }, { "^", "^" } };
    QString delimiter;
    int most = 0;
    for (const auto &candidate : candidates) {
        const int count = firstLine.count(QLatin1String(candidate[0]));
        if (count > most) {
            most = count;
            delimiter = QLatin1String(candidate[1]);
        }
    }
    return delimiter;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const QList<QByteArray> lines = Fuzz::PlainLines(bytes, 199);
    const QString delimiter = DelimiterOf(QString::fromUtf8(bytes.left(bytes.indexOf('\n'))));
    const QChar separator = SeparatorOf(CleanDelimiter(delimiter));

    const QString dateFormat = QStringLiteral("dd.MM.yyyy");
    AsciiLineParser parser(separator, 1, 4, 0, dateFormat, QDate(2026, 6, 1));
    const FieldSplitter splitter(separator);
    for (const QByteArray &raw : lines) {
        const QString line = DecodeLine(raw);
        QStringList fields = splitter.split(line);
        if (!line.contains(QLatin1Char('"'))) {
            const QString text = line.endsWith(QLatin1Char('\n')) ? line.chopped(1) : line;
            if (fields != text.split(separator))
                Fuzz::Fail("field splitter against a plain split", line);
        }
        StripFieldQuotes(fields);
        // The line parser (which splits lines without quotes by itself) against the split fields.
        const std::optional<AsciiRecord> record = parser.parse(line);
        const bool usable = fields.size() > 4 && !fields.at(1).simplified().isEmpty()
            && !fields.at(4).simplified().isEmpty();
        if (record.has_value() != usable
            || (usable
                && (record->call != fields.at(1).simplified() || record->locator != fields.at(4).simplified()
                    || record->date != QDateTime::fromString(fields.at(0), dateFormat))))
            Fuzz::Fail("line parser against the split fields", line);
    }

    static const QString directory = Fuzz::ScratchDir(QStringLiteral("delimited"));
    const QString path = directory + QStringLiteral("/club_log.csv");
    Fuzz::WriteFile(path, bytes);
    AsciiImportDescription description;
    description.pattern = QStringLiteral("*.csv");
    description.delimiter = CleanDelimiter(delimiter);
    description.callColumn = 1;
    description.locatorColumn = 4;
    description.dateColumn = 0;
    description.dateFormat = dateFormat;
    description.headerLines = 1;
    description.originDate = QDate(2026, 6, 1);
    ImportAsciiFiles(directory, description);
    Fuzz::CheckLineReader(path, bytes, 199);
    Fuzz::BuildOutputs();
    return 0;
}
