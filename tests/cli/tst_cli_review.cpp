#include "review/ReviewData.h"

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
};

QTEST_GUILESS_MAIN(TestCliReview)
#include "tst_cli_review.moc"
