// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/outputfile.h"

#include "base/console.h"

#include <QSaveFile>

namespace {

QIODevice::OpenMode OpenModeOf(OutputMode mode)
{
    return mode == OutputMode::Text ? QIODevice::WriteOnly | QIODevice::Text : QIODevice::WriteOnly;
}

/// Builds the pieces of count calls one after another into one buffer and
/// writes each; the file is committed only when all are written.
bool WriteOutputFileInPieces(const QString &fileName, int count, const OutputPhase::PieceBuilder &build,
                             OutputMode mode)
{
    QSaveFile file(fileName);
    if (!file.open(OpenModeOf(mode)))
        return false;
    QByteArray piece;
    // Without calls there is one empty piece: a file's header is written even then.
    int begin = 0;
    do {
        piece.resize(0);
        build(begin, qMin(count, begin + outputPieceCalls), piece);
        if (file.write(piece) != piece.size())
            return false;
        begin += outputPieceCalls;
    } while (begin < count);
    return file.commit();
}

} // namespace

bool SaveOutputFile(const QString &fileName, const QByteArray &content, OutputMode mode)
{
    QSaveFile file(fileName);
    return file.open(OpenModeOf(mode)) && file.write(content) == content.size() && file.commit();
}

void OutputPhase::print(const QByteArray &line)
{
    Step step;
    step.line = line;
    m_steps.push_back(std::move(step));
}

void OutputPhase::saveInPieces(const QString &fileName, int count, PieceBuilder build, OutputMode mode)
{
    Step step;
    step.fileName = fileName;
    step.saved.reset(new bool(false));
    bool *saved = step.saved.get();
    step.thread.reset(new std::thread([=] { *saved = WriteOutputFileInPieces(fileName, count, build, mode); }));
    m_steps.push_back(std::move(step));
}

void OutputPhase::finish()
{
    for (Step &step : m_steps) {
        if (!step.thread) {
            std::fwrite(step.line.constData(), 1, size_t(step.line.size()), ConsoleFile());
            continue;
        }
        step.thread->join();
        if (!*step.saved)
            ConsolePrint("Could not write %s\n", qPrintable(step.fileName));
    }
    m_steps.clear();
}
