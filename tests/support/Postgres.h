// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "data/DemoData.h"

#include <QHash>
#include <QSettings>
#include <QStringList>

/** The PostgreSQL server the tests may use, when ADUPLAN_PG names it. */
namespace Postgres {

/**
 * One of the databases ADUPLAN_PG names:
 * "host=...;user=...;password=...;declaration=...;nomenclator=...".
 */
inline ConnectionSettings settings(const QString& database)
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
inline void use(const QString& home, const QString& entity, const QString& database,
                const QString& tables, const QStringList& scripts)
{
    const ConnectionSettings chosen = settings(database);
    {
        QSettings directory(home + QStringLiteral("/directory.ini"), QSettings::IniFormat);
        directory.beginGroup(entity);
        directory.setValue(QStringLiteral("driver"), chosen.driver);
        directory.setValue(QStringLiteral("database"), chosen.database);
        directory.setValue(QStringLiteral("host"), chosen.host);
        directory.setValue(QStringLiteral("user"), chosen.user);
        directory.setValue(QStringLiteral("password"), chosen.password);
    }
    DataSession session(entity);
    session.CadenaConexion(chosen);
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

} // namespace Postgres
