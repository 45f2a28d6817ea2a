#include "writers/superchecklist.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/localtext.h"
#include "writers/outputfile.h"

QByteArray BuildSuperCheckList()
{
    QByteArray out;
    for (const CallEntry &entry : CallDatabase) {
        AppendLocal8Bit(out, entry.call);
        out += '\n';
    }
    return out;
}

void WriteSuperCheckList(OutputPhase &phase)
{
    phase.print("Generate master.scp for WinTest and N1MM and as import for MEdit to create a master.dta file\n");
    phase.save(QStringLiteral("master.scp"), BuildSuperCheckList, OutputMode::Text);
}
