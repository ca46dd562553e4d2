#include "review/ReviewData.h"
#include "support/Cli.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Cli : ReviewData::Session {
    QString err;

    /** Runs the command (arguments split at blanks, FILE replaced by `file`); the exit code. */
    int run(const char* arguments, const QString& file = {})
    {
        QStringList args{u"--home"_s, home.path()};
        for (const QString& arg : QString::fromUtf8(arguments).split(u' '))
            args << (arg == u"FILE"_s ? file : arg);
        QProcess process;
        process.start(QStringLiteral(ADUPLAN_CLI), args);
        if (!process.waitForFinished(60000))
            qFatal("aduplan-cli did not finish");
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }
};

} // namespace

class TestCliReview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportWritesAsTheMenu()
    {
        Cli cli;
        QCOMPARE(cli.run("export 100 --order ARTNRO --out FILE", cli.home.file(u"libro"_s)), 0);
        const QList<QByteArray> lines =
            ReviewData::bytes(cli.home.file(u"libro.xls"_s)).split('\r');
        QCOMPARE(lines.size(), 6); // the header, four rows, nothing after the last CR
        QCOMPARE(lines.at(1), "\nA-3\tBulon largo\t410\t\"\"\t1\t1234.5\t1234.5\t7318.15.00.000A\t"
                              "SIN SUFIJOS\tOK"_ba);

        QCOMPARE(cli.run("export 300 --order ARTORD --out FILE", cli.home.file(u"vacio"_s)), 1);
        QVERIFY(!cli.err.isEmpty() && !QFile::exists(cli.home.file(u"vacio.xls"_s)));
        QCOMPARE(cli.run("export 100 --order PRCCRC --out x"), 2);
        QCOMPARE(cli.run("export 100 --order ARTORD"), 2);
    }

    void reportRendersThePdf()
    {
        Cli cli;
        const QString pdf = cli.home.file(u"e.pdf"_s);
        QCOMPARE(cli.run("report 100 --errors --pdf FILE", pdf), 0);
        const QStringList pages = ReviewData::pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages.first().contains(u"C-1 Arandela 410 05.00 01.5000 07.50"_s),
                 qPrintable(pages.first()));

        QCOMPARE(cli.run("report 300 --ok --pdf FILE", cli.home.file(u"n.pdf"_s)), 1);
        QVERIFY2(cli.err.contains(u"No hay articulos para mostrar\n"_s), qPrintable(cli.err));
        QVERIFY(!QFile::exists(cli.home.file(u"n.pdf"_s)));
        QCOMPARE(cli.run("report 100 --errors --ok --pdf x.pdf"), 2);
    }

    void checkTheDemoInvoices()
    {
        QTemporaryDir dir;
        const QString home = dir.path();
        auto invoice = [&home](const char* name) {
            return home + u"/invoices/factura-"_s + QLatin1String(name) + u".docx"_s;
        };
        QCOMPARE(runCli(home, {u"init"_s, u"--demo"_s}).code, 0);
        for (const auto& [interno, name] : {std::pair{"1002", "brightwater-7741"},
                                            {"1003", "northfield-0402"},
                                            {"1004", "brightwater-7802"}}) {
            const CliRun process = runCli(home, {u"process"_s, QLatin1String(interno),
                                                 invoice(name), u"--origin"_s, u"VIETNAM=337"_s});
            QVERIFY2(process.code == 0, qPrintable(process.err));
        }

        // A line total misprinted: the SUBTOTAL adds up the printed lines.
        const CliRun misprinted = runCli(home, {u"check"_s, u"1003"_s});
        QCOMPARE(misprinted.code, 1);
        QCOMPARE(misprinted.out,
                 u"Línea 0020, artículo FLG-2-150-SS: esperado 192.00, encontrado 129.00\n"
                 "Total de la factura: 3127.15 (línea 143 del documento: \"SUBTOTAL            "
                 "3,127.15\"); suma de las líneas: 3127.15; coinciden.\n"_s);
        // A SUBTOTAL misprinted, every line right.
        const CliRun subtotal = runCli(home, {u"check"_s, u"1002"_s});
        QCOMPARE(subtotal.code, 1);
        QVERIFY2(
            subtotal.out.startsWith(u"Total de la factura: 10808.30 (línea "_s) &&
                subtotal.out.endsWith(u"suma de las líneas: 10880.30; diferencia: -72.00.\n"_s),
            qPrintable(subtotal.out));
        const CliRun clean = runCli(home, {u"check"_s, u"1004"_s});
        QCOMPARE(clean.code, 0);
        QVERIFY(clean.out.endsWith(u"suma de las líneas: 2625.10; coinciden.\n"_s));
        QCOMPARE(runCli(home, {u"check"_s}).code, 2);
        QCOMPARE(runCli(home, {u"check"_s, u"1003"_s, u"--all"_s}).code, 2);

        // The control report lists the amounts to review after the rows.
        const QString pdf = home + u"/ok.pdf"_s;
        QCOMPARE(runCli(home, {u"report"_s, u"1003"_s, u"--ok"_s, u"--pdf"_s, pdf}).code, 0);
        const QStringList pages = ReviewData::pdfPages(pdf);
        QVERIFY2(pages.last().startsWith(u"Importes a revisar Línea Articulo Esperado Encontrado "
                                         "0020 FLG-2-150-SS 192.00 129.00 Total de la factura: "
                                         "3127.15 (línea 143"_s) &&
                     pages.last().endsWith(u"Pagina %1 de %1"_s.arg(pages.size())),
                 qPrintable(pages.last()));
        QVERIFY(!pages.first().contains(u"Importes a revisar"_s));
    }
};

QTEST_GUILESS_MAIN(TestCliReview)
#include "tst_cli_review.moc"
