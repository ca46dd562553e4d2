#include "review/ReviewData.h"
#include "support/Cli.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

/** The demo invoices through the whole program, as an operator would take them. */
class TestDemoWalkthrough : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    CliRun cli(const QStringList& args) { return runCli(m_home.path(), args); }

    QString invoice(const QString& name) const
    {
        return QDir(m_home.path()).filePath(QStringLiteral("invoices/") + name);
    }

    /** The counters "process" prints, from their values in order, separated by blanks. */
    static QString counters(const char* values)
    {
        const QStringList v = QString::fromLatin1(values).split(QLatin1Char(' '));
        return QStringLiteral("total: %1\nen_catalogo: %2\nnuevos: %3\ncon_errores: %4\n"
                              "err_posicion: %5\nerr_sufijos: %6\n")
            .arg(v.at(0), v.at(1), v.at(2), v.at(3), v.at(4), v.at(5));
    }

    /** The interno's rows with the interno number left out. */
    QString rowsOf(const QString& interno)
    {
        return cli({QStringLiteral("rows"), interno})
            .out.replace(QStringLiteral("\"INTNRO\":\"%1\"").arg(interno), QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(cli({QStringLiteral("init"), QStringLiteral("--demo")}).code, 0);
    }

    void unknownOriginRefusedUntilRelated()
    {
        const QString first = invoice(QStringLiteral("factura-northfield-0318.doc"));
        const CliRun refused = cli({QStringLiteral("process"), QStringLiteral("1001"), first});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("No seleciono Pais de Origen!")) &&
                     refused.err.contains(QStringLiteral("VIETNAM")),
                 qPrintable(refused.err));
        QCOMPARE(rowsOf(QStringLiteral("1001")), QString());

        const CliRun done = cli({QStringLiteral("process"), QStringLiteral("1001"), first,
                                 QStringLiteral("--origin"), QStringLiteral("VIETNAM=337")});
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
                    << QStringLiteral("factura-%1%2").arg(QLatin1String(name), QLatin1String(kind))
                    << counters(values);
    }

    void everyInvoiceGivesItsCounters()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const CliRun run = cli({QStringLiteral("process"), file, invoice(file)});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, expected);
    }

    void amountsToReview()
    {
        // A line total misprinted; the SUBTOTAL adds up the printed lines.
        const QString misprinted = QStringLiteral("factura-northfield-0402.docx");
        const CliRun line = cli({QStringLiteral("check"), misprinted});
        QCOMPARE(line.code, 1);
        QCOMPARE(line.out,
                 QStringLiteral("Línea 0020, artículo FLG-2-150-SS: esperado 192.00, "
                                "encontrado 129.00\nTotal de la factura: 3127.15 "
                                "(línea 143 del documento: \"SUBTOTAL            "
                                "3,127.15\"); suma de las líneas: 3127.15; coinciden.\n"));
        // A SUBTOTAL misprinted, every line right.
        const CliRun subtotal =
            cli({QStringLiteral("check"), QStringLiteral("factura-brightwater-7741.docx")});
        QCOMPARE(subtotal.code, 1);
        QVERIFY2(subtotal.out.startsWith(QStringLiteral("Total de la factura: 10808.30 (línea ")) &&
                     subtotal.out.endsWith(
                         QStringLiteral("suma de las líneas: 10880.30; diferencia: -72.00.\n")),
                 qPrintable(subtotal.out));
        const CliRun clean =
            cli({QStringLiteral("check"), QStringLiteral("factura-brightwater-7802.docx")});
        QCOMPARE(clean.code, 0);
        QVERIFY(clean.out.endsWith(QStringLiteral("suma de las líneas: 2625.10; coinciden.\n")));
        QCOMPARE(cli({QStringLiteral("check")}).code, 2);
        QCOMPARE(cli({QStringLiteral("check"), misprinted, QStringLiteral("--all")}).code, 2);

        // The control report ends with them, on a page of their own.
        const QString pdf = QDir(m_home.path()).filePath(QStringLiteral("ok.pdf"));
        QCOMPARE(cli({QStringLiteral("report"), misprinted, QStringLiteral("--ok"),
                      QStringLiteral("--pdf"), pdf})
                     .code,
                 0);
        const QStringList pages = ReviewData::pdfPages(pdf);
        QVERIFY2(pages.last().startsWith(QStringLiteral(
                     "Importes a revisar Línea Articulo Esperado Encontrado 0020 FLG-2-150-SS "
                     "192.00 129.00 Total de la factura: 3127.15 (línea 143")) &&
                     pages.last().endsWith(QStringLiteral("Pagina %1 de %1").arg(pages.size())),
                 qPrintable(pages.last()));
        QVERIFY(!pages.first().contains(QStringLiteral("Importes a revisar")));
    }

    void onlyTheCleanInvoiceTransfers()
    {
        const CliRun refused = cli({QStringLiteral("transfer"), QStringLiteral("1001")});
        QCOMPARE(refused.code, 1);
        QVERIFY(refused.err.contains(QStringLiteral("Hay registros para depurar.")));

        const QString clean = QStringLiteral("factura-brightwater-7802.doc");
        const CliRun done = cli({QStringLiteral("transfer"), clean});
        QCOMPARE(done.code, 0);
        QCOMPARE(done.out,
                 QStringLiteral("Se transfirio 16 articulos en el interno %1\n").arg(clean));
    }
};

QTEST_GUILESS_MAIN(TestDemoWalkthrough)
#include "tst_demowalkthrough.moc"
