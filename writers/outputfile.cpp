#include "writers/outputfile.h"

#include "app/console.h"

#include <QSaveFile>

bool SaveOutputFile(const QString &fileName, const QByteArray &content)
{
    QSaveFile file(fileName);
    const bool saved = file.open(QIODevice::WriteOnly)
        && file.write(content) == content.size()
        && file.commit();
    if (!saved)
        ConsolePrint("Could not write %s\n", qPrintable(fileName));
    return saved;
}
