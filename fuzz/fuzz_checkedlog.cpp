// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reader of a log to be checked (EDI or ADIF, by content), the check of
// its QSOs against a small database and both reports: every QSO judged once,
// the JSON a document that reads back with one object a listed QSO.

#include "fuzzsupport.h"

#include "base/clock.h"
#include "base/maidenhead.h"
#include "database/calldatabase.h"
#include "database/logcheck.h"
#include "readers/checkedlog.h"
#include "writers/checkreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QDateTime day = Clock::Now().addDays(-10);
    AddCallLocator(u"DL1ABC", u"JO62QM", day, 10);
    AddCallLocator(u"DL1ABC", u"JO62QN", day, 1);
    AddCallLocator(u"OK1KFH", u"JO60LJ", day, 4);
    AddCallLocator(u"YO5TP/P", u"KN16SS", day, 2);

    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString path = Fuzz::ScratchDir(QStringLiteral("checkedlog")) + QStringLiteral("/contest.log");
    Fuzz::WriteFile(path, bytes);
    CheckedLog log;
    QString error;
    if (!ReadCheckedLog(path, log, &error)) {
        if (error.isEmpty())
            Fuzz::Fail("a log that cannot be read says why");
        return 0;
    }
    if (log.format != QLatin1String("EDI") && log.format != QLatin1String("ADIF"))
        Fuzz::Fail("a log is EDI or ADIF", log.format);

    LogReport report = ReportOf(log);
    const LogChecker checker(CallDatabase);
    for (const CheckedQso &qso : log.qsos) {
        const QsoJudgement judgement = checker.judge(qso, log.locator, log.call);
        if ((judgement.verdict == Verdict::BadLocator) == IsLocator6(qso.locator))
            Fuzz::Fail("BAD-LOC exactly for a locator that is none", qso.locator);
        if (judgement.qrb == 0 || (judgement.qrb > 0) != (IsLocator6(qso.locator) && IsLocator6(log.locator)))
            Fuzz::Fail("a QRB of at least 1 exactly where both locators are valid", qso.locator);
        report.judgements.append(judgement);
    }
    CheckReportText({ report }, false);
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(CheckReportJson({ report }, true), &parsed);
    if (parsed.error != QJsonParseError::NoError)
        Fuzz::Fail("the JSON report reads back", parsed.errorString());
    const QJsonArray logs = document.object().value(QLatin1String("logs")).toArray();
    if (logs.size() != 1 || logs.at(0).toObject().value(QLatin1String("qsos")).toArray().size() != log.qsos.size())
        Fuzz::Fail("every QSO in the JSON report with --all");
    return 0;
}
