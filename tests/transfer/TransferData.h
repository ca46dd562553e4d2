// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "data/DemoData.h"
#include "support/Cli.h"
#include "support/WorkHome.h"

#include <QHash>
#include <QSettings>
#include <QStringList>
#include <QTest>

#include <functional>

namespace TransferData {

/**
 * One of the databases ADUPLAN_PG names:
 * "host=...;user=...;password=...;declaration=...;nomenclator=...".
 */
inline ConnectionSettings postgres(const QString& database)
{
    QHash<QString, QString> pg;
    for (const QString& part :
         qEnvironmentVariable("ADUPLAN_PG").split(QLatin1Char(';'), Qt::SkipEmptyParts))
        pg.insert(part.section(QLatin1Char('='), 0, 0).trimmed(),
                  part.section(QLatin1Char('='), 1).trimmed());
    return {QStringLiteral("QPSQL"),          pg.value(database),
            pg.value(QStringLiteral("host")), -1,
            pg.value(QStringLiteral("user")), pg.value(QStringLiteral("password"))};
}

/** Points the home's entity at that database, its tables rebuilt from the demo scripts. */
inline void usePostgres(const QString& home, const QString& entity, const QString& database,
                        const QString& tables, const QStringList& scripts)
{
    const ConnectionSettings settings = postgres(database);
    {
        QSettings directory(home + QStringLiteral("/directory.ini"), QSettings::IniFormat);
        directory.beginGroup(entity);
        directory.setValue(QStringLiteral("driver"), settings.driver);
        directory.setValue(QStringLiteral("database"), settings.database);
        directory.setValue(QStringLiteral("host"), settings.host);
        directory.setValue(QStringLiteral("user"), settings.user);
        directory.setValue(QStringLiteral("password"), settings.password);
    }
    DataSession session(entity);
    session.CadenaConexion(settings);
    session.Conectar();
    session.Sql(QStringLiteral("drop table if exists %1 cascade").arg(tables));
    session.ejecutar();
    QStringList texts;
    for (const QString& name : scripts)
        texts << DemoData::script(name);
    DemoData::runScript(session, texts);
}

/** The declaration tables. */
inline const QString DeclarationTables =
    QStringLiteral("catalogo, catarticulos, caratula, subitems, facturas");

/** Every row of the tables the transfer writes, for before/after comparisons. */
inline QStringList dump(DataSession& declaration)
{
    QStringList all;
    for (const char* table : {"caratula", "subitems", "facturas", "catarticulos"})
        all << queryRows(declaration, QStringLiteral("select * from ") + QLatin1String(table) +
                                          QStringLiteral(" order by 1, 2"));
    return all;
}

/**
 * On a demo home, its clean invoice transferred as 2001, then as 2002 with a value of one line
 * changed; the catalog revert refused for 2001 while 2002 holds that entry, then 2002 and 2001
 * reverted in turn (the transcripts cli/revert-*.txt). The catalog, as `catalog` reads it, is
 * unchanged by the refusal and back byte for byte as before the transfers at the end.
 */
inline void revertOnTheDemo(const QString& home, const std::function<QStringList()>& catalog)
{
    const QStringList original = catalog();
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert-transfers.txt"));
    const QStringList transferred = catalog();
    QVERIFY(transferred != original);
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert-refused.txt"));
    QCOMPARE(catalog(), transferred);
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert.txt"));
    QCOMPARE(catalog(), original);
}

} // namespace TransferData
