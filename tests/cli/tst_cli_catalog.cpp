#include "support/Cli.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCliCatalog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checksTheDemoCatalogs()
    {
        QTemporaryDir dir;
        const QString home = dir.path();
        QCOMPARE(runCli(home, {u"init"_s, u"--demo"_s}).code, 0);

        // The catalog in use: each failing article with its reason, the counts, the totals.
        const CliRun demo = runCli(home, {u"catalog"_s, u"check"_s});
        QCOMPARE(demo.code, 1);
        const QStringList lines = demo.out.split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : {
                 u"BRG-608-2RS\t8482.10.10.000B\tAA(ROLTEC)-AB(608 2RS)-BA03-ZB(202402)-BD01-\t"
                 "letra de control errónea (el nomenclador tiene M)"_s,
                 u"CBL-8AWG-THHN\t8544.49.00.100H\tAA(CABLEX)-AB(THHN 8 AWG STRANDED COPPER)-"
                 "CB01-AL(8,37)-\tvalor mal formado: AB(THHN 8 AWG STRANDED COPPER)"_s,
             })
            QVERIFY2(lines.contains(line), qPrintable(line));
        QCOMPARE(
            lines.mid(lines.size() - 8),
            (QStringList{u"posición inexistente: 5"_s, u"letra de control errónea: 2"_s,
                         u"falta un grupo de sufijos: 5"_s, u"grupo de sufijos desconocido: 1"_s,
                         u"valor mal formado: 7"_s, u"sufijos no requeridos: 2"_s,
                         u"verificados: 66"_s, u"con_errores: 22"_s}));
        QCOMPARE(lines.size(), 22 + 8);

        // A clean catalog, an unknown one, wrong usage.
        const CliRun clean =
            runCli(home, {u"catalog"_s, u"check"_s, u"--catalog"_s, u"REPUESTOS"_s});
        QVERIFY(clean.code == 0 && clean.out.endsWith(u"verificados: 8\ncon_errores: 0\n"_s));
        QCOMPARE(runCli(home, {u"catalog"_s, u"check"_s, u"--catalog"_s, u"NADA"_s}).joined(),
                 u"2||El catálogo \"NADA\" no existe.\n"_s);
        for (const QStringList& wrong : {QStringList{u"catalog"_s},
                                         {u"catalog"_s, u"check"_s, u"DEMO"_s},
                                         {u"catalog"_s, u"check"_s, u"--catalog"_s},
                                         {u"catalog"_s, u"list"_s}})
            QCOMPARE(runCli(home, wrong).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliCatalog)
#include "tst_cli_catalog.moc"
