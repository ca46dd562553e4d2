#include "data/WorkDatabase.h"
#include "review/ReviewData.h"
#include "support/Cli.h"

#include <QDateTime>
#include <QDir>
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

    void killedWritesAreClearedByTheNext()
    {
        // What a write killed midway leaves beside its target: the temporary file, and for a
        // database its journal, under the writer's process number. The next write of the
        // target removes those of a process that is gone, or that lie untouched for hours
        // (the number passed to another process), and keeps one a live process is writing.
        QProcess gone, sleeper;
        gone.start(u"true"_s);
        QVERIFY(gone.waitForStarted());
        const qint64 dead = gone.processId();
        QVERIFY(gone.waitForFinished());
        sleeper.start(u"sleep"_s, {u"600"_s});
        QVERIFY(sleeper.waitForStarted());
        const auto leaveAndWrite = [&](const QString& target, const std::function<bool()>& write) {
            const auto left = [&target](qint64 pid, const char* suffix) {
                return u"%1.%2.tmp%3"_s.arg(target).arg(pid).arg(QLatin1String(suffix));
            };
            const QString live = left(QCoreApplication::applicationPid(), "");
            const std::pair<QString, int> files[] = {{left(dead, ""), 0},
                                                     {left(dead, "-journal"), 0},
                                                     {left(sleeper.processId(), ""), 3 * 3600},
                                                     {live, 0}};
            for (const auto& [name, age] : files) {
                QFile file(name);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write("partial") > 0 &&
                        file.flush());
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                         QFileDevice::FileModificationTime));
            }
            QVERIFY2(write(), qPrintable(target));
            const QString name = QFileInfo(target).fileName();
            QCOMPARE(QFileInfo(target).dir().entryList({name + u"*"_s}, QDir::Files),
                     QStringList({name, QFileInfo(live).fileName()}));
        };

        TestHome fresh;
        const QString database = WorkDatabase::path(fresh.path());
        QVERIFY(QDir().mkpath(QFileInfo(database).path()));
        leaveAndWrite(database, [&] { return runCli(fresh.path(), {u"init"_s}).code == 0; });
        fresh.runWorkSql(u"insert into INTN (INTNRO, INTDSC) values ('1', 'uno');"_s); // whole

        Cli cli;
        const QString book = cli.home.file(u"libro.xlsx"_s);
        leaveAndWrite(book, [&] {
            return cli.run("export 100 --order ARTNRO --out FILE", book) == 0 &&
                   ReviewData::output(u"unzip"_s, {u"-tq"_s, book}).startsWith(u"No errors"_s);
        });
        const QString text = cli.home.file(u"texto.xls"_s);
        leaveAndWrite(text, [&] {
            return cli.run("export 100 --order ARTNRO --out FILE", text) == 0 &&
                   ReviewData::bytes(text).count('\r') == 5;
        });
        const QString pdf = cli.home.file(u"e.pdf"_s);
        leaveAndWrite(pdf, [&] {
            return cli.run("report 100 --errors --pdf FILE", pdf) == 0 &&
                   ReviewData::pdfPages(pdf).size() == 1;
        });
        sleeper.kill();
        sleeper.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCliReview)
#include "tst_cli_review.moc"
