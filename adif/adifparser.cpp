// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading ADIF files into AdifDataBase.
//
// The file is decoded block by block with one stateful decoder, the way a
// QTextStream with default settings would decode it (the local 8-bit
// encoding, or the Unicode encoding a byte-order mark names), with line ends
// of carriage return and line feed read as one line feed. A small state
// machine then walks the characters: text outside tags is skipped, a tag is
// "<name>", "<name:length>" or "<name:length:type>", a counted value is
// exactly that many characters, an open value runs up to the next "<", and
// "<eor>" ends a record. Malformed text is never an error.
//
// Texts grow only with characters actually read, so a declared length of
// two thousand million costs nothing until the characters are there; and no
// text grows past maxTextLength, so a file of gigabytes without a "<" cannot
// exhaust memory.

#include "adif/adifdatabase.h"

#include "base/text.h"

#include <QFile>
#include <QTextCodec>

#include <algorithm>
#include <cstring>
#include <vector>

/// Fills the records of a file: values arrive in file order into buffers that
/// serve every record, and each record gets its value list and text at their
/// exact sizes when it is complete.
class AdifRecordBuilder
{
public:
    /// A new record of count empty values.
    void start(int count)
    {
        m_cells.clear();
        m_text.clear();
        m_count = count;
        m_sorted = true;
    }

    /// Sets the value at position; a later value for the same position wins.
    void add(int position, QStringView value)
    {
        if (!m_cells.empty() && m_cells.back().position >= position)
            m_sorted = false;
        m_cells.push_back(AdifRecord::Cell { position, int(m_text.size()), int(value.size()) });
        m_text.insert(m_text.end(), value.begin(), value.end());
        m_count = qMax(m_count, position + 1);
    }

    /// The record as it stands, not selected and without id.
    AdifRecord take()
    {
        if (!m_sorted) {
            // A stable sort keeps equal positions in file order; the last of them counts.
            using Cell = AdifRecord::Cell;
            if (m_cells.size() <= 32) {
                // A record of a few values sorts faster by insertion, without a buffer.
                for (std::size_t i = 1; i < m_cells.size(); ++i) {
                    const Cell cell = m_cells[i];
                    std::size_t j = i;
                    for (; j > 0 && m_cells[j - 1].position > cell.position; --j)
                        m_cells[j] = m_cells[j - 1];
                    m_cells[j] = cell;
                }
            } else {
                std::stable_sort(m_cells.begin(), m_cells.end(),
                                 [](const Cell &a, const Cell &b) { return a.position < b.position; });
            }
            std::size_t kept = 0;
            for (std::size_t i = 0; i < m_cells.size(); ++i) {
                if (kept > 0 && m_cells[kept - 1].position == m_cells[i].position)
                    --kept;
                m_cells[kept++] = m_cells[i];
            }
            m_cells.resize(kept);
        }
        AdifRecord record;
        record.m_cells = QVector<AdifRecord::Cell>(int(m_cells.size()));
        std::copy(m_cells.cbegin(), m_cells.cend(), record.m_cells.begin());
        record.m_text = QString(m_text.data(), int(m_text.size()));
        record.m_count = m_count;
        return record;
    }

private:
    std::vector<AdifRecord::Cell> m_cells;
    std::vector<QChar> m_text;
    int m_count = 0;
    bool m_sorted = true;
};

