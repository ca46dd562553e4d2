#include "review/ReviewData.h"
#include "support/Cli.h"
#include "support/Golden.h"

#include <QTest>

using namespace Qt::StringLiterals;

/**
 * The commands end to end on real homes, each run against its transcript under
 * tests/fixtures/cli: exit code, output and errors byte for byte.
 */
class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void internosOnAnEmptyHome()
    {
        TestHome home;
        home.createDatabases();
        COMPARE_CLI_TRANSCRIPT(home.path(), u"cli/interno.txt"_s);
    }

    void exportAndReport()
    {
        ReviewData::Session session;
        COMPARE_CLI_TRANSCRIPT(session.home.path(), u"cli/review.txt"_s);
        COMPARE_GOLDEN(ReviewData::bytes(session.home.file(u"libro.xls"_s)), u"cli/libro.xls"_s);
        QVERIFY(!QFile::exists(session.home.file(u"vacio.xls"_s)));
        QVERIFY(!QFile::exists(session.home.file(u"n.pdf"_s)));
        const QStringList pages = ReviewData::pdfPages(session.home.file(u"e.pdf"_s));
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages.first().contains(u"C-1 Arandela 410 05.00 01.5000 07.50"_s),
                 qPrintable(pages.first()));
    }

    void demoInvoicesThroughTheWholeProgram()
    {
        QTemporaryDir home;
        QCOMPARE(runCli(home.path(), {u"init"_s, u"--demo"_s}).code, 0);
        COMPARE_CLI_TRANSCRIPT(home.path(), u"cli/demo.txt"_s);
        // The control report ends with the amounts to review, on a page of their own.
        const QStringList pages = ReviewData::pdfPages(home.filePath(u"ok.pdf"_s));
        QVERIFY2(pages.last().startsWith(
                     u"Importes a revisar Línea Articulo Esperado Encontrado 0020 FLG-2-150-SS "
                     "192.00 129.00 Total de la factura: 3127.15 (línea 143"_s) &&
                     pages.last().endsWith(u"Pagina %1 de %1"_s.arg(pages.size())),
                 qPrintable(pages.last()));
        QVERIFY(!pages.first().contains(u"Importes a revisar"_s));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
