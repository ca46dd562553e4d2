#include "ConfigHome.h"

#include <QTest>

class ConfigurationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void catalogChoiceAndRelations();
    void databaseFailuresAreTold();
};

void ConfigurationTest::catalogChoiceAndRelations()
{
    ConfigHome fixture;
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("KEEP"));
    Workspace& ws = fixture.open();

    // No catalog: nothing selected, nothing stored.
    Configuration::CatalogChoice choice = Configuration::catalogs(ws);
    QCOMPARE(choice.selected, -1);
    QVERIFY(!Configuration::GrabarySalir(ws, choice.ids, choice.selected));
    QCOMPARE(ws.settings().storedCatalog(), QStringLiteral("KEEP"));

    fixture.home.runDeclarationSql(QStringLiteral("insert into catalogo values ('C2', 'ALFA');\n"
                                                  "insert into catalogo values ('C1', 'BETA');\n"
                                                  "insert into catalogo values ('C3', NULL);\n"));
    choice = Configuration::catalogs(ws);
    QCOMPARE(choice.lines, (QStringList{QStringLiteral("[C3] "), QStringLiteral("[C2] ALFA"),
                                        QStringLiteral("[C1] BETA")}));
    QCOMPARE(choice.ids,
             (QStringList{QStringLiteral("C3"), QStringLiteral("C2"), QStringLiteral("C1")}));
    QCOMPARE(choice.selected, 0); // the stale identifier selects the first line
    QVERIFY(Configuration::GrabarySalir(ws, choice.ids, 2));
    QCOMPARE(ws.settings().catalog(), QStringLiteral("C1"));
    QCOMPARE(ws.settings().storedCatalog(), QStringLiteral("C1"));
    // The stored identifier is read from the settings at each opening.
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("C2"));
    QCOMPARE(Configuration::catalogs(ws).selected, 1);

    QVERIFY(
        !Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("   "), QStringLiteral("JP")));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, QStringLiteral("JAPAN"),
                                                      QStringLiteral(" ")));
    QCOMPARE(fixture.dialogs.messageTexts(),
             (QStringList{QStringLiteral("Debe ingresar algun datos en el campo ORIGEN FACTURA"),
                          QStringLiteral("Debe seleccionar un ORIGEN MARIA")}));
    for (const ScriptedDialogs::Shown& shown : fixture.dialogs.messages)
        QCOMPARE(shown.icon, MessageIcon::Critical);
    QVERIFY(fixture.relations().isEmpty());

    // Stored as typed (untrimmed, quote bound); a delete takes every row of the pair.
    const OriginRelation typed{QStringLiteral(" O'HARA "), QStringLiteral("US")};
    const std::optional<OriginRelation> saved =
        Configuration::AgregarRelacionPaisOrigen(ws, typed.text, typed.code);
    QVERIFY(saved);
    QCOMPARE(saved->text, typed.text);
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, typed.text, typed.code));
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, typed.text, QStringLiteral("JX")));
    QVERIFY(Configuration::Eliminar_PaisRel(ws, typed));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral(" O'HARA |JX")});
    // A delete that finds nothing changes nothing and says nothing.
    QVERIFY(!Configuration::Eliminar_PaisRel(ws, typed));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral(" O'HARA |JX")});
    QCOMPARE(fixture.dialogs.messages.size(), 2);
}

void ConfigurationTest::databaseFailuresAreTold()
{
    ConfigHome fixture;
    Workspace& ws = fixture.open();
    fixture.home.runWorkSql(QStringLiteral("drop table ORG;\ndrop table PAIS;\n"));
    fixture.home.runDeclarationSql(QStringLiteral("drop table catalogo;\n"));

    const OriginRelation japan{QStringLiteral("JAPAN"), QStringLiteral("JP")};
    QVERIFY(!Configuration::Eliminar_PaisRel(ws, japan));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, japan.text, japan.code));
    QVERIFY(Configuration::Cargar_Pais(ws).isEmpty());
    QVERIFY(Configuration::countries(ws).names.isEmpty());
    QVERIFY(Configuration::catalogs(ws).lines.isEmpty());

    const QStringList texts = fixture.dialogs.messageTexts();
    QCOMPARE(texts.size(), 5);
    for (const ScriptedDialogs::Shown& shown : fixture.dialogs.messages)
        QCOMPARE(shown.icon, MessageIcon::Critical);
    QVERIFY(
        texts.at(0).endsWith(QStringLiteral(" - seccion [Aduplan.frmConfig.Eliminar_PaisRel]")));
    QVERIFY(texts.at(1).endsWith(
        QStringLiteral(" - seccion [Aduplan.frmNewPais.AgregarRelacionPaisOrigen]")));
    QVERIFY(
        texts.at(2).startsWith(QStringLiteral("No se pudieron leer las relaciones de origen.")));
    QVERIFY(texts.at(3).startsWith(QStringLiteral("No se pudo leer la lista de países.")));
    QVERIFY(texts.at(4).startsWith(QStringLiteral("No se pudo leer la lista de catálogos.")));
}

QTEST_GUILESS_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
