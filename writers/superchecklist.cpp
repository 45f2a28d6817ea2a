#include "writers/superchecklist.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "writers/outputfile.h"

QByteArray BuildSuperCheckList()
{
    QString out;
    for (const CallEntry &entry : CallDatabase) {
        out += entry.call;
        out += QLatin1Char('\n');
    }
    return out.toLocal8Bit();
}

void WriteSuperCheckList()
{
    ConsolePrint("Generate master.scp for WinTest and N1MM and as import for MEdit to create a master.dta file\n");
    SaveOutputFile(QStringLiteral("master.scp"), BuildSuperCheckList(), OutputMode::Text);
}
