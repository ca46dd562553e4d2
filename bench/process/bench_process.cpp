// SPDX-License-Identifier: Apache-2.0
// Benchmark of the automatic classification against the least SQL reaching the same end state.
//
// For each invoice shape and size it builds a home (work, declaration and nomenclator databases
// on SQLite, the program's own schemas and indexes), loads the invoice's ART rows as the import
// does (one prepared insert in one transaction) and runs the classification stages with the real
// suffix validator. Beside it, on a fresh copy of the same home, the sqlite3 shell runs the floor
// script. Given the command line and bench/process/make_invoice.py, it also times the whole
// process command on a Word invoice of the same lines. Each figure is the best of three runs;
// every run's end state (all ART columns) is compared with the floor's. The classification is
// also run through the main window (offscreen where there is no display), the window being the
// progress sink as in the desktop program, and timed beside the run without a window.

#include "app/frmMain.h"
#include "components/SuffixValidator.h"
#include "data/ArticleStore.h"
#include "data/DemoData.h"
#include "data/Nomenclator.h"
#include "data/WorkDatabase.h"
#include "process/Process.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <QSet>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr int CatalogSize = 10000;
constexpr int Positions = 500;
const QString Interno = QStringLiteral("BENCH");
const QString Catalog = QStringLiteral("CAT");

