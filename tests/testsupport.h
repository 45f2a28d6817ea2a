// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVector>

#include <cstdio>

/// The moment tests take as "now" unless they choose another.
QDateTime TestNow();

/// Puts the process into the state of a fresh run: an empty database,
/// blacklist and ADIF store, the test clock, no debug log, the console on
/// standard output.
void ResetProgramState(const QDateTime &now = TestNow());

/// A local date-time from "dd.MM.yyyy" or "dd.MM.yyyy HH:mm".
QDateTime Day(const char *text);

/// The file's bytes; ifUnreadable when it cannot be read.
QByteArray ReadFileBytes(const QString &path, const QByteArray &ifUnreadable = "<cannot read>");
bool WriteFileBytes(const QString &path, const QByteArray &content);

/// Copies a directory tree, leaving out the top-level entries named in skip
/// and replacing files that are there already; false when anything could
/// not be copied.
bool CopyTree(const QString &from, const QString &to, const QStringList &skip = {});

/// Everything written to a stdio file (a std::tmpfile() standing in for the
/// console or the log); closes it.
QByteArray TakeFileText(std::FILE *file);

/// How a line of a text file ends on this platform.
QByteArray TextLineEnd();

/// The date in format, "invalid" for an invalid one.
QString DateText(const QDateTime &date, const QString &format = QStringLiteral("dd.MM.yyyy"));

/// The rows of a table file under tests/data, one row a line, the fields
/// separated by tabs; empty lines and lines starting with "#" are left out.
/// The fields are as written, escapes and all.
QVector<QStringList> ReadRows(const QString &file);

/// The bytes a field of a table stands for: the C escapes \n \r \t \v \f
/// \\ and \", \0 for a zero byte (never an octal number), \xHH for a byte
/// (always two hex digits) and \uHHHH for a character in UTF-8; anything else
/// as it is, in UTF-8.
QByteArray Unescape(const QString &field);

/// The text a field stands for: its bytes read as UTF-8.
QString UnescapeText(const QString &field);

/// Adds the columns and rows of a table file to the test data. The first row
/// names the columns after the tag column: "name" holds a QString, and
/// "name:type" a QByteArray (bytes), an int, a bool (true or false), a double,
/// a QChar (char), a QVector<int> (ints, separated by blanks), a QStringList
/// (list: the items separated by "|", or by the character after "list") or a
/// QList<QByteArray> (pieces: the same, an empty field none). Each further row
/// is a row of the test, its tag first, escaped as the fields are.
void AddRows(const QString &file);

/// Compares two texts line by line first, for a readable difference, then byte for byte.
#define COMPARE_TEXT(actual, expected)                                                             \
    do {                                                                                           \
        const QByteArray actual_ = (actual);                                                       \
        const QByteArray expected_ = (expected);                                                   \
        QCOMPARE(QString::fromUtf8(actual_).split(QLatin1Char('\n')),                              \
                 QString::fromUtf8(expected_).split(QLatin1Char('\n')));                           \
        QCOMPARE(actual_, expected_);                                                              \
    } while (false)

/// Runs a test class in the fixed environment of the suite: a UTF-8 locale and
/// a time zone with summer time, set before Qt looks at either, and Qt's date
/// handling set up before any test starts a second thread.
#define GRIDCOL_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        PrepareTestEnvironment();                                                                  \
        QCoreApplication app(argc, argv);                                                          \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

void PrepareTestEnvironment();
