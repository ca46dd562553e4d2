#include "support/Cli.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCliNcm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchFindAndShowOnTheDemo()
    {
        QTemporaryDir dir;
        const QString home = dir.path();
        QVERIFY(cli(home, {u"init"_s, u"--demo"_s}).startsWith(u"0|"_s));

        // Each dot stands for any run of characters: 8482%10% reaches 8482.20.10 too.
        const QString found8482 = cli(home, {u"ncm"_s, u"search"_s, u"8482.10"_s});
        QVERIFY2(found8482.startsWith(u"0|8482.10.10.000M\tRodamientos radiales de bolas, de "
                                      "diámetro interior inferior o igual a 50 mm\n"
                                      "8482.10.90.000M\tLos demás rodamientos de bolas\n"
                                      "8482.20.10.000V\t"_s),
                 qPrintable(found8482));
        QCOMPARE(found8482.count(u'\n'), 5);
        QCOMPARE(cli(home, {u"ncm"_s, u"search"_s, u"9999"_s}), u"1||Posición no encontrada.\n"_s);

        const QString found = cli(home, {u"ncm"_s, u"find"_s, u"RODILLOS"_s, u"conicos"_s});
        QVERIFY2(found.startsWith(u"0|8482.20.10.000V\tRodamientos de rodillos cónicos"_s),
                 qPrintable(found));
        QCOMPARE(found.count(u'\n'), 2);

        QCOMPARE(cli(home, {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s}),
                 u"0|posición: 8482.10.10.000M\n"
                 "descripción: Rodamientos radiales de bolas, de diámetro interior inferior o "
                 "igual a 50 mm\n"
                 "descripción 2: Rodamientos de bolas, de rodillos o de agujas\n"
                 "unidad estadística: 07\nLAPI: no\nsufijos:\n"
                 "  AA   Indique la marca de la mercadería\n  AB   Indique el modelo\n"
                 "  BA01 Abierto, sin protecciones\n  BA02 Con tapas metálicas\n"
                 "  BA03 Con sellos de caucho\n  BD01 De una hilera de bolas\n"
                 "  BD02 De dos hileras de bolas\n"
                 "  ZB   Indique año y mes de fabricación (AAAAMM)\n|"_s);
        QCOMPARE(cli(home, {u"ncm"_s, u"show"_s, u"8482.10.10.000X"_s}),
                 u"1||Posición no encontrada.\n"_s);

        for (const QStringList& wrong : {QStringList{u"ncm"_s},
                                         {u"ncm"_s, u"search"_s},
                                         {u"ncm"_s, u"search"_s, u"8482.10.10.000M"_s},
                                         {u"ncm"_s, u"list"_s, u"x"_s}})
            QVERIFY(cli(home, wrong).startsWith(u"2||"_s));
    }
};

QTEST_GUILESS_MAIN(TestCliNcm)
#include "tst_cli_ncm.moc"
