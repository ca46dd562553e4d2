#include "ConfigHome.h"

#include "config/CatalogCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// 8482.10.10.000B takes the free value AA, the options BC and the six-digit ZA; 3926.90.90.100K
// takes none.
const QString Nomenclator = uR"(
insert into ncm ([001], [002], [003]) values ('8482.10.10', '000', 'B');
insert into ncm ([001], [002], [003]) values ('3926.90.90', '100', 'K');
insert into sufidos (sim, sufijo, detalle) values ('84  .  .  .   ', 'AA', 'Marca');
insert into sufidos (sim, sufijo, detalle) values ('8482.  .  .   ', 'BC01', 'Bolas');
insert into sufidos (sim, sufijo, detalle) values ('8482.10.  .   ', 'ZA', 'Fecha');
)"_s;

/** A catalog row of CHK: article, position, suffixes. */
QString entry(const QString& article, const QString& position, const QString& suffixes)
{
    return u"insert into catarticulos (idcatalogo, idarticulo, ncm, sufijos) values "
           "('CHK', '%1', '%2', '%3');\n"_s.arg(article, position, suffixes);
}

} // namespace

class TestCatalogCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachFailureHasItsReason()
    {
        ConfigHome fixture;
        fixture.home.runNomenclatorSql(Nomenclator);
        const QString bearing = u"8482.10.10.000B"_s;
        const QString good = u"AA(ACERO)-BC01-ZA(202401)-"_s;
        // Articles by the reason they fail with ("" passes); Z2 repeats A4's position and
        // suffixes.
        const QList<std::pair<QString, QString>> expected = {
            {entry(u"A1"_s, bearing, good), {}},
            {entry(u"A2"_s, u"8482.10.90.000B"_s, good), u"posición inexistente"_s},
            {entry(u"A3"_s, u"8482.10.10.000M"_s, good),
             u"letra de control errónea (el nomenclador tiene B)"_s},
            {entry(u"A4"_s, bearing, u"AA(ACERO)-ZA(202401)-"_s),
             u"falta el grupo de sufijos BC"_s},
            {entry(u"A5"_s, bearing, u"SIN SUFIJOS"_s), u"falta el grupo de sufijos AA"_s},
            {entry(u"A6"_s, bearing, good + u"CD01-"_s), u"grupo de sufijos desconocido CD"_s},
            {entry(u"A7"_s, bearing, u"AA01-BC01-ZA(202401)-"_s),
             u"grupo de sufijos desconocido AA"_s},
            {entry(u"A8"_s, bearing, u"AA(ACERO)-BC01-ZA(2024)-"_s),
             u"valor mal formado: ZA(2024)"_s},
            {entry(u"A9"_s, bearing, u"AA(ACERO)-BC07-ZA(202401)-"_s),
             u"valor mal formado: BC07"_s},
            {entry(u"B1"_s, bearing, good + u"BC01-"_s),
             u"valor mal formado: BC01 repite el grupo BC"_s},
            {entry(u"B2"_s, u"3926.90.90.100K"_s, u"AA(ACERO)-"_s),
             u"sufijos no requeridos: la posición no lleva sufijos"_s},
            {entry(u"B3"_s, u"3926.90.90.100K"_s, u"SIN SUFIJOS"_s), {}},
            {entry(u"Z2"_s, bearing, u"AA(ACERO)-ZA(202401)-"_s),
             u"falta el grupo de sufijos BC"_s},
        };
        QString rows = u"insert into catalogo values ('CHK', 'Prueba');\n"_s;
        for (const auto& e : expected)
            rows += e.first;
        fixture.home.runDeclarationSql(rows);
        Workspace& ws = fixture.open();

        const CatalogCheckResult result = CatalogCheck::run(ws, u"CHK"_s);
        QCOMPARE(result.checked, expected.size());
        QStringList got, want;
        for (const CatalogFailure& f : result.failures)
            got << f.entry.number + u": "_s + CatalogCheck::reason(f.verdict);
        for (qsizetype i = 0; i < expected.size(); ++i) {
            if (!expected.at(i).second.isEmpty())
                want << expected.at(i).first.section(u'\'', 3, 3) + u": "_s + expected.at(i).second;
        }
        QCOMPARE(got, want);
        QCOMPARE(result.counts(), (QList<std::pair<QString, qsizetype>>{
                                      {u"posición inexistente"_s, 1},
                                      {u"letra de control errónea"_s, 1},
                                      {u"falta un grupo de sufijos"_s, 3},
                                      {u"grupo de sufijos desconocido"_s, 2},
                                      {u"valor mal formado"_s, 3},
                                      {u"sufijos no requeridos"_s, 1},
                                  }));
        // Each distinct position and suffixes is judged once; the hourglass is gone after.
        QCOMPARE(fixture.progress.maximum, expected.size() - 1);
        QCOMPARE(fixture.progress.busyDepth, 0);

        // The process's verdict (0, 1, 2) agrees with every reason.
        SuffixValidator validator;
        validator.ConexionString(ws.directory());
        for (const CatalogFailure& f : result.failures) {
            const SuffixFault fault = f.verdict.fault;
            const int code =
                fault == SuffixFault::PositionMissing || fault == SuffixFault::CheckLetterWrong ? 1
                                                                                                : 2;
            QCOMPARE(validator.ValidarSufijos(f.entry.position, f.entry.suffixes), code);
        }
        QCOMPARE(validator.ValidarSufijos(bearing, good), 0);

        QVERIFY_THROWS_EXCEPTION(AppError, CatalogCheck::run(ws, u"OTRO"_s));
    }
};

QTEST_GUILESS_MAIN(TestCatalogCheck)
#include "tst_catalogcheck.moc"
