// SPDX-License-Identifier: Apache-2.0
#include "ConfigHome.h"

#include "config/CatalogCheck.h"
#include "support/Golden.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ConfigurationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void catalogChoiceAndRelations();
    void databaseFailuresAreTold();
    void eachFailureHasItsReason();
};

void ConfigurationTest::catalogChoiceAndRelations()
{
    ConfigHome fixture;
    fixture.home.setSetting(u"INTCAT"_s, u"KEEP"_s);
    Workspace& ws = fixture.open();

    // No catalog: nothing selected, nothing stored.
    Configuration::CatalogChoice choice = Configuration::catalogs(ws);
    QCOMPARE(choice.selected, -1);
    QVERIFY(!Configuration::GrabarySalir(ws, choice.ids, choice.selected));
    QCOMPARE(ws.settings().storedCatalog(), u"KEEP"_s);

    fixture.home.runDeclarationSql(u"insert into catalogo values ('C2', 'ALFA');\n"
                                   "insert into catalogo values ('C1', 'BETA');\n"
                                   "insert into catalogo values ('C3', NULL);\n"_s);
    choice = Configuration::catalogs(ws);
    QCOMPARE(choice.lines, (QStringList{u"[C3] "_s, u"[C2] ALFA"_s, u"[C1] BETA"_s}));
    QCOMPARE(choice.ids, (QStringList{u"C3"_s, u"C2"_s, u"C1"_s}));
    QCOMPARE(choice.selected, 0); // the stale identifier selects the first line
    QVERIFY(Configuration::GrabarySalir(ws, choice.ids, 2));
    QCOMPARE(ws.settings().catalog(), u"C1"_s);
    QCOMPARE(ws.settings().storedCatalog(), u"C1"_s);
    // The stored identifier is read from the settings at each opening.
    fixture.home.setSetting(u"INTCAT"_s, u"C2"_s);
    QCOMPARE(Configuration::catalogs(ws).selected, 1);

    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, u"   "_s, u"JP"_s));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, u"JAPAN"_s, u" "_s));
    QCOMPARE(fixture.dialogs.journal,
             (QStringList{u"message 1: Debe ingresar algun datos en el campo ORIGEN FACTURA"_s,
                          u"message 1: Debe seleccionar un ORIGEN MARIA"_s}));
    QVERIFY(fixture.relations().isEmpty());

    // Stored as typed (untrimmed, quote bound); a delete takes the pair only, a second one
    // finds nothing and says nothing.
    const OriginRelation typed{u" O'HARA "_s, u"US"_s};
    QCOMPARE(Configuration::AgregarRelacionPaisOrigen(ws, typed.text, typed.code)
                 .value_or(OriginRelation{})
                 .text,
             typed.text);
    QVERIFY(Configuration::AgregarRelacionPaisOrigen(ws, typed.text, u"JX"_s));
    QVERIFY(Configuration::Eliminar_PaisRel(ws, typed));
    QVERIFY(!Configuration::Eliminar_PaisRel(ws, typed));
    QCOMPARE(fixture.relations(), QStringList{u" O'HARA |JX"_s});
    QCOMPARE(fixture.dialogs.messages.size(), 2);
}

void ConfigurationTest::databaseFailuresAreTold()
{
    ConfigHome fixture;
    Workspace& ws = fixture.open();
    fixture.home.runWorkSql(u"drop table ORG;\ndrop table PAIS;\n"_s);
    fixture.home.runDeclarationSql(u"drop table catalogo;\n"_s);

    const OriginRelation japan{u"JAPAN"_s, u"JP"_s};
    QVERIFY(!Configuration::Eliminar_PaisRel(ws, japan));
    QVERIFY(!Configuration::AgregarRelacionPaisOrigen(ws, japan.text, japan.code));
    QVERIFY(Configuration::Cargar_Pais(ws).isEmpty());
    QVERIFY(Configuration::countries(ws).names.isEmpty());
    QVERIFY(Configuration::catalogs(ws).lines.isEmpty());

    // Each failure told once, critical, naming the step that failed.
    COMPARE_GOLDEN(portable(fixture.dialogs.journal.join(u'\n') + u'\n', fixture.home.path()),
                   u"config/failures.txt"_s);
}

void ConfigurationTest::eachFailureHasItsReason()
{
    // config/catalog-check.*.sql tell the cases; the failures and counts are in .txt.
    ConfigHome fixture;
    fixture.home.load(u"config/catalog-check.nomenclator.sql"_s);
    fixture.home.load(u"config/catalog-check.declaration.sql"_s);
    Workspace& ws = fixture.open();

    const CatalogCheckResult result = CatalogCheck::run(ws, u"CHK"_s);
    QString report;
    for (const CatalogFailure& f : result.failures)
        report += f.entry.number + u": "_s + CatalogCheck::reason(f.verdict) + u'\n';
    for (const auto& [reason, count] : result.counts())
        report += reason + u": "_s + QString::number(count) + u'\n';
    report += u"checked: "_s + QString::number(result.checked) + u'\n';
    COMPARE_GOLDEN(report.toUtf8(), u"config/catalog-check.txt"_s);
    // Each distinct position and suffixes is judged once; the hourglass is gone after.
    QCOMPARE(fixture.progress.maximum, result.checked - 1);
    QCOMPARE(fixture.progress.busyDepth, 0);

    // The process's verdict (0, 1, 2) agrees with every reason.
    SuffixValidator validator;
    validator.ConexionString(ws.directory());
    for (const CatalogFailure& f : result.failures) {
        const SuffixFault fault = f.verdict.fault;
        const int code =
            fault == SuffixFault::PositionMissing || fault == SuffixFault::CheckLetterWrong ? 1 : 2;
        QCOMPARE(validator.ValidarSufijos(f.entry.position, f.entry.suffixes), code);
    }
    QCOMPARE(validator.ValidarSufijos(u"8482.10.10.000B"_s, u"AA(ACERO)-BC01-ZA(202401)-"_s), 0);

    QVERIFY_THROWS_EXCEPTION(AppError, CatalogCheck::run(ws, u"OTRO"_s));
}

QTEST_GUILESS_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
