// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writing AdifDataBase as an ADIF file: a short header, then per record one
// tag "<NAME:length>value" for each non-empty value in catalogue order and
// the end tag. The text is written in the local 8-bit encoding, as a
// QTextStream with default settings writes it.

#include "adif/adifdatabase.h"

#include "base/clock.h"

#include <QSaveFile>
#include <QTextCodec>
#include <QTextEncoder>


namespace {

/// A value as it is written. A carriage return before a line feed would be
/// dropped on reading and shorten the value by one character, so that the
/// counted value would swallow the first character after it; the pair is
/// written as the line feed alone.
QString WrittenValue(const QString &value)
{
    if (!value.contains(QLatin1Char('\r')))
        return value;
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

/// The text of one record: its tags, with line ends inserted whenever the
/// tags written since the last line end are longer than lineWidth, then the end tag.
QString RecordText(const AdifRecord &record, const QVector<QString> &names, int lineWidth)
{
    QString text;
    int count = 0;
    for (int k = 0; k < record.StoredCount() && record.StoredPosition(k) < names.size(); ++k) {
        if (record.StoredValue(k).isEmpty())
            continue;
        const QString value = WrittenValue(record.StoredValue(k).toString());
        const QString tag = QLatin1Char('<') + names.at(record.StoredPosition(k)) + QLatin1Char(':')
            + QString::number(value.size()) + QLatin1Char('>') + value;
        text += tag;
        if (lineWidth != 0) {
            count += tag.size();
            if (count > lineWidth) {
                text += QLatin1Char('\n');
                count = 0;
            }
        }
    }
    text += QLatin1String("<eor>\n\n");
    return text;
}

} // namespace

int AdifDataBase::WriteAdifFile(const QString &path, int lineWidth, bool onlySelected,
                                const AdifProgress &progress) const
{
    // A file written only in part would replace the good file it was meant
    // to update; the old file stays until the new one is complete. In text
    // mode each line ends as the system's text files do (CR LF on Windows).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return -1;
    if (WriteAdifFile(file, lineWidth, onlySelected, progress) != 0 || !file.commit())
        return -1;
    return 0;
}

int AdifDataBase::WriteAdifFile(QIODevice &device, int lineWidth, bool onlySelected,
                                const AdifProgress &progress) const
{
    if (!device.isWritable())
        return -1;

    QTextCodec *codec = QTextCodec::codecForLocale();
    if (!codec)
        codec = QTextCodec::codecForMib(4); // Latin-1
    // No byte-order mark, as a QTextStream with default settings writes none.
    QTextEncoder encoder(codec, QTextCodec::IgnoreHeader);
    bool written = true;
    auto write = [&](const QString &text) {
        const QByteArray bytes = encoder.fromUnicode(text);
        written = written && device.write(bytes) == bytes.size();
    };

    // The moment of this write, not the run's "now": a store kept open and
    // written twice shows two times.
    const QString moment = Clock::WallTime().toString(QStringLiteral("dd-MMM-yyyy HH:mm"));
    write(QStringLiteral("ADIF File exported by Pevrax\n%1\n<eoh>").arg(moment));

    QVector<QString> names;
    names.reserve(m_fields.size());
    for (const AdifField &field : m_fields)
        names.append(field.name);

    int count = 0;
    for (const AdifRecord &record : m_records) {
        if (onlySelected && m_selectionActive && !record.selected)
            continue;
        write(RecordText(record, names, lineWidth));
        ++count;
        if (progress)
            progress(count);
    }
    return written ? 0 : -1;
}
