// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The field catalogue "adif.txt": its entries against splitting the file
// into lines the plain way, the field lookup against a walk, and a log read
// into the catalogue.

#include "fuzzsupport.h"

#include "adif/adifdatabase.h"

#include <QBuffer>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString path = Fuzz::ScratchDir(QStringLiteral("catalogue")) + QStringLiteral("/adif.txt");
    Fuzz::WriteFile(path, bytes);
    AdifStore.LoadFieldCatalogue(0, path);

    QStringList names;
    int position = 0;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw.constData(), int(qstrnlen(raw.constData(), uint(raw.size()))));
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const QString label = words.size() > 1 ? words.at(1) : QLatin1Char('[') + words.at(0) + QLatin1Char(']');
        const QString description = words.size() > 2 ? words.mid(2).join(QLatin1Char(' '))
                                                     : QStringLiteral("The [%1] ADIF field").arg(words.at(0));
        if (AdifStore.FieldName(position) != words.at(0).toUpper() || AdifStore.FieldLabel(position) != label
            || AdifStore.FieldDescription(position) != description)
            Fuzz::Fail("catalogue entry against the plain reading", line);
        ++position;
        names << words.at(0);
    }
    if (position != AdifStore.FieldCount() || AdifStore.IsModified())
        Fuzz::Fail("catalogue size against the plain reading");

    for (int i = 0; i < qMin(names.size(), 80); ++i)
        Fuzz::CheckFieldIndex(AdifStore, names.at(i));

    QByteArray log("<call:6>DL1ABC<Gridsquare:4>JO62<eor>");
    QBuffer buffer(&log);
    buffer.open(QIODevice::ReadOnly);
    AdifStore.ReadAdifFile(buffer, nullptr);
    const AdifRecord record = AdifStore.GetRecord(0);
    if (record.Value(AdifStore.FieldIndex(QStringLiteral("CALL"))) != QLatin1String("DL1ABC")
        || record.Value(AdifStore.FieldIndex(QStringLiteral("GRIDSQUARE"))) != QLatin1String("JO62"))
        Fuzz::Fail("a log read into the catalogue");
    return 0;
}
