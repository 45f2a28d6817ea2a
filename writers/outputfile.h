#pragma once

#include <QByteArray>
#include <QString>

/// Replaces an output file of the working directory with new content.
///
/// The content goes to a temporary file beside the old one, which is renamed
/// over it only once everything is written, so that a full disk, a write error
/// or a crash halfway leaves the previous file as it was: a half-written
/// database would lose the weights of every earlier run. When the file cannot
/// be written, one console line names it and the run goes on.
///
/// A text file is written in text mode: each "\n" of the content becomes the
/// line end of the system (CR LF on Windows, LF elsewhere). A binary file is
/// written byte for byte.
enum class OutputMode { Text, Binary };
bool SaveOutputFile(const QString &fileName, const QByteArray &content,
                    OutputMode mode = OutputMode::Text);
