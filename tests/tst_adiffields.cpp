// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "testsupport.h"

#include <QDir>

/*
 * The field catalogue of the ADIF store, loaded from catalogue files.
 */

class TestAdifFields : public QObject
{
    Q_OBJECT

private slots:
    void loadFieldCatalogue_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues"), QStringLiteral("*.txt"));
        for (const QString &file : folder.entryList(QDir::Files))
            QTest::newRow(qPrintable(file)) << folder.filePath(file);
    }

    void loadFieldCatalogue()
    {
        QFETCH(QString, path);
        AdifDataBase store;
        store.StoreRecord(AdifRecord());
        SignalCounts spy(store);
        store.LoadFieldCatalogue(0, path);
        QString catalogue; // "NAME|label|description" per field
        for (int i = 0; i < store.FieldCount(); ++i)
            catalogue += QStringList({ store.FieldName(i), store.FieldLabel(i), store.FieldDescription(i) })
                             .join(QLatin1Char('|'))
                + QLatin1Char('\n');
        COMPARE_TEXT(catalogue.toUtf8(), ReadFileBytes(path + QStringLiteral(".expected")));
        QCOMPARE(spy.text(), QStringLiteral("0 %1 0").arg(store.FieldCount()));
        QVERIFY(!store.IsModified());

        // A second load appends; a file that cannot be read changes nothing, not even the modified flag.
        for (const QString &again : { path, path + QStringLiteral(".missing"), QStringLiteral(GRIDCOL_TEST_DATA) }) {
            store.StoreRecord(AdifRecord());
            store.LoadFieldCatalogue(0, again);
        }
        const int count = int(catalogue.count(QLatin1Char('\n')));
        QCOMPARE(spy.text(), QStringLiteral("3 %1 0").arg(2 * count));
        QVERIFY(store.IsModified() && store.FieldCount() == 2 * count);
    }
};

GRIDCOL_TEST_MAIN(TestAdifFields)
#include "tst_adiffields.moc"
