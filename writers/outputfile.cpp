#include "writers/outputfile.h"

#include "app/console.h"

#include <QSaveFile>

bool SaveOutputFile(const QString &fileName, const QByteArray &content, OutputMode mode)
{
    QSaveFile file(fileName);
    const QIODevice::OpenMode openMode = mode == OutputMode::Text
        ? QIODevice::WriteOnly | QIODevice::Text
        : QIODevice::WriteOnly;
    const bool saved = file.open(openMode)
        && file.write(content) == content.size()
        && file.commit();
    if (!saved)
        ConsolePrint("Could not write %s\n", qPrintable(fileName));
    return saved;
}
