// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/console.h"
#include "database/calldatabase.h"
#include "readers/sourcefiles.h"
#include "readers/textlinereader.h"
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
/// Touches nothing shared: it is made on the main thread with the run's
/// moment and whether the run keeps a log, and has its own memory of dates.
class RecordPreparer
{
public:
    RecordPreparer(const QDateTime &now, bool logging)
        : m_ageLimit(AgeLimitStamp(now))
        , m_logging(logging)
    {
    }

    bool logging() const { return m_logging; }

    void add(SourcePart &part, const QString &call, const QString &locator, const QDateTime &date, int weight)
    {
        part.records.append(
            PrepareRecord(call, locator, date, weight, m_ageLimit, m_dates, m_logging ? &part.log : nullptr));
    }

private:
    const qint64 m_ageLimit;
    const bool m_logging;
    DatabaseDates m_dates;
};

/// Takes in the text and the records of a part on the main thread; returns
/// the records counted.
inline int TakeInPart(const SourcePart &part)
{
    std::fwrite(part.console.constData(), 1, size_t(part.console.size()), ConsoleFile());
    if (DebugLog)
        std::fwrite(part.log.constData(), 1, size_t(part.log.size()), DebugLog);
    MergeRecords(CallDatabase, part.records);
    return part.counted;
}

/// What a reader writes around each file, as printf formats: the first two
/// with the file's name (%s), the last with its count (%d). A null text
/// writes nothing.
struct SourceTexts
{
    const char *announce; ///< on the console, before the file is opened
    const char *logLine; ///< in the log, before the file is opened
    const char *openFailed; ///< on the console, when it cannot be opened
    const char *opened; ///< on the console, when it could be
    const char *count; ///< on the console, after its records
};

/// Takes in the parts of files in their order, each file's texts around them.
class SourceIntake
{
public:
    SourceIntake(const SourceFileList &files, const SourceTexts &texts)
        : m_files(files)
        , m_texts(texts)
    {
    }

    void take(const SourcePart &part)
    {
        if (part.first) {
            const QByteArray name = m_files.at(part.file).name.toLocal8Bit();
            ConsolePrint(m_texts.announce, name.constData());
            FilePrint(DebugLog, m_texts.logLine, name.constData());
            const char *text = part.opened ? m_texts.opened : m_texts.openFailed;
            if (text)
                ConsolePrint("%s", text);
            if (!part.opened)
                return;
            m_count = 0;
        }
        m_count += TakeInPart(part);
        // A file's count is written even when it has no records.
        if (part.last)
            ConsolePrint(m_texts.count, m_count);
    }

    int count() const { return m_count; }

private:
    const SourceFileList &m_files;
    const SourceTexts m_texts;
    int m_count = 0;
};

/// Reads file index of a list line by line into parts, handed on in order:
/// readLines(reader, part, full) fills them from an opened file and calls
/// full() after each record, which hands a full part on.
template<typename HandOn, typename ReadLines>
void ReadSourceParts(int index, const QString &path, int bufferSize, HandOn &&handOn, ReadLines readLines)
{
    SourcePart part;
    part.file = index;
    part.first = true;
    TextLineReader reader(bufferSize);
    part.opened = reader.open(path);
    const auto full = [&] {
        if (part.records.size() < SourcePart::partSize)
            return;
        handOn(std::move(part));
        part = SourcePart();
        part.file = index;
        part.opened = true;
    };
    if (part.opened)
        readLines(reader, part, full);
    part.last = true;
    handOn(std::move(part));
}

/// Reads the files on other threads, readers of them (see ReadInOrder), and
/// takes them in on this one, in their order: readFile(index, handOn) reads
/// one (ReadSourceParts) and touches nothing but what it was handed.
template<typename ReadFile>
void ReadSourceFiles(const SourceFileList &files, const SourceTexts &texts, ReadFile readFile, int readers = 1)
{
    SourceIntake intake(files, texts);
    ReadInOrder<SourcePart>(
        files.size(), readFile, [&intake](const SourcePart &part) { intake.take(part); }, readers);
}

/// Reads one file here and now; returns its count.
template<typename ReadFile>
int ReadSourceFile(const SourceFile &file, const SourceTexts &texts, ReadFile readFile)
{
    const SourceFileList files { file };
    SourceIntake intake(files, texts);
    readFile(0, [&intake](SourcePart &&part) { intake.take(part); });
    return intake.count();
}