namespace {

constexpr int readBlockSize = 1 << 20;

/// The MIB number of UTF-8.
constexpr int utf8Mib = 106;

/// Far beyond any real ADIF value, far below what a QString can hold.
/// Characters past it are still read and counted, but not kept.
constexpr int maxTextLength = 1 << 26;

void AppendCapped(QString &text, const QChar *begin, const QChar *end)
{
    const qptrdiff room = maxTextLength - text.size();
    const qptrdiff count = qMin<qptrdiff>(end - begin, room);
    if (count > 0)
        text.append(begin, int(count));
}

/// The last four characters of tail followed by [begin, end).
void KeepTail(QString &tail, const QChar *begin, const QChar *end)
{
    if (end - begin >= 4) {
        tail = QString(end - 4, 4);
        return;
    }
    tail.append(begin, int(end - begin));
    if (tail.size() > 4)
        tail.remove(0, tail.size() - 4);
}

/// text.simplified(), without a copy where text is simplified already, as
/// nearly every name and value of a log is.
QString Simplified(const QString &text)
{
    const QChar *data = text.constData();
    const int size = text.size();
    if (size == 0)
        return text;
    if (data[0].isSpace() || data[size - 1].isSpace())
        return text.simplified();
    for (int i = 1; i < size - 1; ++i) {
        if (data[i].isSpace() && (data[i] != QLatin1Char(' ') || data[i + 1].isSpace()))
            return text.simplified();
    }
    return text;
}

const QChar *FindChar(const QChar *p, const QChar *end, char c)
{
    while (p < end && *p != QLatin1Char(c))
        ++p;
    return p;
}

const QChar *FindEitherChar(const QChar *p, const QChar *end, char a, char b)
{
    while (p < end && *p != QLatin1Char(a) && *p != QLatin1Char(b))
        ++p;
    return p;
}

class AdifStateMachine
{
public:
    AdifStateMachine(AdifDataBase &store, const AdifProgress &progress)
        : m_store(store)
        , m_progress(progress)
    {
    }

    /// Handles the next characters of the file.
    void feed(const QChar *p, const QChar *end)
    {
        step(p, end);
        // A name seen in place lies in characters that are gone after this.
        if (m_nameInPlace) {
            m_name = m_nameView.toString();
            m_nameInPlace = false;
        }
    }

private:
    enum class State { Start, Header, SeekTag, TagName, TagLength, TagType, Value };

    void step(const QChar *p, const QChar *end);
    void closeTag(QStringView length);
    /// The name of the tag being read.
    QStringView name() const { return m_nameInPlace ? m_nameView : QStringView(m_name); }
    /// Stores value under the tag name just read; value may lie in m_value
    /// or, when it was whole in the characters fed, right there.
    void setField(QStringView value);
    int fieldPosition();
    void endRecord();

