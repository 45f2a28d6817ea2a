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
bool SaveOutputFile(const QString &fileName, const QByteArray &content);
