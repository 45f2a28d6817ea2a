#include "writers/superchecklist.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/localtext.h"
#include "writers/outputfile.h"

void AppendSuperCheckList(int begin, int end, QByteArray &out)
{
    for (int i = begin; i < end; ++i) {
        AppendLocal8Bit(out, CallDatabase.rankedCallAt(i));
        out += '\n';
    }
}

QByteArray BuildSuperCheckList()
{
    QByteArray out;
    out.reserve(10 * CallDatabase.size()); // about 8 bytes a call
    AppendSuperCheckList(0, CallDatabase.size(), out);
    return out;
}

void WriteSuperCheckList(OutputPhase &phase)
{
    phase.print("Generate master.scp for WinTest and N1MM and as import for MEdit to create a master.dta file\n");
    // Laid out here, before the file is built on a thread of its own.
    CallDatabase.rankAll();
    phase.saveInPieces(QStringLiteral("master.scp"), CallDatabase.size(), AppendSuperCheckList, OutputMode::Text);
}