    AdifDataBase &m_store;
    const AdifProgress &m_progress;
    State m_state = State::Start;
    QString m_name;
    /// A tag name whole in the characters fed is seen where it lies.
    QStringView m_nameView;
    bool m_nameInPlace = false;
    QString m_length;
    QString m_value;
    /// The header is not kept; only its last characters decide where it ends.
    QString m_headerTail;
    int m_declaredLength = 0; ///< 0: an open value
    int m_count = 0; ///< characters of the counted value read so far
    /// The position of the name of each field of the last records, by the
    /// field's place in its record: a log names the same fields in the same
    /// order record after record, and this spares looking them up.
    struct KnownName
    {
        QString name;
        int position;
    };
    QVector<KnownName> m_knownNames;
    int m_fieldInRecord = 0;
    AdifRecordBuilder m_record;
    int m_stored = 0;
};

void AdifStateMachine::step(const QChar *p, const QChar *end)
{
    while (p < end) {
        switch (m_state) {
        case State::Start:
            // The first character decides: "<" opens a tag of the first
            // record, anything else starts a header and is dropped.
            if (*p == QLatin1Char('<')) {
                m_name.resize(0);
                m_nameInPlace = false;
                m_state = State::TagName;
            } else {
                m_state = State::Header;
            }
            ++p;
            break;

        case State::Header: {
            const QChar *close = FindChar(p, end, '>');
            KeepTail(m_headerTail, p, close);
            if (close == end)
                return;
            if (m_headerTail.size() == 4
                && m_headerTail.compare(QLatin1String("<eoh"), Qt::CaseInsensitive) == 0) {
                m_headerTail.clear();
                m_value.resize(0);
                m_state = State::SeekTag;
            } else {
                KeepTail(m_headerTail, close, close + 1);
            }
            p = close + 1;
            break;
        }

        case State::SeekTag: {
            const QChar *open = FindChar(p, end, '<');
            if (open == end)
                return;
            if (!m_name.isEmpty())
                m_name.resize(0);
            m_nameInPlace = false;
            m_state = State::TagName;
            p = open + 1;
            break;
        }

        case State::TagName: {
            const QChar *stop = FindEitherChar(p, end, ':', '>');
            if (stop != end && m_name.isEmpty() && stop - p <= maxTextLength) {
                m_nameView = QStringView(p, stop);
                m_nameInPlace = true;
            } else {
                AppendCapped(m_name, p, stop);
                if (stop == end)
                    return;
            }
            if (*stop == QLatin1Char(':')) {
                if (!m_length.isEmpty())
                    m_length.resize(0);
                m_state = State::TagLength;
            } else if (name().size() == 3 && name().compare(QStringView(u"eor"), Qt::CaseInsensitive) == 0) {
                // Only the bare name ends a record: "<eor >" or "< eor>" is an ordinary tag.
                endRecord();
                m_state = State::SeekTag;
            } else {
                m_value.resize(0);
                m_declaredLength = 0;
                m_state = State::Value;
            }
            p = stop + 1;
            break;
        }

        case State::TagLength: {
            const QChar *stop = FindEitherChar(p, end, ':', '>');
            if (stop != end && m_length.isEmpty() && stop - p <= maxTextLength) {
                // The length whole in what was fed is read where it lies.
                if (*stop == QLatin1Char(':')) {
                    m_length.append(p, int(stop - p));
                    m_state = State::TagType;
                } else {
                    closeTag(QStringView(p, stop));
                }
                p = stop + 1;
                break;
            }
            AppendCapped(m_length, p, stop);
            if (stop == end)
                return;
            if (*stop == QLatin1Char(':'))
                m_state = State::TagType;
            else
                closeTag(m_length);
            p = stop + 1;
            break;
        }

        case State::TagType: {
            // The data type indicator is not kept.
            const QChar *close = FindChar(p, end, '>');
            if (close == end)
                return;
            closeTag(m_length);
            p = close + 1;
            break;
        }

        case State::Value:
            if (m_declaredLength > 0 && m_count == 0 && end - p >= m_declaredLength
                && m_declaredLength <= maxTextLength) {
                // A counted value whole in what was fed needs no copy.
                setField(QStringView(p, m_declaredLength));
                p += m_declaredLength;
                m_state = State::SeekTag;
            } else if (m_declaredLength > 0) {
                // Every character belongs to a counted value, "<" and line ends included.
                const qptrdiff take = qMin<qptrdiff>(end - p, m_declaredLength - m_count);
                AppendCapped(m_value, p, p + take);
                m_count += int(take);
                p += take;
                if (m_count == m_declaredLength) {
                    setField(m_value);
                    m_state = State::SeekTag;
                }
            } else {
                const QChar *open = FindChar(p, end, '<');
                if (open != end && m_value.isEmpty() && open - p <= maxTextLength) {
                    setField(QStringView(p, open));
                } else {
                    AppendCapped(m_value, p, open);
                    if (open == end)
                        return;
                    setField(m_value);
                }
                // The "<" that ends an open value opens the next tag.
                if (!m_name.isEmpty())
                    m_name.resize(0);
                m_nameInPlace = false;
                m_state = State::TagName;
                p = open + 1;
            }
            break;
        }
    }
}

/// The length a tag declares: its text as a whole number; 0 where it is
/// none, or one beyond the range of int.
int DeclaredLength(QStringView text)
{
    // Nearly every length is a few plain digits.
    const int size = int(text.size());
    if (size > 0 && size <= 9) {
        int value = 0;
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return ToInt(text);
            value = 10 * value + (c.unicode() - '0');
        }
        return value;
    }
    return ToInt(text);
}

void AdifStateMachine::closeTag(QStringView length)
{
    m_declaredLength = DeclaredLength(length);
    if (!m_value.isEmpty())
        m_value.resize(0);
    if (m_declaredLength > 0) {
        m_count = 0;
        m_state = State::Value;
    } else {
        // No value is stored; the text up to the next "<" is skipped.
        m_state = State::SeekTag;
    }
}

