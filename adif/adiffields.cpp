// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The field catalogue of AdifDataBase: loading it from a file, and finding
// and adding fields by name.

#include "adif/adifdatabase.h"

#include <QFile>
#include <QStringList>

namespace {

/// A key under which two names are equal exactly when QString::compare()
/// without regard to case calls them equal: every UTF-16 unit folded on its
/// own, a low surrogate together with the high surrogate before it.
QVector<uint> FoldedName(const QString &name)
{
    QVector<uint> key(name.size());
    uint last = 0;
    for (int i = 0; i < name.size(); ++i) {
        const uint unit = name.at(i).unicode();
        uint ucs4 = unit;
        if (QChar::isLowSurrogate(ucs4) && QChar::isHighSurrogate(last))
            ucs4 = QChar::surrogateToUcs4(ushort(last), ushort(ucs4));
        last = unit;
        key[i] = QChar::toCaseFolded(ucs4);
    }
    return key;
}

/// One line of a catalogue file as text: UTF-8 up to the first zero byte.
QString CatalogueLine(const QByteArray &bytes)
{
    const int end = bytes.indexOf('\0');
    return QString::fromUtf8(bytes.constData(), end < 0 ? bytes.size() : end);
}

} // namespace

void AdifDataBase::LoadFieldCatalogue(int reserved, const QString &path)
{
    Q_UNUSED(reserved)
    QFile file(path);
    // Opened without Qt's text mode, which would drop every carriage return:
    // a carriage return is white space between words like any other.
    if (!file.open(QIODevice::ReadOnly))
        return;

    while (!file.atEnd()) {
        const QByteArray bytes = file.readLine();
        if (bytes.isEmpty())
            break; // a read error ends the file like its end
        const QString line = CatalogueLine(bytes).simplified();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(QLatin1Char(' '));
        const QString &name = words.at(0);
        const QString label
            = words.size() >= 2 ? words.at(1) : QLatin1Char('[') + name + QLatin1Char(']');
        const QString description = words.size() >= 3
            ? QStringList(words.mid(2)).join(QLatin1Char(' '))
            : tr("The [%1] ADIF field").arg(name);
        AddField(name, label, description);
    }
    m_modified = false;
}

int AdifDataBase::AddField(const QString &name, const QString &label, const QString &description)
{
    const AdifField field { name.toUpper(), label, description };
    const int position = m_fields.size();
    m_fields.append(field);
    // A repeated name keeps pointing at its first entry.
    const QVector<uint> key = FoldedName(field.name);
    if (!m_fieldIndex.contains(key))
        m_fieldIndex.insert(key, position);
    EmitIfEnabled(&AdifDataBase::AdifChanged);
    return position;
}

int AdifDataBase::FieldIndex(const QString &name)
{
    const auto cached = m_lookupCache.constFind(name);
    if (cached != m_lookupCache.constEnd())
        return cached.value();

    const QVector<uint> key = FoldedName(name);
    int position = m_fieldIndex.value(key, -1);
    if (position < 0) {
        position = AddField(name, QLatin1Char('[') + name + QLatin1Char(']'), QString());
        // A name whose upper case folds to something else ("ß" is stored as
        // "SS") is not even the name of the entry just added: the next
        // lookup adds another, as a walk over the catalogue would.
        if (m_fieldIndex.value(key, -1) != position)
            return position;
    }
    // The catalogue only grows, so the first entry of a name stays the first.
    m_lookupCache.insert(name, position);
    return position;
}

QString AdifDataBase::FieldName(int position) const
{
    return m_fields.value(position).name;
}

QString AdifDataBase::FieldLabel(int position) const
{
    return m_fields.value(position).label;
}

QString AdifDataBase::FieldDescription(int position) const
{
    return m_fields.value(position).description;
}
