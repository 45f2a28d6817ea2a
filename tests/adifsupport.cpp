// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"

#include "base/datetext.h"

#include <QBuffer>
#include <QTextCodec>

#include <algorithm>

const QString logFolder = QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/");

int Read(AdifDataBase &store, QByteArray bytes, const AdifProgress &progress)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return store.ReadAdifFile(buffer, progress);
}

QStringList Records(const AdifDataBase &store)
{
    QStringList lines;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QStringList parts { QString::number(record.id) };
        for (int f = 0; f < store.FieldCount(); ++f) {
            if (!record.Value(f).isEmpty())
                parts << store.FieldName(f) + QLatin1Char('=') + record.Value(f);
        }
        lines << parts.join(QLatin1Char('|'));
    }
    return lines;
}

QString Parsed(const AdifDataBase &store)
{
    QStringList names;
    for (int i = 0; i < store.FieldCount(); ++i)
        names << store.FieldName(i);
    const QStringList records = Records(store);
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']')
        + (records.isEmpty() ? QString() : QLatin1Char(' ') + records.join(QStringLiteral(" / ")));
}

bool LocalEncodingDiffers(const QByteArray &text)
{
    const bool marked = text.startsWith("\xef\xbb\xbf") || text.startsWith("\xff\xfe") || text.startsWith("\xfe\xff");
    return !marked && QTextCodec::codecForLocale()->mibEnum() != 106
        && std::any_of(text.cbegin(), text.cend(), [](char c) { return uchar(c) >= 0x80; });
}

QStringList Store(AdifDataBase &store, const QString &records)
{
    QStringList answers;
    for (QString text : records.split(QLatin1Char('|'))) {
        AdifRecord record;
        record.selected = text.endsWith(QLatin1Char('*'));
        text.chop(record.selected ? 1 : 0);
        if (text.contains(QLatin1Char(':')))
            record.id = text.section(QLatin1Char(':'), 0, 0).toInt();
        for (const QString &value : text.section(QLatin1Char(':'), -1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            record.SetValue(store.FieldIndex(value.section(QLatin1Char('='), 0, 0)),
                            value.section(QLatin1Char('='), 1));
        answers << QString::number(store.StoreRecord(record));
    }
    return answers;
}

QString State(const AdifDataBase &store)
{
    QStringList parts;
    for (int n = 0; store.GetRecord(n).id > 0; ++n) {
        const AdifRecord record = store.GetRecord(n);
        QStringList values;
        for (int f = 0; f < store.FieldCount() + 8; ++f)
            values << record.Value(f);
        while (!values.isEmpty() && values.last().isEmpty())
            values.removeLast();
        parts << QString::number(record.id) + QLatin1Char(':') + values.join(QLatin1Char(','));
    }
    QString marks;
    for (int i = 0; i < store.RecordCount(); ++i)
        marks += QLatin1Char(store.IsSelected(i) ? '*' : '-');
    if (store.IsSelectionActive() || marks.contains(QLatin1Char('*')))
        parts << QStringLiteral("marks ") + marks;
    QStringList names;
    for (int i = 0; i < store.FieldCount(); ++i)
        names << store.FieldName(i);
    if (!names.isEmpty())
        parts << QStringLiteral("fields ") + names.join(QLatin1Char(','));
    // A range left over while none is set shows as such.
    DayTexts days;
    if (store.HasDateRange() || store.DateRangeFrom().isValid() || store.DateRangeTo().isValid())
        parts << QLatin1String(store.HasDateRange() ? "range " : "unset range ") + days.text(store.DateRangeFrom())
                + QLatin1Char('-') + days.text(store.DateRangeTo());
    parts << QLatin1String(store.IsSelectionActive() ? "active" : "")
          << QLatin1String(store.IsModified() ? "modified" : "") << QLatin1String(store.SignalsEnabled() ? "" : "off");
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

SignalCounts::SignalCounts(AdifDataBase &store)
{
    for (auto signal : { &AdifDataBase::DataChanged, &AdifDataBase::AdifChanged, &AdifDataBase::SelectionChanged })
        spies.append(std::make_shared<QSignalSpy>(&store, signal));
}

QString SignalCounts::text() const
{
    return QStringLiteral("%1 %2 %3").arg(spies[0]->count()).arg(spies[1]->count()).arg(spies[2]->count());
}
