#pragma once

#include "components/DataSession.h"
#include "data/DemoData.h"
#include "support/WorkHome.h"

#include <QHash>
#include <QSettings>
#include <QStringList>

/**
 * The interno "100" of the transfer tests: three clean lines written out of order, the
 * article A-1 on lines 1 and 3, B-2 already in the catalog CAT1; A-1 is also known to
 * another catalog, which the transfer must leave alone. Interno "200" has a line to correct.
 */
namespace TransferData {

struct Home : TestHome {
    Home()
    {
        createDatabases();
        // INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCDUN, PRCNCM, PRCLAP,
        // PRCSUF, PRCEUN, PRCECA, PRCSUN, PRCSCA, PRCESM, PRCORI, PRCEST, PRCCRC
        runWorkSql(QStringLiteral(
            "insert into INTN values ('100', 'Interno de prueba');\n"
            "insert into INTN values ('200', 'Interno con errores');\n"
            "insert into ART values ('100', 3, 'A-1', 'TORNILLO LARGO', 4, 3, 12, '212', '02', "
            "'7318.15.00.200B', 'S', 'AB(LARGO)-', '01', 7, '', 0, '2', NULL, 'M', 'OK');\n"
            "insert into ART values ('100', 1, 'A-1', 'TORNILLO O''HARA', 10.5, 2.25, 23.625, "
            "'212', "
            "'01', '7318.15.00.100A', 'N', 'AA(X)-', '01', 10.5, NULL, NULL, '1', NULL, 'A', "
            "'OK');\n"
            "insert into ART values ('100', 2, 'B-2', 'ARANDELA', 100, 0.1, 10, '203', ' 07 ', "
            "'7318.22.00.000C', 'N', 'SIN SUFIJOS', '07', 100, '10', 3.5, '1', '203', 'A', 'OK');\n"
            "insert into ART values ('200', 1, 'C-3', 'TUERCA', 1, 1, 1, '212', '01', NULL, NULL, "
            "NULL, NULL, NULL, NULL, NULL, '1', NULL, NULL, NULL);\n"));
        runDeclarationSql(QStringLiteral(
            "insert into catarticulos values ('CAT1', 'B-2', 'VIEJA', '999', 5, 1, "
            "'0000.00.00.000A', 'S', 'XX(1)-', '05', '05', 9, '2', 'U', 9);\n"
            "insert into catarticulos values ('CAT2', 'A-1', 'OTRO CATALOGO', '999', 5, 1, "
            "'0000.00.00.000A', 'S', 'XX(1)-', '05', '05', 9, '2', 'U', 9);\n"));
    }
};

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

} // namespace TransferData