class QuietDialogs : public OperatorDialogs {
public:
    void message(MessageIcon, const QString& text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool question(const QString&, DefaultAnswer) override { return false; }
    std::optional<QString> textInput(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseOption(const QStringList&, int) override { return std::nullopt; }
    std::optional<OriginRelation> originRelation(const QString&) override { return std::nullopt; }
    std::optional<QString> chooseFile(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const SaveChoice&) override { return std::nullopt; }
};

QString sqlText(const QString& value)
{
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

/** Position of the p-th nomenclator row, as "8400.12.34.567B". */
QString position(int p)
{
    return QStringLiteral("%1.%2.%3.%4B")
        .arg(8400 + p / 100)
        .arg(p % 100, 2, 10, QLatin1Char('0'))
        .arg(10, 2, 10, QLatin1Char('0'))
        .arg(p % 1000, 3, 10, QLatin1Char('0'));
}

QString articleNumber(int a)
{
    return QStringLiteral("P-%1").arg(a, 5, 10, QLatin1Char('0'));
}

/** Catalog entry of article a: its position, suffixes and LAPI (blank for odd articles). */
struct Entry {
    QString ncm;
    QString sufijos;
    QString lapi;
};

Entry entry(int a)
{
    const int p = a % Positions;
    return {position(p), p % 2 ? QStringLiteral("MA01-") : QStringLiteral("SIN SUFIJOS"),
            a % 2 ? QString() : QStringLiteral("N")};
}

/** The LAPI flag the process gives article a: its catalog LAPI, else the nomenclator's mark. */
QString lapiFlag(int a)
{
    const Entry e = entry(a);
    if (!e.lapi.isNull())
        return e.lapi;
    return (a % Positions) % 3 ? QStringLiteral("N") : QStringLiteral("S");
}

/** The outside databases, written once into a template folder. */
void writeOutside(const QString& dir)
{
    QString ncm = DemoData::script(QStringLiteral("nomenclator-schema.sql"));
    for (int p = 0; p < Positions; ++p) {
        const QString pos = position(p);
        ncm += QStringLiteral("insert into ncm ([001], [002], [003], [012], [059]) values "
                              "(%1, %2, %3, '07', %4);\n")
                   .arg(sqlText(Nomenclator::positionDigits(pos)),
                        sqlText(Nomenclator::statisticalOpening(pos)),
                        sqlText(Nomenclator::checkLetter(pos)),
                        p % 3 ? QStringLiteral("''") : QStringLiteral("'*'"));
        if (p % 2)
            for (const char* option : {"MA01", "MA02"})
                ncm += QStringLiteral("insert into sufidos (sim, sufijo, detalle) values "
                                      "(%1, '%2', 'MARCA');\n")
                           .arg(sqlText(pos.left(14)), QLatin1String(option));
    }
    DemoData::runScript(QDir(dir).filePath(QStringLiteral("nomenclator.db")), {ncm});

    QString decl = DemoData::script(QStringLiteral("declaration-schema.sql"));
    for (int a = 0; a < CatalogSize; ++a) {
        const Entry e = entry(a);
        decl += QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, "
                               "sufijos, idunidad, estadistica, estadomerc, deresp, "
                               "preciounitario) values ('%1', %2, %3, %4, %5, '07', '07', '1', "
                               "'', 1.5);\n")
                    .arg(Catalog, sqlText(articleNumber(a)), sqlText(e.ncm),
                         e.lapi.isNull() ? QStringLiteral("NULL") : sqlText(e.lapi),
                         sqlText(e.sufijos));
    }
    DemoData::runScript(QDir(dir).filePath(QStringLiteral("declaration.db")), {decl});
}

/** A home: fresh work database, copies of the outside databases, directory and settings. */
void makeHome(const QString& home, const QString& outside)
{
    WorkDatabase::create(home);
    DemoData::runScript(
        WorkDatabase::path(home),
        {QStringLiteral("insert into PAIS (id, descripcion) values ('212', 'ESTADOS "
                        "UNIDOS');")});
    for (const char* name : {"nomenclator.db", "declaration.db"})
        QFile::copy(QDir(outside).filePath(QLatin1String(name)),
                    QDir(home).filePath(QLatin1String(name)));
    QSettings directory(QDir(home).filePath(QStringLiteral("directory.ini")), QSettings::IniFormat);
    directory.setValue(QStringLiteral("INTERNOS/driver"), QStringLiteral("QSQLITE"));
    directory.setValue(QStringLiteral("INTERNOS/database"), QStringLiteral("declaration.db"));
    directory.setValue(QStringLiteral("NCM/driver"), QStringLiteral("QSQLITE"));
    directory.setValue(QStringLiteral("NCM/database"), QStringLiteral("nomenclator.db"));
    QSettings settings(QDir(home).filePath(QStringLiteral("Aduplan.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CONFIG/INTCAT"), Catalog);
    settings.setValue(QStringLiteral("CONFIG/PRCESM"), QStringLiteral("9"));
}

/** Article of each invoice line: `articles` distinct ones spread over the lines. */
QList<int> invoice(int lines, int articles)
{
    QList<int> result;
    for (int n = 0; n < lines; ++n)
        result << (n * 7919) % articles;
    return result;
}

/** Digest of the interno's ART rows, every column, to compare the two end states. */
QByteArray artDigest(const QString& home)
{
    DataSession work;
    work.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(home)));
    work.Conectar();
    RecordSet rs;
    work.Sql(QStringLiteral("select * from ART order by INTNRO, ARTORD"));
    work.CrearRs(rs);
    QCryptographicHash digest(QCryptographicHash::Sha1);
    for (qsizetype r = 0; r < rs.RecordCount(); ++r)
        for (const QVariant& cell : rs.row(r))
            digest.addData(
                (cell.isNull() ? QStringLiteral("<NULL>|") : cell.toString() + u'|').toUtf8());
    return digest.result();
}

struct Timing {
    qint64 insertMs = 0;
    qint64 classifyMs = 0;
    QByteArray digest;
};

/** The program's run; `inWindow` runs it on the main window's workspace, the window showing it. */
Timing runProgram(const QString& outside, const QList<int>& lines, bool inWindow)
{
    QTemporaryDir dir;
    makeHome(dir.path(), outside);
    QuietDialogs dialogs;
    NoProgress progress;
    Workspace bare(dir.path(), dialogs, progress);
    std::optional<frmMain> window;
    if (inWindow) {
        window.emplace(dir.path(), dialogs);
        window->load();
        window->show();
        QApplication::processEvents();
    } else {
        bare.open();
    }
    Workspace& ws = inWindow ? window->workspace() : bare;

    Timing t;
    QElapsedTimer timer;
    timer.start();
    {
        QList<Article> articles;
        for (int n = 0; n < lines.size(); ++n) {
            Article article;
            article.line = n + 1;
            article.number = articleNumber(lines.at(n));
            article.description = QStringLiteral("ARTICULO");
            article.declaredUnit = QStringLiteral("07");
            article.quantity = 2.0;
            article.unitPrice = 1.5;
            article.total = 3.0;
            article.origin = QStringLiteral("212");
            articles << article;
        }
        TransactionGuard tx(ws.work());
        ArticleStore(ws.work()).replaceRows(Interno, articles);
        tx.commit();
    }
    t.insertMs = timer.restart();

    SuffixValidator validator;
    validator.ConexionString(ws.directory());
    if (!ClasificarArticulos(ws, Interno, [&](const QString& p, const QString& s) {
            return validator.ValidarSufijos(p, s);
        }))
        std::fprintf(stderr, "classification failed\n");
    t.classifyMs = timer.elapsed();
    t.digest = artDigest(dir.path());
    return t;
}

/** The least SQL that reaches the same end state, as one script in one transaction. */
QString floorScript(const QList<int>& lines)
{
    QString sql;
    QTextStream s(&sql);
    s << "attach 'declaration.db' as d;\nattach 'nomenclator.db' as n;\n.output /dev/null\n"
         "begin;\n";
    for (int n = 0; n < lines.size(); ++n)
        s << "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, PRCDUN, ARTCAN, ARTUNI, ARTTOT, "
             "ARTORG) values ('BENCH', "
          << n + 1 << ", '" << articleNumber(lines.at(n))
          << "', 'ARTICULO', '07', 2.0, 1.5, 3.0, '212');\n";
    QList<int> articles = lines;
    std::sort(articles.begin(), articles.end());
    articles.erase(std::unique(articles.begin(), articles.end()), articles.end());
    QSet<QString> lapiRead;
    QSet<QString> validated;
    for (const int a : std::as_const(articles)) {
        const Entry e = entry(a);
        s << "select ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, "
             "preciounitario from d.catarticulos where idcatalogo = 'CAT' and idarticulo = '"
          << articleNumber(a) << "';\n";
        if (e.lapi.isNull() && !lapiRead.contains(e.ncm)) {
            lapiRead.insert(e.ncm);
            s << "select [059] from n.ncm where [001] = '" << Nomenclator::positionDigits(e.ncm)
              << "' and [002] = '" << Nomenclator::statisticalOpening(e.ncm) << "';\n";
        }
        s << "update ART set PRCNCM = '" << e.ncm << "', PRCLAP = '" << lapiFlag(a)
          << "', PRCSUF = '" << e.sufijos
          << "', PRCEUN = '07', PRCESM = '1', PRCSUN = '', PRCEST = 'A' where INTNRO = 'BENCH' "
             "and ARTNRO = '"
          << articleNumber(a) << "';\n";
    }
    s << "update ART set PRCESM = '9' where INTNRO = 'BENCH' and (PRCESM is null or PRCESM = "
         "'');\n";
    for (const int a : std::as_const(articles)) {
        const Entry e = entry(a);
        if (!validated.contains(e.ncm)) {
            validated.insert(e.ncm);
            s << "select 1 from n.ncm where [001] = '" << Nomenclator::positionDigits(e.ncm)
              << "' and [002] = '" << Nomenclator::statisticalOpening(e.ncm) << "' and [003] = '"
              << Nomenclator::checkLetter(e.ncm) << "';\n";
            const QStringList keys = Nomenclator::levelKeys(e.ncm);
            s << "select sufijo from n.sufidos where sim in ('" << keys.join(QStringLiteral("','"))
              << "');\n";
        }
        s << "update ART set PRCCRC = 'OK' where INTNRO = 'BENCH' and ARTNRO = '"
          << articleNumber(a) << "';\n";
    }
    s << "update ART set PRCECA = ARTCAN where INTNRO = 'BENCH' and PRCDUN = PRCEUN and "
         "PRCCRC = 'OK';\ncommit;\n";
    return sql;
}

qint64 runFloor(const QString& outside, const QList<int>& lines, QByteArray& digest)
{
    QTemporaryDir dir;
    makeHome(dir.path(), outside);
    const QString script = QDir(dir.path()).filePath(QStringLiteral("floor.sql"));
    {
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(floorScript(lines).toUtf8());
    }
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.setStandardInputFile(script);
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {WorkDatabase::path(dir.path())});
    shell.waitForFinished(-1);
    const qint64 ms = timer.elapsed();
    if (shell.exitCode() != 0)
        std::fprintf(stderr, "sqlite3: %s\n", shell.readAllStandardError().constData());
    digest = artDigest(dir.path());
    return ms;
}