bool SameText(QStringView a, QStringView b)
{
    // Field names are short: a plain loop beats a call of memcmp.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

/// True for a name of ASCII letters, digits and underscores, as every real
/// field name is: such a name is simplified already, and the catalogue
/// position it is looked up under never changes.
bool IsPlainName(QStringView name)
{
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_'))
            return false;
    }
    return !name.isEmpty();
}

int AdifStateMachine::fieldPosition()
{
    const int k = m_fieldInRecord++;
    const QStringView tagName = name();
    if (k < m_knownNames.size() && SameText(m_knownNames.at(k).name, tagName))
        return m_knownNames.at(k).position;
    // A record that leaves a field out or adds one shifts the rest; they are
    // still known, at other places.
    for (int other = 0; other < qMin(m_knownNames.size(), 32); ++other) {
        if (SameText(m_knownNames.at(other).name, tagName))
            return m_knownNames.at(other).position;
    }
    const int position = m_store.FieldIndex(Simplified(tagName.toString()));
    if (k <= m_knownNames.size() && k < 256 && IsPlainName(tagName)) {
        const KnownName known { tagName.toString(), position };
        if (k < m_knownNames.size())
            m_knownNames[k] = known;
        else
            m_knownNames.append(known);
    }
    return position;
}

void AdifStateMachine::setField(QStringView value)
{
    const int position = fieldPosition();
    QString simplified;
    m_record.add(position, SimplifiedView(value, simplified));
    // The next value starts a new text in the same buffer.
    if (!m_value.isEmpty())
        m_value.resize(0);
}

void AdifStateMachine::endRecord()
{
    m_store.StoreRecord(m_record.take());
    m_record.start(m_store.FieldCount());
    m_fieldInRecord = 0;
    ++m_stored;
    if (m_progress)
        m_progress(m_stored);
}

/// Removes each carriage return that comes right before a line feed, as a
/// file read in text mode does. A carriage return at the end of a block is
/// held back until the next block shows what follows it.
class LineEndFilter
{
public:
    /// Filters text in place and returns the number of characters that remain.
    int filter(QString &text, AdifStateMachine &machine)
    {
        int size = text.size();
        if (m_heldReturn && size > 0) {
            m_heldReturn = false;
            if (text.at(0) != QLatin1Char('\n'))
                machine.feed(&carriageReturn, &carriageReturn + 1);
        }
        if (text.indexOf(carriageReturn) >= 0) {
            QChar *data = text.data();
            int kept = 0;
            for (int i = 0; i < size; ++i) {
                if (data[i] == carriageReturn && i + 1 < size && data[i + 1] == QLatin1Char('\n'))
                    continue;
                data[kept++] = data[i];
            }
            size = kept;
            if (size > 0 && data[size - 1] == carriageReturn) {
                m_heldReturn = true;
                --size;
            }
        }
        return size;
    }

    /// At the end of the file a held carriage return is an ordinary character.
    void finish(AdifStateMachine &machine)
    {
        if (m_heldReturn)
            machine.feed(&carriageReturn, &carriageReturn + 1);
        m_heldReturn = false;
    }

private:
    static const QChar carriageReturn;
    bool m_heldReturn = false;
};

const QChar LineEndFilter::carriageReturn = QLatin1Char('\r');

/// The encoding a QTextStream with default settings would choose: the one a
/// byte-order mark at the start names, else the local 8-bit encoding.
QTextCodec *CodecFor(const QByteArray &start)
{
    QTextCodec *local = QTextCodec::codecForLocale();
    if (!local)
        local = QTextCodec::codecForMib(4); // Latin-1
    return QTextCodec::codecForUtfText(start, local);
}

/// True when the encoding reads each ASCII byte as that character, as UTF-8
/// and the 8-bit encodings do: then a block of ASCII needs no decoder.
bool DecodesAsciiAsItself(QTextCodec *codec)
{
    QByteArray ascii(0x80, Qt::Uninitialized);
    for (int c = 0; c < 0x80; ++c)
        ascii[c] = char(c);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->toUnicode(ascii.constData(), ascii.size(), &state)
        == QString::fromLatin1(ascii.constData(), ascii.size());
}

