// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

/// How an output file is written. A text file is written in text mode: each
/// "\n" of the content becomes the line end of the system (CR LF on Windows,
/// LF elsewhere). A binary file is written byte for byte.
enum class OutputMode { Text, Binary };

/// The calls a piece of an output holds (OutputPhase::saveInPieces()).
constexpr int outputPieceCalls = 4096;

/// Saves content to fileName as the output phase saves a file: into a
/// temporary file beside it, renamed over it once everything is written.
/// False when the file cannot be written; the old one is then left as it was.
bool SaveOutputFile(const QString &fileName, const QByteArray &content, OutputMode mode);

/// The console lines and the file saves of the output phase, in their order.
/// Each save starts at once on a thread of its own, so that the files are
/// written and brought to disk side by side; the console lines, a failed
/// save's "Could not write" among them, come out in their order in finish().
///
/// A save replaces an output file of the working directory. The content goes
/// to a temporary file beside the old one, which is renamed over it only once
/// everything is written, so that a full disk, a write error or a crash
/// halfway leaves the previous file as it was: a half-written database would
/// lose the weights of every earlier run. When the file cannot be written,
/// one console line names it and the run goes on.
class OutputPhase
{
public:
    OutputPhase() = default;
    OutputPhase(const OutputPhase &) = delete;
    OutputPhase &operator=(const OutputPhase &) = delete;
    ~OutputPhase() { finish(); }

    void print(const QByteArray &line);
    /// Builds content made of the pieces of count calls and saves it, both on
    /// the save's thread: build(begin, end, out) appends the piece of calls
    /// [begin, end) to out, the first piece starting at 0 (without calls, the
    /// one piece [0, 0), so that a header is written even then). A piece is
    /// written as soon as it is built, so that a large database's file is
    /// never held whole in memory; the file replaces the old one only once
    /// every piece is written.
    using PieceBuilder = std::function<void(int begin, int end, QByteArray &out)>;
    void saveInPieces(const QString &fileName, int count, PieceBuilder build, OutputMode mode);
    /// Waits for every save and writes the console lines.
    void finish();

private:
    struct Step
    {
        QByteArray line; ///< a console line, or
        QString fileName; ///< a save, with its thread and its result
        std::unique_ptr<std::thread> thread;
        std::unique_ptr<bool> saved;
    };
    std::vector<Step> m_steps;
};
