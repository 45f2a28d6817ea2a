// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ADIF parser on a buffer, the import of its records, the outputs; the
// field lookup against a walk of the catalogue, and the store written and
// read back.

#include "fuzzsupport.h"

#include "adif/adifdatabase.h"
#include "base/clock.h"
#include "base/console.h"
#include "database/calldatabase.h"
#include "readers/adiflog.h"
#include "tests/piecedevice.h"

#include <QMap>
#include <QBuffer>
#include <QTextCodec>

namespace {

/// A name or value as it comes back from the middle of a file written in
/// the local encoding, where a byte-order mark is a character like any
/// other and the tag text that follows ends a lone surrogate.
QString ThroughLocalEncoding(const QString &text)
{
    const QString tagged = text + QLatin1Char('<');
    QTextCodec *codec = QTextCodec::codecForLocale();
    QTextCodec::ConverterState encoding(QTextCodec::IgnoreHeader);
    const QByteArray bytes = codec->fromUnicode(tagged.constData(), tagged.size(), &encoding);
    QTextCodec::ConverterState decoding(QTextCodec::IgnoreHeader);
    return codec->toUnicode(bytes.constData(), bytes.size(), &decoding).chopped(1);
}

/// The non-empty values of a record by position.
QMap<int, QString> NonEmptyValues(const AdifRecord &record)
{
    QMap<int, QString> values;
    for (int k = 0; k < record.StoredCount(); ++k) {
        if (!record.StoredValue(k).isEmpty())
            values.insert(record.StoredPosition(k), record.StoredValue(k).toString());
    }
    return values;
}

/// Every record comes back with its non-empty values under their names;
/// where two catalogue entries read back as one field, the later value
/// wins, as it does in the file.
void CheckRoundTrip(const AdifDataBase &store, int lineWidth)
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    if (store.WriteAdifFile(out, lineWidth, false, nullptr) != 0)
        Fuzz::Fail("writing the store");
    AdifDataBase back;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    back.ReadAdifFile(in, nullptr);
    if (back.RecordCount() != store.RecordCount())
        Fuzz::Fail("read back: record count", QString::fromUtf8(bytes));
    for (int r = 0; r < store.RecordCount(); ++r) {
        QMap<int, QString> expected;
        const QMap<int, QString> written = NonEmptyValues(store.GetRecord(r));
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            expected.insert(back.FieldIndex(ThroughLocalEncoding(store.FieldName(it.key()))),
                            ThroughLocalEncoding(it.value()));
        if (NonEmptyValues(back.GetRecord(r)) != expected)
            Fuzz::Fail("read back: values", QString::fromUtf8(bytes));
    }
}

/// True when the reader reads the bytes in pieces as it reads them whole
/// whatever they hold: in UTF-8, where a character cut by a piece is held
/// back for the next, or when they decode without a broken sequence in the
/// encoding the reader takes for them.
bool ReadsAlikeInPieces(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForLocale());
    if (codec->mibEnum() == 106)
        return true;
    QTextCodec::ConverterState state;
    codec->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

/// The store reads the bytes in small pieces as AdifStore read them whole.
void CheckPieces(const QByteArray &bytes)
{
    const int size = bytes.size();
    AdifDataBase cut;
    PieceDevice pieces(bytes, { 4, 1 + size % 7, 1 + size % 13, 2 });
    cut.ReadAdifFile(pieces, nullptr);
    if (cut.RecordCount() != AdifStore.RecordCount() || cut.FieldCount() != AdifStore.FieldCount())
        Fuzz::Fail("read in pieces: counts");
    for (int f = 0; f < cut.FieldCount(); ++f) {
        if (cut.FieldName(f) != AdifStore.FieldName(f))
            Fuzz::Fail("read in pieces: names");
    }
    for (int r = 0; r < cut.RecordCount(); ++r) {
        if (NonEmptyValues(cut.GetRecord(r)) != NonEmptyValues(AdifStore.GetRecord(r)))
            Fuzz::Fail("read in pieces: values");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    QByteArray bytes = Fuzz::Bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    int reported = 0;
    AdifStore.ReadAdifFile(buffer, [&reported](int stored) {
        if (stored != ++reported)
            Fuzz::Fail("progress counts the records");
    });
    if (reported != AdifStore.RecordCount())
        Fuzz::Fail("progress counts the records");

    // The same bytes in small pieces read the same: values, names and
    // characters cut anywhere. The first piece holds a byte-order mark.
    // Broken sequences of other encodings than UTF-8 are left out: Qt's
    // decoders may replace one cut in two by fewer characters.
    if (ReadsAlikeInPieces(bytes))
        CheckPieces(bytes);

    CheckRoundTrip(AdifStore, int(size % 97) - 10);
    ImportAdifRecords(AdifStore, CallDatabase, DebugLog, Clock::Now());
    Fuzz::BuildOutputs();

    // The names of the catalogue, and the names the tags of the input spell.
    QStringList names;
    for (int i = 0; i < qMin(AdifStore.FieldCount(), 60); ++i)
        names << AdifStore.FieldName(i);
    const QString text = QString::fromUtf8(bytes);
    for (int open = text.indexOf(QLatin1Char('<')); open >= 0 && names.size() < 120;
         open = text.indexOf(QLatin1Char('<'), open + 1)) {
        int end = open + 1;
        while (end < text.size() && text.at(end) != QLatin1Char(':') && text.at(end) != QLatin1Char('>'))
            ++end;
        names << text.mid(open + 1, end - open - 1).simplified();
    }
    for (const QString &name : names)
        Fuzz::CheckFieldIndex(AdifStore, name);
    return 0;
}