/// Widens a block into text when it is all ASCII; false, text unchanged in
/// length, at the first byte that is not.
bool WidenAscii(const char *bytes, int size, QString &text)
{
    // Eight bytes at a time are checked for a byte of 0x80 or above.
    quint64 high = 0;
    int i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        high |= word;
    }
    for (; i < size; ++i)
        high |= static_cast<unsigned char>(bytes[i]);
    if (high & Q_UINT64_C(0x8080808080808080))
        return false;
    text.resize(size);
    QChar *out = text.data();
    for (i = 0; i < size; ++i)
        out[i] = QChar(ushort(static_cast<unsigned char>(bytes[i])));
    return true;
}

} // namespace

int AdifDataBase::ReadAdifFile(const QString &path, void *reserved, const AdifProgress &progress)
{
    Q_UNUSED(reserved)
    // Not Qt's text mode, which drops every carriage return; line ends are
    // handled while reading.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return ReadAdifFile(file, progress);
}

int AdifDataBase::ReadAdifFile(QIODevice &device, const AdifProgress &progress)
{
    if (!device.isReadable())
        return -1;

    const bool signalsWereEnabled = SetSignalsEnabled(false);
    AdifStateMachine machine(*this, progress);
    LineEndFilter lineEnds;
    // A small file gets a block of its own size (and one byte to see its
    // end), not a megabyte.
    const qint64 known = device.isSequential() ? 0 : device.bytesAvailable();
    const int blockSize = known > 0 && known < readBlockSize ? int(known) + 1 : readBlockSize;
    QByteArray block(blockSize, Qt::Uninitialized);
    QTextCodec *codec = nullptr;
    QTextCodec::ConverterState state;
    bool utf8 = false;
    bool asciiAsItself = false;
    // The bytes of a UTF-8 character cut by the end of a block, held back
    // and decoded with the next block.
    QByteArray heldBack;
    QString text;
    for (;;) {
        // A read error ends the file like its end.
        const qint64 got = device.read(block.data(), block.size());
        if (got <= 0)
            break;
        text.resize(0);
        if (!codec) {
            codec = CodecFor(QByteArray::fromRawData(block.constData(), int(got)));
            utf8 = codec->mibEnum() == utf8Mib;
            asciiAsItself = DecodesAsciiAsItself(codec);
        } else if (asciiAsItself && heldBack.isEmpty() && state.remainingChars == 0
                   && WidenAscii(block.constData(), int(got), text)) {
            // The first block went through the decoder (a byte-order mark is
            // only looked for there); an ASCII block that follows a complete
            // character reads the same without it.
            const int size = lineEnds.filter(text, machine);
            machine.feed(text.constData(), text.constData() + size);
            continue;
        }
        const QByteArray bytes
            = heldBack.isEmpty() ? QByteArray::fromRawData(block.constData(), int(got)) : heldBack + block.left(int(got));
        text = codec->toUnicode(bytes.constData(), bytes.size(), &state);
        if (utf8) {
            // The decoder keeps a character the block cuts for the next
            // call, and reads it then otherwise than the same bytes read in
            // one piece where they turn out not to be a character. So the
            // cut bytes are taken out of its hands and put before the next
            // block: every block then ends where a whole read of the file
            // sees a character end, and decodes as that read does.
            // A copy: bytes may be the read buffer itself, which the next read overwrites.
            const int cut = int(state.remainingChars);
            heldBack = QByteArray(bytes.constData() + bytes.size() - cut, cut);
            state.remainingChars = 0;
        }
        const int size = lineEnds.filter(text, machine);
        machine.feed(text.constData(), text.constData() + size);
    }
    // Whatever is unfinished now, a value, a record or a character cut by the
    // end of the file, is dropped.
    lineEnds.finish(machine);

    SetSignalsEnabled(signalsWereEnabled);
    if (signalsWereEnabled) {
        emit AdifChanged();
        emit DataChanged();
        emit SelectionChanged();
    }
    return 0;
}
