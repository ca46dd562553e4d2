#include "review/ReviewData.h"
#include "support/Cli.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

/** The demo invoices through the whole program, as an operator would take them. */
class TestDemoWalkthrough : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    CliRun cli(const QStringList& args) { return runCli(m_home.path(), args); }

    QString invoice(const QString& name) const
    {
        return QDir(m_home.path()).filePath(u"invoices/"_s + name);
    }

    /** The counters "process" prints, from their values in order, separated by blanks. */
    static QString counters(const char* values)
    {
        const QStringList v = QString::fromLatin1(values).split(QLatin1Char(' '));
        return u"total: %1\nen_catalogo: %2\nnuevos: %3\ncon_errores: %4\n"
               "err_posicion: %5\nerr_sufijos: %6\n"_s.arg(v.at(0), v.at(1), v.at(2), v.at(3),
                                                           v.at(4), v.at(5));
    }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(cli({u"init"_s, u"--demo"_s}).code, 0); }

    void unknownOriginRefusedUntilRelated()
    {
        const QString first = invoice(u"factura-northfield-0318.doc"_s);
        const CliRun refused = cli({u"process"_s, u"1001"_s, first});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(u"No seleciono Pais de Origen!"_s) &&
                     refused.err.contains(u"VIETNAM"_s),
                 qPrintable(refused.err));
        QCOMPARE(cli({u"rows"_s, u"1001"_s}).out, QString());

        const CliRun done = cli({u"process"_s, u"1001"_s, first, u"--origin"_s, u"VIETNAM=337"_s});
        QCOMPARE(done.code, 0);
        QCOMPARE(done.out, counters("36 23 4 9 3 6"));
    }

    void everyInvoiceGivesItsCounters_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        const std::pair<const char*, const char*> invoices[] = {
            {"brightwater-7741", "30 19 4 7 2 5"},
            {"northfield-0402", "31 23 6 2 0 2"},
            {"brightwater-7802", "16 16 0 0 0 0"}};
        for (const char* kind : {".doc", ".docx"})
            for (const auto& [name, values] : invoices)
                QTest::addRow("%s%s", name, kind)
                    << u"factura-%1%2"_s.arg(QLatin1String(name), QLatin1String(kind))
                    << counters(values);
    }

    void everyInvoiceGivesItsCounters()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const CliRun run = cli({u"process"_s, file, invoice(file)});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, expected);
    }

    void amountsToReview()
    {
        // A line total misprinted; the SUBTOTAL adds up the printed lines.
        const QString misprinted = u"factura-northfield-0402.docx"_s;
        const CliRun line = cli({u"check"_s, misprinted});
        QCOMPARE(line.code, 1);
        QCOMPARE(line.out, u"Línea 0020, artículo FLG-2-150-SS: esperado 192.00, "
                           "encontrado 129.00\nTotal de la factura: 3127.15 "
                           "(línea 143 del documento: \"SUBTOTAL            "
                           "3,127.15\"); suma de las líneas: 3127.15; coinciden.\n"_s);
        // A SUBTOTAL misprinted, every line right.
        const CliRun subtotal = cli({u"check"_s, u"factura-brightwater-7741.docx"_s});
        QCOMPARE(subtotal.code, 1);
        QVERIFY2(
            subtotal.out.startsWith(u"Total de la factura: 10808.30 (línea "_s) &&
                subtotal.out.endsWith(u"suma de las líneas: 10880.30; diferencia: -72.00.\n"_s),
            qPrintable(subtotal.out));
        const CliRun clean = cli({u"check"_s, u"factura-brightwater-7802.docx"_s});
        QCOMPARE(clean.code, 0);
        QVERIFY(clean.out.endsWith(u"suma de las líneas: 2625.10; coinciden.\n"_s));
        QCOMPARE(cli({u"check"_s}).code, 2);
        QCOMPARE(cli({u"check"_s, misprinted, u"--all"_s}).code, 2);

        // The control report ends with them, on a page of their own.
        const QString pdf = QDir(m_home.path()).filePath(u"ok.pdf"_s);
        QCOMPARE(cli({u"report"_s, misprinted, u"--ok"_s, u"--pdf"_s, pdf}).code, 0);
        const QStringList pages = ReviewData::pdfPages(pdf);
        QVERIFY2(pages.last().startsWith(
                     u"Importes a revisar Línea Articulo Esperado Encontrado 0020 FLG-2-150-SS "
                     "192.00 129.00 Total de la factura: 3127.15 (línea 143"_s) &&
                     pages.last().endsWith(u"Pagina %1 de %1"_s.arg(pages.size())),
                 qPrintable(pages.last()));
        QVERIFY(!pages.first().contains(u"Importes a revisar"_s));
    }

    void onlyTheCleanInvoiceTransfers()
    {
        const CliRun refused = cli({u"transfer"_s, u"1001"_s});
        QCOMPARE(refused.code, 1);
        QVERIFY(refused.err.contains(u"Hay registros para depurar."_s));

        // Once; again only with --replace; wrong use.
        const QString clean = u"factura-brightwater-7802.doc"_s;
        const QString done = u"0|Se transfirio 16 articulos en el interno %1\n|"_s.arg(clean);
        QCOMPARE(cli({u"transfer"_s, clean}).joined(), done);
        QCOMPARE(cli({u"transfer"_s, clean}).joined(),
                 u"1||El interno [ %1 ] ya existe.\n\nDesea reemplazarlo?\nNo se "
                 "transfirió ningún registro. Use --replace para reemplazarlo.\n"_s.arg(clean));
        QCOMPARE(cli({u"transfer"_s, clean, u"--replace"_s}).joined(), done);
        QVERIFY(cli({u"transfer"_s}).joined().startsWith(u"2||Falta el número de interno.\n"_s));
        QVERIFY(cli({u"transfer"_s, clean, u"--x"_s})
                    .joined()
                    .startsWith(u"2||Argumento desconocido: --x\n"_s));
    }
};

QTEST_GUILESS_MAIN(TestDemoWalkthrough)
#include "tst_demowalkthrough.moc"
