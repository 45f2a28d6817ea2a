#pragma once

#include <QByteArray>

class OutputPhase;

/// The content of "master.scp": every call of the database, one a line, in the database's order.
QByteArray BuildSuperCheckList();
/// Appends the lines of calls [begin, end) to out.
void AppendSuperCheckList(int begin, int end, QByteArray &out);

/// Announces and writes "master.scp" in the working directory.
void WriteSuperCheckList(OutputPhase &phase);
