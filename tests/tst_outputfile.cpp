// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "databasesupport.h"
#include "testsupport.h"

#include "app/driver.h"
#include "base/clock.h"
#include "database/calldatabase.h"
#include "writers/callslocdbg.h"
#include "writers/callslocfile.h"
#include "writers/minosfile.h"
#include "writers/n1mmfile.h"
#include "writers/n1mmhistory.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"
#include "writers/superchecklist.h"
#include "writers/tucnakfile.h"
#include "writers/vhfdtb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

/*
 * The output files, written piece by piece.
 */

class TestOutputFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void outputPieces()
    {
        // The files are written piece by piece, a few thousand calls a piece:
        // more calls than two pieces hold, the last piece short. Each file holds
        // exactly what its content built whole is (a header only once).
        FillDatabase(2 * outputPieceCalls + 1000);
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(directory.path()));
        OutputSettings extra;
        extra.tucnak = QStringLiteral("tucnakcw");
        extra.minos = QStringLiteral("calls_loc.csl");
        extra.n1mmHistory = QStringLiteral("n1mm_history.txt");
        WriteOutputs(extra);
        QVERIFY(QDir::setCurrent(before));

        const OutputLayout layout(CallDatabase);
        const struct
        {
            const char *name;
            QByteArray whole;
        } files[] = { { "n1mm_qth.txt", BuildN1mmText(layout) },
                      { "calls_loc.dbg", BuildCallsLocListing(layout) },
                      { "master.scp", BuildSuperCheckList(layout) },
                      { "calls_loc.dat", BuildCallsLocDat(layout) },
                      { "vhf.dtb", BuildVhfDtb(layout, Clock::Now()) },
                      { "tucnakcw", BuildTucnakFile(layout) },
                      { "calls_loc.csl", BuildMinosFile(layout) },
                      { "n1mm_history.txt", BuildN1mmHistory(layout) } };
        for (const auto &file : files) {
            QFile written(directory.filePath(QLatin1String(file.name)));
            const bool text = QByteArray(file.name) != "vhf.dtb";
            QVERIFY2(written.open(text ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly), file.name);
            QVERIFY2(written.readAll() == file.whole, file.name);
        }
        QVERIFY(files[0].whole.count('\n') > 2 * outputPieceCalls);
    }
};

GRIDCOL_TEST_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
