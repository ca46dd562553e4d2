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

// config/choice-and-relations.txt: with no catalog nothing is selected nor stored; the catalogs
// listed (a stale identifier selects the first line), one stored, and the one selected by the
// identifier the settings hold at each opening. Relations: blank ones refused and told; stored
// as typed (untrimmed, quote bound); a delete takes the pair only, a second one finds nothing
// and says nothing.
void ConfigurationTest::catalogChoiceAndRelations()
{
    ConfigHome fixture;
    fixture.home.setSetting(u"INTCAT"_s, u"KEEP"_s);
    Workspace& ws = fixture.open();
    QString log;
    const auto choice = [&](const Configuration::CatalogChoice& shown) {
        log += shown.lines.join(u", "_s) + u" | "_s + shown.ids.join(u", "_s) +
               u" | selected %1 | stored "_s.arg(shown.selected) + ws.settings().storedCatalog() +
               u'\n';
    };
    Configuration::CatalogChoice shown = Configuration::catalogs(ws);
    log += u"saved %1: "_s.arg(Configuration::GrabarySalir(ws, shown.ids, shown.selected));
    choice(shown);
    fixture.home.runDeclarationSql(u"insert into catalogo values ('C2', 'ALFA');\n"
                                   "insert into catalogo values ('C1', 'BETA');\n"
                                   "insert into catalogo values ('C3', NULL);\n"_s);
    shown = Configuration::catalogs(ws);
    log += u"saved %1, catalog %2: "_s.arg(Configuration::GrabarySalir(ws, shown.ids, 2))
               .arg(ws.settings().catalog());
    choice(shown);
    fixture.home.setSetting(u"INTCAT"_s, u"C2"_s);
    choice(Configuration::catalogs(ws));

    const OriginRelation typed{u" O'HARA "_s, u"US"_s};
    for (const auto& [text, code] : {std::pair{u"   "_s, u"JP"_s},
                                     {u"JAPAN"_s, u" "_s},
                                     {typed.text, typed.code},
                                     {typed.text, u"JX"_s}}) {
        const std::optional<OriginRelation> added =
            Configuration::AgregarRelacionPaisOrigen(ws, text, code);
        log += u"add '%1' '%2': "_s.arg(text, code) +
               (added ? added->text + u'|' + added->code : u"none"_s) + u'\n';
    }
    for (int i = 0; i < 2; ++i)
        log += u"delete: %1\n"_s.arg(Configuration::Eliminar_PaisRel(ws, typed));
    log += fixture.relations().join(u", "_s) + u'\n' + fixture.dialogs.takeJournal();
    COMPARE_GOLDEN(log.toUtf8(), u"config/choice-and-relations.txt"_s);
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
