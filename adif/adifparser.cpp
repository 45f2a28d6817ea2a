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

#include <QFile>
#include <QTextCodec>
#include <QTextDecoder>

#include <algorithm>
#include <memory>

/// Fills the records of a file: values arrive in file order into buffers that
/// serve every record, and each record gets its value list and text at their
/// exact sizes when it is complete.
class AdifRecordBuilder
{
public:
    /// A new record of count empty values.
    void start(int count)
    {
        m_cells.resize(0);
        m_text.resize(0);
        m_count = count;
        m_sorted = true;
    }

    /// Sets the value at position; a later value for the same position wins.
    void add(int position, QStringView value)
    {
        if (!m_cells.isEmpty() && m_cells.constLast().position >= position)
            m_sorted = false;
        m_cells.append(AdifRecord::Cell { position, m_text.size(), int(value.size()) });
        m_text.append(value.data(), int(value.size()));
        m_count = qMax(m_count, position + 1);
    }

    /// The record as it stands, not selected and without id.
    AdifRecord take()
    {
        if (!m_sorted) {
            // A stable sort keeps equal positions in file order; the last of them counts.
            using Cell = AdifRecord::Cell;
            std::stable_sort(m_cells.begin(), m_cells.end(),
                             [](const Cell &a, const Cell &b) { return a.position < b.position; });
            int kept = 0;
            for (int i = 0; i < m_cells.size(); ++i) {
                if (kept > 0 && m_cells.at(kept - 1).position == m_cells.at(i).position)
                    --kept;
                m_cells[kept++] = m_cells.at(i);
            }
            m_cells.resize(kept);
        }
        AdifRecord record;
        record.m_cells = QVector<AdifRecord::Cell>(m_cells.cbegin(), m_cells.cend());
        record.m_text = QString(m_text.constData(), m_text.size());
        record.m_count = m_count;
        return record;
    }

private:
    QVector<AdifRecord::Cell> m_cells;
    QString m_text;
    int m_count = 0;
    bool m_sorted = true;
};

namespace {

constexpr int readBlockSize = 1 << 20;

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
    void feed(const QChar *p, const QChar *end);

private:
    enum class State { Start, Header, SeekTag, TagName, TagLength, TagType, Value };

    void closeTag();
    /// Stores value under the tag name just read; value may lie in m_value
    /// or, when it was whole in the characters fed, right there.
    void setField(QStringView value);
    int fieldPosition();
    void endRecord();

    AdifDataBase &m_store;
    const AdifProgress &m_progress;
    State m_state = State::Start;
    QString m_name;
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

void AdifStateMachine::feed(const QChar *p, const QChar *end)
{
    while (p < end) {
        switch (m_state) {
        case State::Start:
            // The first character decides: "<" opens a tag of the first
            // record, anything else starts a header and is dropped.
            if (*p == QLatin1Char('<')) {
                m_name.resize(0);
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
            m_name.resize(0);
            m_state = State::TagName;
            p = open + 1;
            break;
        }

        case State::TagName: {
            const QChar *stop = FindEitherChar(p, end, ':', '>');
            AppendCapped(m_name, p, stop);
            if (stop == end)
                return;
            if (*stop == QLatin1Char(':')) {
                m_length.resize(0);
                m_state = State::TagLength;
            } else if (m_name.compare(QLatin1String("eor"), Qt::CaseInsensitive) == 0) {
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
            AppendCapped(m_length, p, stop);
            if (stop == end)
                return;
            if (*stop == QLatin1Char(':'))
                m_state = State::TagType;
            else
                closeTag();
            p = stop + 1;
            break;
        }

        case State::TagType: {
            // The data type indicator is not kept.
            const QChar *close = FindChar(p, end, '>');
            if (close == end)
                return;
            closeTag();
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
                m_name.resize(0);
                m_state = State::TagName;
                p = open + 1;
            }
            break;
        }
    }
}

/// The length a tag declares: its text as a whole number; 0 where it is
/// none, or one beyond the range of int.
int DeclaredLength(const QString &text)
{
    // Nearly every length is a few plain digits.
    const int size = text.size();
    if (size > 0 && size <= 9) {
        int value = 0;
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Simplified(text).toInt();
            value = 10 * value + (c.unicode() - '0');
        }
        return value;
    }
    return Simplified(text).toInt();
}

void AdifStateMachine::closeTag()
{
    m_declaredLength = DeclaredLength(m_length);
    m_value.resize(0);
    if (m_declaredLength > 0) {
        m_count = 0;
        m_state = State::Value;
    } else {
        // No value is stored; the text up to the next "<" is skipped.
        m_state = State::SeekTag;
    }
}

/// True for a name of ASCII letters, digits and underscores, as every real
/// field name is: such a name is simplified already, and the catalogue
/// position it is looked up under never changes.
bool IsPlainName(const QString &name)
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
    if (k < m_knownNames.size() && m_knownNames.at(k).name == m_name)
        return m_knownNames.at(k).position;
    const int position = m_store.FieldIndex(Simplified(m_name));
    if (k <= m_knownNames.size() && k < 256 && IsPlainName(m_name)) {
        const KnownName known { QString(m_name.constData(), m_name.size()), position };
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
    text.resize(size);
    QChar *out = text.data();
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            text.resize(0);
            return false;
        }
        out[i] = QLatin1Char(bytes[i]);
    }
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
    std::unique_ptr<QTextDecoder> decoder;
    // A small file gets a block of its own size (and one byte to see its
    // end), not a megabyte.
    const qint64 known = device.isSequential() ? 0 : device.bytesAvailable();
    const int blockSize = known > 0 && known < readBlockSize ? int(known) + 1 : readBlockSize;
    QByteArray block(blockSize, Qt::Uninitialized);
    QString text;
    bool asciiAsItself = false;
    for (;;) {
        // A read error ends the file like its end.
        const qint64 got = device.read(block.data(), block.size());
        if (got <= 0)
            break;
        text.resize(0);
        if (!decoder) {
            QTextCodec *codec = CodecFor(QByteArray::fromRawData(block.constData(), int(got)));
            decoder.reset(new QTextDecoder(codec));
            asciiAsItself = DecodesAsciiAsItself(codec);
        } else if (asciiAsItself && !decoder->needsMoreData() && WidenAscii(block.constData(), int(got), text)) {
            // The first block went through the decoder (a byte-order mark is
            // only looked for there); an ASCII block that follows a complete
            // character reads the same without it.
            const int size = lineEnds.filter(text, machine);
            machine.feed(text.constData(), text.constData() + size);
            continue;
        }
        // Some decoders append to the target, others replace it.
        decoder->toUnicode(&text, block.constData(), int(got));
        const int size = lineEnds.filter(text, machine);
        machine.feed(text.constData(), text.constData() + size);
    }
    // Whatever is unfinished now, a value or a record, is dropped.
    lineEnds.finish(machine);

    SetSignalsEnabled(signalsWereEnabled);
    if (signalsWereEnabled) {
        emit AdifChanged();
        emit DataChanged();
        emit SelectionChanged();
    }
    return 0;
}