/**
 * The whole process command on a Word invoice of the same lines (written by make_invoice.py),
 * from the start of aduplan-cli to its end.
 */
qint64 runCommand(const QString& outside, const QString& cli, const QString& document,
                  QByteArray& digest)
{
    QTemporaryDir dir;
    makeHome(dir.path(), outside);
    QProcess command;
    QElapsedTimer timer;
    timer.start();
    command.start(cli, {QStringLiteral("--home"), dir.path(), QStringLiteral("process"), Interno,
                        document, QStringLiteral("--origin"), QStringLiteral("JAPAN=212")});
    command.waitForFinished(-1);
    const qint64 ms = timer.elapsed();
    if (command.exitCode() != 0)
        std::fprintf(stderr, "aduplan-cli: %s\n", command.readAllStandardError().constData());
    digest = artDigest(dir.path());
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // With the command line and the invoice writer, the whole process command is timed too.
    const QStringList args = QApplication::arguments();
    const QString cli = args.size() > 2 ? args.at(1) : QString();
    const QString makeInvoice = args.size() > 2 ? args.at(2) : QString();
    QTemporaryDir outside;
    writeOutside(outside.path());

    std::printf("%-22s %6s %8s %9s %9s %8s %6s %9s %6s %9s %6s\n", "invoice", "lines", "insert",
                "classify", "program", "floor", "ratio", "command", "ratio", "window", "ratio");
    for (const auto& [label, articles] :
         {std::pair{"50 articles", 50}, std::pair{"all lines different", 0}}) {
        for (const int lines : {1000, 10000}) {
            const QList<int> inv = invoice(lines, articles ? articles : lines);
            Timing best;
            qint64 bestTotal = std::numeric_limits<qint64>::max();
            qint64 bestFloor = std::numeric_limits<qint64>::max();
            qint64 bestWindow = std::numeric_limits<qint64>::max();
            for (int round = 0; round < 3; ++round) {
                const Timing t = runProgram(outside.path(), inv, false);
                if (t.insertMs + t.classifyMs < bestTotal) {
                    bestTotal = t.insertMs + t.classifyMs;
                    best = t;
                }
                QByteArray floorDigest;
                bestFloor = std::min(bestFloor, runFloor(outside.path(), inv, floorDigest));
                if (floorDigest != t.digest)
                    std::fprintf(stderr, "%s, %d lines: end states differ\n", label, lines);
                const Timing shown = runProgram(outside.path(), inv, true);
                bestWindow = std::min(bestWindow, shown.classifyMs);
                if (shown.digest != t.digest)
                    std::fprintf(stderr, "%s, %d lines: window end state differs\n", label, lines);
            }
            qint64 bestCommand = 0;
            if (!cli.isEmpty()) {
                const QString document =
                    QDir(outside.path()).filePath(QStringLiteral("invoice.doc"));
                QProcess::execute(QStringLiteral("python3"),
                                  {makeInvoice, QString::number(lines),
                                   QString::number(articles ? articles : lines), document});
                bestCommand = std::numeric_limits<qint64>::max();
                for (int round = 0; round < 3; ++round) {
                    QByteArray commandDigest;
                    bestCommand = std::min(
                        bestCommand, runCommand(outside.path(), cli, document, commandDigest));
                    if (commandDigest != best.digest)
                        std::fprintf(stderr, "%s, %d lines: command end state differs\n", label,
                                     lines);
                }
            }
            const double floorMs = double(std::max<qint64>(bestFloor, 1));
            std::printf(
                "%-22s %6d %6lldms %7lldms %7lldms %6lldms %6.2f %7lldms %6.2f %7lldms %6.2f\n",
                label, lines, best.insertMs, best.classifyMs, bestTotal, bestFloor,
                double(bestTotal) / floorMs, bestCommand, double(bestCommand) / floorMs, bestWindow,
                double(bestWindow) / double(std::max<qint64>(best.classifyMs, 1)));
        }
    }
    return 0;
}
