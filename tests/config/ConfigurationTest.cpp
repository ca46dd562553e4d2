#include "ConfigHome.h"

#include "config/Configuration.h"

#include <QTest>

class ConfigurationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void catalogListAndStoredChoice();
    void emptyOrUnreadableCatalogListStoresNothing();
    void relationAddChecksAndStoresAsTyped();
    void deleteRemovesEveryRowOfThePair();
    void databaseFailuresAreReported();
    void countriesInNameOrder();
};

void ConfigurationTest::catalogListAndStoredChoice()
{
    ConfigHome fixture;
    fixture.home.runDeclarationSql(QStringLiteral("insert into catalogo values ('C2', 'ALFA');\n"
                                                  "insert into catalogo values ('C1', 'BETA');\n"
                                                  "insert into catalogo values ('C3', NULL);\n"));
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("GONE"));
    Workspace& ws = fixture.open();

    Configuration::CatalogChoice choice = Configuration::catalogs(ws);
    QCOMPARE(choice.lines, (QStringList{QStringLiteral("[C3] "), QStringLiteral("[C2] ALFA"),
                                        QStringLiteral("[C1] BETA")}));
    QCOMPARE(choice.ids,
             (QStringList{QStringLiteral("C3"), QStringLiteral("C2"), QStringLiteral("C1")}));
    QCOMPARE(choice.selected, 0); // the stale identifier selects the first line

    QVERIFY(Configuration::GrabarySalir(ws, choice.ids, choice.selected));
    QCOMPARE(ws.INTCAT, QStringLiteral("C3"));
    QCOMPARE(ws.storedCatalog(), QStringLiteral("C3"));

    // The stored identifier is read from the settings at each opening.
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("C1"));
    choice = Configuration::catalogs(ws);
    QCOMPARE(choice.selected, 2);
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigurationTest::emptyOrUnreadableCatalogListStoresNothing()
{
    ConfigHome fixture;
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("KEEP"));
    Workspace& ws = fixture.open();

    Configuration::CatalogChoice choice = Configuration::catalogs(ws);
    QVERIFY(choice.lines.isEmpty());
    QCOMPARE(choice.selected, -1);
    QVERIFY(!Configuration::GrabarySalir(ws, choice.ids, choice.selected));
    QCOMPARE(ws.storedCatalog(), QStringLiteral("KEEP"));
    QCOMPARE(ws.INTCAT, QStringLiteral("KEEP"));

    fixture.home.runDeclarationSql(QStringLiteral("drop table catalogo;\n"));
    choice = Configuration::catalogs(ws);
    QVERIFY(choice.lines.isEmpty());
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QCOMPARE(fixture.dialogs.messages.at(0).icon, MessageIcon::Critical);
    QVERIFY(fixture.dialogs.messages.at(0).text.startsWith(
        QStringLiteral("No se pudo leer la lista de catálogos.")));
    QVERIFY(!Configuration::GrabarySalir(ws, choice.ids, choice.selected));
    QCOMPARE(ws.storedCatalog(), QStringLiteral("KEEP"));
}

void ConfigurationTest::relationAddChecksAndStoresAsTyped()
{
    ConfigHome fixture;
    Workspace& ws = fixture.open();

    QVERIFY(
        !Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("   "), QStringLiteral("JP")));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("JAPAN"),
                                                      QStringLiteral(" ")));
    QCOMPARE(fixture.dialogs.messages.size(), 2);
    QCOMPARE(fixture.dialogs.messages.at(0).icon, MessageIcon::Critical);
    QCOMPARE(fixture.dialogs.messages.at(0).text,
             QStringLiteral("Debe ingresar algun datos en el campo ORIGEN FACTURA"));
    QCOMPARE(fixture.dialogs.messages.at(1).icon, MessageIcon::Critical);
    QCOMPARE(fixture.dialogs.messages.at(1).text,
             QStringLiteral("Debe seleccionar un ORIGEN MARIA"));
    QVERIFY(fixture.relations().isEmpty());

    const std::optional<OriginRelation> saved = Configuration::AgregarRelacionPaisOrigen(
        ws, QStringLiteral(" O'HARA "), QStringLiteral("US"));
    QVERIFY(saved);
    QCOMPARE(saved->text, QStringLiteral(" O'HARA "));
    QCOMPARE(saved->code, QStringLiteral("US"));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral(" O'HARA |US")});
    QCOMPARE(fixture.dialogs.messages.size(), 2);
}

void ConfigurationTest::deleteRemovesEveryRowOfThePair()
{
    ConfigHome fixture;
    Workspace& ws = fixture.open();
    const OriginRelation japan{QStringLiteral("JAPAN"), QStringLiteral("JP")};
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, japan.text, japan.code));
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, japan.text, japan.code));
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("JAPAN"),
                                                     QStringLiteral("JX")));
    QCOMPARE(Configuration::Cargar_Pais(ws).size(), 3);

    QVERIFY(Configuration::Eliminar_PaisRel(ws, japan));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral("JAPAN|JX")});
    // A delete that finds nothing changes nothing and says nothing.
    QVERIFY(!Configuration::Eliminar_PaisRel(ws, japan));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral("JAPAN|JX")});
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigurationTest::databaseFailuresAreReported()
{
    ConfigHome fixture;
    Workspace& ws = fixture.open();
    fixture.home.runWorkSql(QStringLiteral("drop table ORG;\n"));

    QVERIFY(!Configuration::Eliminar_PaisRel(
        ws, OriginRelation{QStringLiteral("JAPAN"), QStringLiteral("JP")}));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("JAPAN"),
                                                      QStringLiteral("JP")));
    QVERIFY(Configuration::Cargar_Pais(ws).isEmpty());
    QCOMPARE(fixture.dialogs.messages.size(), 3);
    for (const ScriptedDialogs::Shown& shown : fixture.dialogs.messages)
        QCOMPARE(shown.icon, MessageIcon::Critical);
    QVERIFY(fixture.dialogs.messages.at(0).text.endsWith(
        QStringLiteral(" - seccion [Aduplan.frmConfig.Eliminar_PaisRel]")));
    QVERIFY(fixture.dialogs.messages.at(0).text.contains(QStringLiteral("\n\n")));
    QVERIFY(fixture.dialogs.messages.at(1).text.endsWith(
        QStringLiteral(" - seccion [Aduplan.frmNewPais.AgregarRelacionPaisOrigen]")));
    QVERIFY(fixture.dialogs.messages.at(2).text.startsWith(
        QStringLiteral("No se pudieron leer las relaciones de origen.")));
}

void ConfigurationTest::countriesInNameOrder()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(QStringLiteral("insert into PAIS values ('US', 'ESTADOS UNIDOS');\n"
                                           "insert into PAIS values ('XX', NULL);\n"
                                           "insert into PAIS values ('BR', 'BRASIL');\n"));
    Workspace& ws = fixture.open();
    const OriginRelations::Countries countries = Configuration::countries(ws);
    QCOMPARE(countries.names,
             (QStringList{QString(), QStringLiteral("BRASIL"), QStringLiteral("ESTADOS UNIDOS")}));
    QCOMPARE(countries.codes,
             (QStringList{QStringLiteral("XX"), QStringLiteral("BR"), QStringLiteral("US")}));

    fixture.home.runWorkSql(QStringLiteral("drop table PAIS;\n"));
    QVERIFY(Configuration::countries(ws).names.isEmpty());
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QVERIFY(fixture.dialogs.messages.at(0).text.startsWith(
        QStringLiteral("No se pudo leer la lista de países.")));
}

QTEST_GUILESS_MAIN(ConfigurationTest)
#include "ConfigurationTest.moc"
