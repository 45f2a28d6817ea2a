#pragma once

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "readers/workqueue.h"

#include <QByteArray>
#include <QVector>

#include <cstdio>

/// What reading a source file yields, in parts of a bounded number of
/// records: the records made ready for the database, and the text that taking
/// them in writes to the console and the log, in order.
struct SourcePart
{
    static constexpr int partSize = 4096;

    int file = 0;
    bool first = false; ///< the part that opens the file's console line
    bool last = false; ///< the part that closes it
    bool opened = false;
    QVector<PreparedRecord> records;
    QByteArray console;
    QByteArray log;
    int counted = 0; ///< the records among them that the file's count counts
};

/// Makes the records of source files ready on the thread that reads them.
/// Touches nothing shared: the age limit is asked for when it is made.
class RecordPreparer
{
public:
    RecordPreparer()
        : m_ageLimit(AgeLimit())
        , m_logging(DebugLog != nullptr)
    {
    }

    bool logging() const { return m_logging; }

    void add(SourcePart &part, const QString &call, const QString &locator, const QDateTime &date, int weight)
    {
        part.records.append(
            PrepareRecord(call, locator, date, weight, m_ageLimit, m_days, m_logging ? &part.log : nullptr));
    }

    /// Hands a full part on and starts the next part of the same file.
    template<typename HandOn>
    void handOnWhenFull(SourcePart &part, HandOn &handOn)
    {
        if (part.records.size() < SourcePart::partSize)
            return;
        const int file = part.file;
        handOn(std::move(part));
        part = SourcePart();
        part.file = file;
        part.opened = true;
    }

private:
    const QDateTime m_ageLimit;
    const bool m_logging;
    DayTexts m_days;
};

/// Takes in the text and the records of a part; returns the records counted.
inline int TakeInPart(const SourcePart &part)
{
    std::fwrite(part.console.constData(), 1, size_t(part.console.size()), ConsoleFile());
    if (DebugLog)
        std::fwrite(part.log.constData(), 1, size_t(part.log.size()), DebugLog);
    for (const PreparedRecord &record : part.records)
        MergeRecord(record);
    return part.counted;
}
