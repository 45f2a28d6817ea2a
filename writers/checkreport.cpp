// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/checkreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QString DateText(const CheckedQso &qso)
{
    return qso.date.isValid() ? qso.date.toString(Qt::ISODate) : QString();
}

QString TimeText(const CheckedQso &qso)
{
    return qso.time.isValid() ? qso.time.toString(QStringLiteral("HH:mm")) : QString();
}

/// The count of each verdict among judgements.
QVector<int> Counts(const QVector<QsoJudgement> &judgements)
{
    QVector<int> counts(int(std::size(allVerdicts)), 0);
    for (const QsoJudgement &judgement : judgements)
        ++counts[int(judgement.verdict)];
    return counts;
}

QString SummaryText(const QVector<int> &counts)
{
    QStringList parts;
    for (const Verdict verdict : allVerdicts)
        parts << QStringLiteral("%1 %2").arg(VerdictName(verdict)).arg(counts.at(int(verdict)));
    return parts.join(QStringLiteral(", "));
}

QJsonObject SummaryJson(const QVector<int> &counts)
{
    QJsonObject summary;
    for (const Verdict verdict : allVerdicts)
        summary.insert(VerdictName(verdict), counts.at(int(verdict)));
    return summary;
}

QString Header(const LogReport &log)
{
    // Joined, not formatted: the texts come from the log and may hold "%1".
    return log.file + QStringLiteral(" (") + log.format + QStringLiteral("): ")
        + (log.call.isEmpty() ? QStringLiteral("no own call") : log.call)
        + (log.locator.isEmpty() ? QStringLiteral(", no own locator") : QStringLiteral(" in ") + log.locator)
        + QStringLiteral(", ") + QString::number(log.qsos.size()) + QStringLiteral(" QSOs");
}

} // namespace

LogReport ReportOf(const CheckedLog &log)
{
    LogReport report;
    report.file = log.file;
    report.format = log.format;
    report.call = log.call;
    report.locator = log.locator;
    report.qsos = log.qsos;
    report.problems = log.problems;
    report.otherBands = log.otherBands;
    return report;
}

bool IsPlainlyOk(const QsoJudgement &judgement)
{
    return judgement.verdict == Verdict::Ok && !judgement.qrbHint;
}

QVector<int> ListedQsos(const LogReport &log, bool all)
{
    QVector<int> suspects, others;
    for (int i = 0; i < log.qsos.size(); ++i) {
        const QsoJudgement &judgement = log.judgements.at(i);
        if (IsSuspect(judgement.verdict))
            suspects.append(i);
        else if (all || !IsPlainlyOk(judgement))
            others.append(i);
    }
    std::stable_sort(suspects.begin(), suspects.end(),
                     [&log](int a, int b) { return log.judgements.at(a).qrb > log.judgements.at(b).qrb; });
    return suspects + others;
}

QByteArray CheckReportText(const QVector<LogReport> &logs, bool all)
{
    QString text;
    for (const LogReport &log : logs) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += Header(log) + QLatin1Char('\n');
        for (const int i : ListedQsos(log, all)) {
            const CheckedQso &qso = log.qsos.at(i);
            const QsoJudgement &judgement = log.judgements.at(i);
            const QString date = qso.date.isValid() ? DateText(qso) : QStringLiteral("----------");
            const QString time = qso.time.isValid() ? TimeText(qso) : QStringLiteral("--:--");
            const QString qrb = judgement.qrb >= 0 ? QStringLiteral("%1 km").arg(judgement.qrb, 5)
                                                   : QStringLiteral("    - km");
            text += VerdictName(judgement.verdict).leftJustified(12) + QStringLiteral("  ") + date
                + QLatin1Char(' ') + time + QStringLiteral("  ") + qso.call.leftJustified(12) + QLatin1Char(' ')
                + qso.locator.leftJustified(6) + QStringLiteral("  ") + qrb + QStringLiteral("  ")
                + judgement.evidence + QLatin1Char('\n');
        }
        for (const QString &problem : log.problems)
            text += QStringLiteral("problem: ") + problem + QLatin1Char('\n');
        text += QStringLiteral("Summary: ") + SummaryText(Counts(log.judgements));
        if (log.otherBands > 0)
            text += QStringLiteral("; %1 QSOs below 144 MHz not checked").arg(log.otherBands);
        if (!log.problems.isEmpty())
            text += QStringLiteral("; %1 problems").arg(log.problems.size());
        text += QLatin1Char('\n');
    }
    return text.toLocal8Bit();
}

QByteArray CheckReportJson(const QVector<LogReport> &logs, bool all)
{
    QJsonArray logArray;
    QVector<QsoJudgement> everyJudgement;
    for (const LogReport &log : logs) {
        QJsonArray qsos;
        for (const int i : ListedQsos(log, all)) {
            const CheckedQso &qso = log.qsos.at(i);
            const QsoJudgement &judgement = log.judgements.at(i);
            QJsonObject object;
            object.insert(QStringLiteral("date"), qso.date.isValid() ? QJsonValue(DateText(qso)) : QJsonValue());
            object.insert(QStringLiteral("time"), qso.time.isValid() ? QJsonValue(TimeText(qso)) : QJsonValue());
            object.insert(QStringLiteral("call"), qso.call);
            object.insert(QStringLiteral("locator"), qso.locator);
            object.insert(QStringLiteral("qrb"), judgement.qrb >= 0 ? QJsonValue(judgement.qrb) : QJsonValue());
            object.insert(QStringLiteral("verdict"), VerdictName(judgement.verdict));
            object.insert(QStringLiteral("evidence"), judgement.evidence);
            qsos.append(object);
        }
        QJsonObject object;
        object.insert(QStringLiteral("file"), log.file);
        object.insert(QStringLiteral("format"), log.format);
        object.insert(QStringLiteral("call"), log.call);
        object.insert(QStringLiteral("locator"), log.locator);
        object.insert(QStringLiteral("qsoCount"), log.qsos.size());
        object.insert(QStringLiteral("qsos"), qsos);
        object.insert(QStringLiteral("problems"), QJsonArray::fromStringList(log.problems));
        object.insert(QStringLiteral("otherBands"), log.otherBands);
        object.insert(QStringLiteral("summary"), SummaryJson(Counts(log.judgements)));
        logArray.append(object);
        everyJudgement += log.judgements;
    }
    QJsonObject document;
    document.insert(QStringLiteral("logs"), logArray);
    document.insert(QStringLiteral("summary"), SummaryJson(Counts(everyJudgement)));
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
