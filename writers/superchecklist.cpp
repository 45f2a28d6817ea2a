#include "writers/superchecklist.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/localtext.h"
#include "writers/outputfile.h"

QByteArray BuildSuperCheckList()
{
    QByteArray out;
    out.reserve(10 * CallDatabase.size()); // about 8 bytes a call
    for (int i = 0; i < CallDatabase.size(); ++i) {
        AppendLocal8Bit(out, CallDatabase.rankedCallAt(i));
        out += '\n';
    }
    return out;
}

void WriteSuperCheckList(OutputPhase &phase)
{
    phase.print("Generate master.scp for WinTest and N1MM and as import for MEdit to create a master.dta file\n");
    phase.save(QStringLiteral("master.scp"), BuildSuperCheckList, OutputMode::Text);
}
