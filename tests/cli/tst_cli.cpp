// SPDX-License-Identifier: Apache-2.0
#include "components/DataSession.h"
#include "data/WorkDatabase.h"
#include "review/ReviewData.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/WorkHome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

/**
 * The commands end to end on real homes, each run against its transcript under
 * tests/fixtures/cli: exit code, output and errors byte for byte; the usage on request, for every
 * command, and the manual page beside it.
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

    void historyOfEveryWriter()
    {
        QTemporaryDir home;
        COMPARE_CLI_TRANSCRIPT(home.path(), u"cli/history.txt"_s);
    }

    void revertPutsTheCatalogBack()
    {
        QTemporaryDir home;
        QCOMPARE(runCli(home.path(), {u"init"_s, u"--demo"_s}).code, 0);
        DataSession declaration(u"INTERNOS"_s);
        declaration.CadenaConexion(
            DataSession::sqliteConnection(home.filePath(u"declaration.db"_s)));
        declaration.Conectar();
        revertOnTheDemo(home.path(), [&declaration] {
            return queryRows(declaration, u"select * from catarticulos order by 1, 2"_s);
        });
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

        ReviewData::Session session;
        const QString home = session.home.path();
        const auto exported = [&](const QString& target) {
            return runCli(home,
                          {u"export"_s, u"100"_s, u"--order"_s, u"ARTNRO"_s, u"--out"_s, target})
                       .code == 0;
        };
        const QString book = session.home.file(u"libro.xlsx"_s);
        leaveAndWrite(book, [&] {
            return exported(book) &&
                   ReviewData::output(u"unzip"_s, {u"-tq"_s, book}).startsWith(u"No errors"_s);
        });
        const QString text = session.home.file(u"texto.xls"_s);
        leaveAndWrite(text,
                      [&] { return exported(text) && ReviewData::bytes(text).count('\r') == 5; });
        const QString pdf = session.home.file(u"e.pdf"_s);
        leaveAndWrite(pdf, [&] {
            return runCli(home, {u"report"_s, u"100"_s, u"--errors"_s, u"--pdf"_s, pdf}).code ==
                       0 &&
                   ReviewData::pdfPages(pdf).size() == 1;
        });
        sleeper.kill();
        sleeper.waitForFinished();
    }

    void refusalsSayWhatFailedFirst()
    {
        // A second demo home, damaged step by step: the nomenclator loses its suffix table,
        // the declaration database becomes garbage, then the nomenclator's pages too.
        QTemporaryDir damaged;
        QCOMPARE(runCli(damaged.path(), {u"init"_s, u"--demo"_s}).code, 0);
        const QString nomenclator = damaged.filePath(u"nomenclator.db"_s);
        const auto dropSuffixes = [&nomenclator] {
            DataSession db(u"NCM"_s);
            db.CadenaConexion(DataSession::sqliteConnection(nomenclator));
            db.Conectar();
            db.Sql(u"drop table sufidos"_s);
            db.ejecutar();
        };
        const auto garbage = [](const QString& file, qint64 from) {
            return [file, from] {
                QFile f(file);
                QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(from));
                f.write(QByteArray(f.size() - from, '\x5a'));
            };
        };
        QTemporaryDir demo, empty;
        QCOMPARE(runCli(demo.path(), {u"init"_s, u"--demo"_s}).code, 0);
        const QString home = demo.path();
        QCOMPARE(runCli(home, {u"process"_s, u"1001"_s,
                               demo.filePath(u"invoices/factura-northfield-0318.doc"_s),
                               u"--origin"_s, u"VIETNAM=337"_s})
                     .code,
                 0);
        const QString broken = damaged.path();
        // cli/refusals.txt: each refusal's exit code and message, nothing on the standard output
        // and no library's own lines; a file limit (in kilobytes) fails writes as a full disk.
        struct Refusal {
            QString home;
            QStringList args;
            std::function<void()> damage = {}; // done before the run
            int fileLimitKb = 0;
            bool outputOnFullDisk = false;
        };
        const QList<Refusal> refusals = {
            {home, {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s, u"\u202e\x1b[2J"_s}},
            {home,
             {u"export"_s, u"1001"_s, u"--order"_s, u"ARTORD"_s, u"--out"_s, u"/proc/a.xls"_s}},
            {home,
             {u"export"_s, u"1001"_s, u"--order"_s, u"ARTORD"_s, u"--out"_s,
              damaged.filePath(u"a.xlsx"_s)},
             {},
             1},
            {home,
             {u"report"_s, u"1001"_s, u"--errors"_s, u"--pdf"_s, damaged.filePath(u"r.pdf"_s)},
             {},
             1},
            {empty.path(), {u"init"_s, u"--demo"_s}, {}, 2},
            {broken, {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s}, dropSuffixes},
            {broken, {u"catalog"_s, u"check"_s}, garbage(damaged.filePath(u"declaration.db"_s), 0)},
            {broken, {u"ncm"_s, u"search"_s, u"8482"_s}, garbage(nomenclator, 4096)},
            {home, {u"ncm"_s, u"show"_s, u"8482.10.10.000M"_s}, {}, 0, true},
            {home,
             {u"parse"_s, demo.filePath(u"invoices/factura-northfield-0318.doc"_s)},
             {},
             0,
             true},
        };
        QString said;
        for (const Refusal& refusal : refusals) {
            if (refusal.damage)
                refusal.damage();
            const CliRun run =
                runCli(refusal.home, refusal.args, refusal.fileLimitKb, refusal.outputOnFullDisk);
            said += u"$ %1\n= %2\n%3"_s.arg(refusal.args.join(u' ')).arg(run.code).arg(run.out) +
                    run.err;
        }
        // Without the usage text, the warning of an unset XDG_RUNTIME_DIR and process numbers.
        said.replace(runCli(home, {u"--help"_s}).out, u"(usage)\n"_s)
            .remove(QRegularExpression(u"QStandardPaths: [^\n]*\n"_s))
            .replace(QRegularExpression(u"\\.[0-9]+\\.tmp"_s), u".PID.tmp"_s)
            .replace(u"\x1b"_s, u"\\e"_s)
            .replace(u"\u202e"_s, u"\\u202e"_s);
        for (const auto& [dir, name] : {std::pair{&demo, "$DEMO"}, std::pair{&damaged, "$DAMAGED"},
                                        std::pair{&empty, "$EMPTY"}})
            said.replace(dir->path(), QLatin1String(name));
        COMPARE_GOLDEN(said.toUtf8(), u"cli/refusals.txt"_s);
        // The failed init left no database, the failed writes no file.
        QCOMPARE(QDir(empty.filePath(u"db"_s)).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(damaged.filePath(u"a.xlsx"_s)) &&
                !QFile::exists(damaged.filePath(u"r.pdf"_s)));
    }

    void everyCommandPrintsTheUsageAndHasItsManualSection()
    {
        // A home that does not exist: asking for help must not need, nor create, one.
        QTemporaryDir dir;
        const QString home = dir.filePath(u"absent"_s);
        const QString usage = runCli(home, {u"--help"_s}).out;
        QCOMPARE(cli(home, {u"--help"_s}), u"0|"_s + usage + u'|');
        // The command names: the first word of each line under "comandos:".
        QStringList commands;
        static const QRegularExpression line(u"^  ([a-z]+)"_s, QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(usage.section(u"comandos:\n"_s, 1)); it.hasNext();) {
            const QString name = it.next().captured(1);
            if (!commands.contains(name))
                commands << name;
        }
        QCOMPARE(commands,
                 (QStringList{u"init"_s, u"interno"_s, u"parse"_s, u"process"_s, u"stats"_s,
                              u"rows"_s, u"edit"_s, u"export"_s, u"report"_s, u"check"_s,
                              u"transfer"_s, u"ncm"_s, u"catalog"_s, u"suggest"_s, u"history"_s}));

        QFile page(QStringLiteral(ADUPLAN_SOURCE_DIR "/packaging/aduplan-cli.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (const char* section : {".SH \"ESTADO DE SALIDA\"", ".SH \"CARPETA DE DATOS\""})
            QVERIFY2(text.contains(QLatin1String(section)), section);
        for (const QString& command : std::as_const(commands)) {
            QVERIFY2(text.contains(u"\n.SS \""_s + command), qPrintable(command));
            // Alone and among other options and arguments.
            const CliRun help = runCli(home, {command, u"--help"_s});
            QVERIFY2(help.code == 0 && help.out == usage, qPrintable(command + u'|' + help.err));
            QCOMPARE(runCli(home, {command, u"1"_s, u"--help"_s}).out, usage);
        }
        QVERIFY(!QFile::exists(home));

        // "--" ends the options: an interno may be called "--help". An unknown command is a
        // usage error.
        QCOMPARE(cli(home, {u"interno"_s, u"add"_s, u"--"_s, u"--help"_s}).left(3), u"1||"_s);
        QCOMPARE(cli(home, {u"nada"_s, u"--help"_s}), u"2||"_s + usage);
    }

    void bothProgramsTellTheProjectVersion()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"absent"_s);
        QCOMPARE(cli(home, {u"--version"_s}), u"0|aduplan-cli " ADUPLAN_VERSION "\n|"_s);
        QCOMPARE(cli(home, {u"--version"_s, u"1"_s}).left(2), u"2|"_s);

        QProcess app;
        app.start(QStringLiteral(ADUPLAN_APP), {u"-platform"_s, u"offscreen"_s, u"--version"_s});
        QVERIFY(app.waitForFinished(60000));
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(app.readAllStandardOutput()),
                 u"Aduplan " ADUPLAN_VERSION "\n"_s);
        QVERIFY(!QFile::exists(home));
    }

    // A program whose document library cannot be opened names it, and reads what needs no
    // other: a copy of the command line away from the build has no PDF module beside it.
    void aMissingDocumentLibraryIsNamed()
    {
        QTemporaryDir dir;
        const QString copy = dir.filePath(u"aduplan-cli"_s);
        QVERIFY(QFile::copy(QStringLiteral(ADUPLAN_CLI), copy));
        const auto parse = [&](const char* invoice) {
            QProcess run;
            run.start(copy, {u"parse"_s,
                             QStringLiteral(ADUPLAN_SOURCE_DIR) + u'/' + QLatin1String(invoice)});
            return run.waitForFinished(60000) ? QString::number(run.exitCode()) + u'|' +
                                                    QString::fromUtf8(run.readAllStandardError())
                                              : QString();
        };
        QCOMPARE(parse("demo/invoices/factura-brightwater-7802.doc"), u"0|"_s);
        const QString pdf = parse("tests/fixtures/word/converted/brightwater-7802.doc.pdf");
        // The module is looked for in the library folder beside the program's folder.
        const QRegularExpression named(u"No se pudo usar la biblioteca de lectura de PDF \\("_s +
                                       QRegularExpression::escape(QFileInfo(dir.path()).path()) +
                                       u"/lib/.*/libaduplan-pdf\\.so\\)"_s);
        QVERIFY2(pdf.startsWith(u"1|No se pudo leer la factura "_s) && pdf.contains(named),
                 qPrintable(pdf));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
