// SPDX-License-Identifier: Apache-2.0
// Benchmark of the transfer against the least work reaching the same end state in the
// database's own shell.
//
// For each size it builds a home whose work database holds an interno of clean lines, each a
// different article, half of them already in the catalog, and times `aduplan-cli transfer`
// (under /usr/bin/time -v, for its peak memory) beside the floor: on SQLite the sqlite3 shell
// attaching the work database (insert ... select and an upsert), on PostgreSQL psql copying the
// rows into a temporary table and writing them with the same set-based statements. Each figure
// is the best of three runs on a fresh declaration database; every end state (header, items
// and catalog, all columns) is compared with the floor's. The transfer is also run through the
// main window (offscreen where there is no display), the window being the progress sink as in
// the desktop program, and timed beside the command.
//
// The floor writes nothing in the work database, where the command records the run and every
// catalog entry's change (history and catalog journal). On SQLite the shell is also timed
// writing those records, in SQL of its own, in the same transaction as the floor ("floor+rec.");
// its journal is compared with the command's, row by row (times, author and identifiers
// aside). That SQL is no floor for the journal: the engine builds the JSON texts more slowly
// than the program does, so the command runs faster than it.
//
// PostgreSQL is measured when ADUPLAN_PG names a server and a declaration database this run
// may rebuild (as for the tests). Given ADUPLAN_PG_LOG, the server's log file, the statements
// the command sends are counted there, for one extra run, with log_statement = 'all' set on
// that database by the server's own account (runuser -u postgres psql).

#include "app/frmMain.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "support/ScriptedDialogs.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

const QString Interno = QStringLiteral("BENCH");

/** The interno's lines: articles P-000001 ... in line order, varied units and countries. */
QString workRows(int lines)
{
    return QStringLiteral(
               "insert into INTN values ('BENCH', 'Banco de pruebas');\n"
               "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
               "insert into ART select 'BENCH', i, 'P-' || substr('00000' || i, -6), "
               "'ARTICULO ' || i, i % 7 + 1, 1.25, (i % 7 + 1) * 1.25, '212', "
               "case i % 3 when 0 then '01' else '07' end, '8471.30.00.100A', 'N', "
               "'SIN SUFIJOS', '07', i % 7 + 1, case i % 5 when 0 then '10' end, "
               "case i % 5 when 0 then 2.5 end, '1', case when i % 4 < 2 then '212' end, 'A', "
               "'OK' from n;\n")
        .arg(lines);
}

/** The catalog entries of the even articles, with other values than the lines give. */
QString catalogRows(int lines, bool postgres)
{
    const QString numbers =
        postgres ? QStringLiteral("select i from generate_series(2, %1, 2) as g(i)").arg(lines)
                 : QStringLiteral("with recursive n(i) as (select 2 union all select i + 2 from "
                                  "n where i < %1) select i from n")
                       .arg(lines - 1);
    return QStringLiteral("insert into catarticulos select 'CAT', 'P-' || %1, 'VIEJA', '999', "
                          "5, 1, '0000.00.00.000A', 'S', 'XX(1)-', '05', '05', 9, '2', 'U', 9 "
                          "from (%2) as k;\n")
        .arg(postgres ? QStringLiteral("lpad(i::text, 6, '0')")
                      : QStringLiteral("substr('00000' || i, -6)"),
             numbers);
}

/** The floor's statements after the rows are at hand as table `a` (ART's columns). */
QString floorStatements(const QString& now)
{
    return QStringLiteral(
               "insert into caratula (interno, fechaalta) values ('BENCH', %1);\n"
               "insert into subitems (idarticulo, idcatalogo, descripcion, interno, ncm, "
               "idunidad, cantidad, preciounitario, idpais, kgneto, fob, estadomerc, "
               "estadistica, valorrelacionestadistica, sufijos, lapi, valorderesp, kgbruto, "
               "biendeuso, deresp) select coalesce(artnro, ''), 'CAT', coalesce(artdsc, ''), "
               "'BENCH', coalesce(prcncm, ''), coalesce(prcdun, ''), artcan, artuni, "
               "coalesce(artorg, ''), case when trim(coalesce(prcdun, '')) = '01' then artcan "
               "else 0 end, arttot, coalesce(prcesm, ''), coalesce(prceun, ''), case when "
               "trim(coalesce(prceun, '')) = trim(coalesce(prcdun, '')) then artcan else 0 end, "
               "coalesce(prcsuf, ''), coalesce(prclap, ''), coalesce(prcsca, 0), 0, 'N', "
               "coalesce(prcsun, '') from a order by artord;\n"
               "insert into catarticulos (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
               "preciounitario, ncm, lapi, sufijos, idunidad, estadistica, "
               "valorrelacionestadistica, estadomerc, deresp, valorderesp) select 'CAT', "
               "coalesce(artnro, ''), coalesce(artdsc, ''), coalesce(prcori, ''), 0, "
               "coalesce(artuni, 0), coalesce(prcncm, ''), coalesce(prclap, ''), "
               "coalesce(prcsuf, ''), coalesce(prcdun, ''), coalesce(prceun, ''), "
               "coalesce(prceca, 0), coalesce(prcesm, ''), coalesce(prcsun, ''), "
               "coalesce(prcsca, 0) from a where true on conflict (idcatalogo, idarticulo) do "
               "update set descripcion = excluded.descripcion, idpais = case excluded.idpais "
               "when '' then catarticulos.idpais else excluded.idpais end, cantidad = 0, "
               "preciounitario = excluded.preciounitario, ncm = excluded.ncm, lapi = "
               "excluded.lapi, sufijos = excluded.sufijos, idunidad = excluded.idunidad, "
               "estadistica = excluded.estadistica, valorrelacionestadistica = "
               "excluded.valorrelacionestadistica, estadomerc = excluded.estadomerc, deresp = "
               "excluded.deresp, valorderesp = excluded.valorderesp;\n")
        .arg(now);
}

/**
 * What the transfer records in the work database (attached as w), written on SQLite before
 * the floor's catalog statement: the run's history entry and the catalog journal, a row for
 * each entry with the fields it changes and their values before and after, as JSON arrays of
 * the values' texts (numbers in their shortest form).
 */
QString recordStatements(int lines)
{
    // A number's text as the history keeps it: a whole one without its ".0". The other
    // fields are texts.
    const QStringList numbers = {QStringLiteral("cantidad"), QStringLiteral("preciounitario"),
                                 QStringLiteral("valorrelacionestadistica"),
                                 QStringLiteral("valorderesp")};
    const auto text = [&numbers](const QString& field, const QString& value) {
        if (!numbers.contains(field))
            return value;
        return QStringLiteral("case when %1 = cast(%1 as integer) then cast(cast(%1 as integer) "
                              "as text) else cast(%1 as text) end")
            .arg(value);
    };
    // Each catalog field, and its value after the transfer (`c` is the entry before).
    const QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("descripcion"), QStringLiteral("coalesce(artdsc, '')")},
        {QStringLiteral("idpais"),
         QStringLiteral("case when c.idarticulo is null then coalesce(prcori, '') when "
                        "coalesce(prcori, '') = '' then c.idpais else prcori end")},
        {QStringLiteral("cantidad"), QStringLiteral("0.0")},
        {QStringLiteral("preciounitario"), QStringLiteral("coalesce(artuni, 0)")},
        {QStringLiteral("ncm"), QStringLiteral("coalesce(prcncm, '')")},
        {QStringLiteral("lapi"), QStringLiteral("coalesce(prclap, '')")},
        {QStringLiteral("sufijos"), QStringLiteral("coalesce(prcsuf, '')")},
        {QStringLiteral("idunidad"), QStringLiteral("coalesce(prcdun, '')")},
        {QStringLiteral("estadistica"), QStringLiteral("coalesce(prceun, '')")},
        {QStringLiteral("valorrelacionestadistica"), QStringLiteral("coalesce(prceca, 0)")},
        {QStringLiteral("estadomerc"), QStringLiteral("coalesce(prcesm, '')")},
        {QStringLiteral("deresp"), QStringLiteral("coalesce(prcsun, '')")},
        {QStringLiteral("valorderesp"), QStringLiteral("coalesce(prcsca, 0)")}};
    // Each value's text worked out once (v), then the arrays of the fields that change (d).
    QStringList texts, names, before, after;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const auto& [field, value] = fields.at(i);
        texts << QStringLiteral("%1 as o%3, %2 as n%3")
                     .arg(text(field, QStringLiteral("c.") + field), text(field, value))
                     .arg(i);
        const QString changed = QStringLiteral("case when o%1 is not n%1 then ").arg(i);
        names << changed + QStringLiteral("',\"%1\"' else '' end").arg(field);
        before << changed + QStringLiteral("',' || json_quote(o%1) else '' end").arg(i);
        after << changed + QStringLiteral("',' || json_quote(n%1) else '' end").arg(i);
    }
    return QStringLiteral(
               "insert into w.ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, INTNRO, ACTION, "
               "DETAIL, WITNESS) values (strftime('%Y-%m-%dT%H:%M:%SZ', 'now'), 'bench', "
               "'bench', 'cli', 'BENCH', 'transfer', 'filas transferidas: %1, catálogo CAT', "
               "datetime('now'));\n"
               "with v as materialized (select artord, coalesce(artnro, '') as article, case "
               "when c.idarticulo is null then 'insert' else 'update' end as change, %2 from a "
               "left join catarticulos c on c.idcatalogo = 'CAT' and c.idarticulo = "
               "coalesce(artnro, '')), d as materialized (select artord, article, change, %3 as "
               "f, %4 as o, %5 as n from v) "
               "insert into w.CATALOG_JOURNAL (TIME, USERNAME, HOST, FRONTEND, INTNRO, CATALOG, "
               "ARTICLE, FIELD, OLDVALUE, NEWVALUE, STATE, ACTION, RUN, CHANGE) select "
               "strftime('%Y-%m-%dT%H:%M:%SZ', 'now'), 'bench', 'bench', 'cli', 'BENCH', 'CAT', "
               "article, '[' || substr(f, 2) || ']', '[' || substr(o, 2) || ']', '[' || "
               "substr(n, 2) || ']', 'run', 'transfer', (select max(ID) from w.ROW_HISTORY), "
               "change from d where f <> '' order by artord;\n")
        .arg(QString::number(lines), texts.join(QStringLiteral(", ")),
             names.join(QStringLiteral(" || ")), before.join(QStringLiteral(" || ")),
             after.join(QStringLiteral(" || ")));
}

/** The PostgreSQL server and database of ADUPLAN_PG, empty when it is not set. */
QHash<QString, QString> postgresSettings()
{
    QHash<QString, QString> pg;
    for (const QString& part :
         qEnvironmentVariable("ADUPLAN_PG").split(QLatin1Char(';'), Qt::SkipEmptyParts))
        pg.insert(part.section(QLatin1Char('='), 0, 0).trimmed(),
                  part.section(QLatin1Char('='), 1).trimmed());
    return pg;
}

class Bench {
public:
    Bench(QString cli, int lines, bool postgres)
        : m_cli(std::move(cli))
        , m_lines(lines)
        , m_postgres(postgres)
        , m_pg(postgresSettings())
    {}

    /** A fresh home and declaration database with the interno and the catalog. */
    void prepare()
    {
        m_home.emplace();
        const QString home = m_home->path();
        WorkDatabase::create(home);
        DemoData::runScript(WorkDatabase::path(home), {workRows(m_lines)});
        QSettings directory(QDir(home).filePath(QStringLiteral("directory.ini")),
                            QSettings::IniFormat);
        directory.beginGroup(QStringLiteral("INTERNOS"));
        if (m_postgres) {
            directory.setValue(QStringLiteral("driver"), QStringLiteral("QPSQL"));
            directory.setValue(QStringLiteral("database"),
                               m_pg.value(QStringLiteral("declaration")));
            for (const char* key : {"host", "user", "password"})
                directory.setValue(QLatin1String(key), m_pg.value(QLatin1String(key)));
        } else {
            directory.setValue(QStringLiteral("driver"), QStringLiteral("QSQLITE"));
            directory.setValue(QStringLiteral("database"), QStringLiteral("declaration.db"));
        }
        directory.endGroup();
        DemoData::runScript(QDir(home).filePath(QStringLiteral("nomenclator.db")),
                            {DemoData::script(QStringLiteral("nomenclator-schema.sql"))});
        directory.setValue(QStringLiteral("NCM/driver"), QStringLiteral("QSQLITE"));
        directory.setValue(QStringLiteral("NCM/database"), QStringLiteral("nomenclator.db"));
        QSettings settings(QDir(home).filePath(QStringLiteral("Aduplan.ini")),
                           QSettings::IniFormat);
        settings.setValue(QStringLiteral("CONFIG/INTCAT"), QStringLiteral("CAT"));

        QStringList scripts = {DemoData::script(QStringLiteral("declaration-schema.sql"))};
        if (m_postgres)
            scripts << DemoData::script(QStringLiteral("declaration-postgresql.sql"));
        scripts << catalogRows(m_lines, m_postgres);
        if (m_postgres) {
            DataSession session(QStringLiteral("INTERNOS"));
            connect(session);
            session.Sql(QStringLiteral(
                "drop table if exists catalogo, catarticulos, caratula, subitems, facturas"));
            session.ejecutar();
            DemoData::runScript(session, scripts);
        } else {
            DemoData::runScript(QDir(home).filePath(QStringLiteral("declaration.db")), scripts);
        }
    }

    struct Run {
        qint64 ms = 0;
        qint64 peakKb = 0;
    };

    /** The command, under /usr/bin/time -v. */
    Run command()
    {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral("/usr/bin/time"),
                      {QStringLiteral("-v"), m_cli, QStringLiteral("--home"), m_home->path(),
                       QStringLiteral("transfer"), Interno});
        process.waitForFinished(-1);
        Run run{timer.elapsed(), 0};
        const QString err = QString::fromUtf8(process.readAllStandardError());
        if (process.exitCode() != 0)
            std::fprintf(stderr, "aduplan-cli: %s\n", qPrintable(err));
        static const QRegularExpression peak(
            QStringLiteral("Maximum resident set size[^:]*: (\\d+)"));
        run.peakKb = peak.match(err).captured(1).toLongLong();
        return run;
    }

    /**
     * The floor in the database's own shell; with `records` (SQLite only), it also writes what
     * the transfer records in the work database.
     */
    qint64 floor(bool records = false)
    {
        const QString home = m_home->path();
        const QString script = QDir(home).filePath(QStringLiteral("floor.sql"));
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        QProcess shell;
        if (m_postgres) {
            // The rows leave the work database as CSV into psql's COPY.
            file.write(QStringLiteral(
                           "begin;\ncreate temporary table a (intnro text, artord integer, "
                           "artnro text, artdsc text, artcan double precision, artuni double "
                           "precision, arttot double precision, artorg text, prcdun text, prcncm "
                           "text, prclap text, prcsuf text, prceun text, prceca double precision, "
                           "prcsun text, prcsca double precision, prcesm text, prcori text, "
                           "prcest text, prccrc text) on commit drop;\n"
                           "\\copy a from pstdin with (format csv)\n%1commit;\n")
                           .arg(floorStatements(QStringLiteral("now()")))
                           .toUtf8());
            file.close();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("PGPASSWORD"), m_pg.value(QStringLiteral("password")));
            shell.setProcessEnvironment(env);
            shell.start(QStringLiteral("sh"),
                        {QStringLiteral("-c"),
                         QStringLiteral("sqlite3 -csv '%1' \"select * from ART where INTNRO = "
                                        "'BENCH'\" | psql -q -v ON_ERROR_STOP=1 -h '%2' -U '%3' "
                                        "-d '%4' -f '%5'")
                             .arg(WorkDatabase::path(home), m_pg.value(QStringLiteral("host")),
                                  m_pg.value(QStringLiteral("user")),
                                  m_pg.value(QStringLiteral("declaration")), script)});
        } else {
            file.write(QStringLiteral("attach '%1' as w;\nbegin;\ncreate temporary view a as "
                                      "select * from w.ART where INTNRO = 'BENCH';\n%2%3commit;\n")
                           .arg(WorkDatabase::path(home),
                                records ? recordStatements(m_lines) : QString(),
                                floorStatements(QStringLiteral("datetime('now')")))
                           .toUtf8());
            file.close();
            shell.setStandardInputFile(script);
            shell.start(QStringLiteral("sqlite3"),
                        {QDir(home).filePath(QStringLiteral("declaration.db"))});
        }
        QElapsedTimer timer;
        timer.start();
        shell.waitForFinished(-1);
        const qint64 ms = timer.elapsed();
        if (shell.exitCode() != 0)
            std::fprintf(stderr, "floor: %s\n", shell.readAllStandardError().constData());
        return ms;
    }

    /** The transfer run on the main window's workspace, the window showing its progress. */
    qint64 window()
    {
        ScriptedDialogs dialogs;
        frmMain window(m_home->path(), dialogs);
        window.load();
        window.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        if (FRM3_Tranferir(window.workspace(), Interno) != TransferOutcome::Transferred)
            std::fprintf(stderr, "window: %s\n", qPrintable(dialogs.messageTexts().join(u'\n')));
        return timer.elapsed();
    }

    /** The statements the command sends, counted in the server's log. */
    qint64 statements(const QString& log)
    {
        const QString database = m_pg.value(QStringLiteral("declaration"));
        // Only a superuser sets it: the server's own account, on this machine.
        const auto setLogging = [&](const QString& value) {
            QProcess::execute(QStringLiteral("runuser"),
                              {QStringLiteral("-u"), QStringLiteral("postgres"),
                               QStringLiteral("--"), QStringLiteral("psql"), QStringLiteral("-qc"),
                               QStringLiteral("alter database %1 %2").arg(database, value)});
        };
        setLogging(QStringLiteral("set log_statement = 'all'"));
        QFile file(log);
        const qint64 start = file.size();
        command();
        setLogging(QStringLiteral("reset log_statement"));
        file.open(QIODevice::ReadOnly);
        file.seek(start);
        const QByteArray mark = QStringLiteral("@%1 LOG:  statement: ").arg(database).toUtf8();
        qint64 count = 0;
        while (!file.atEnd())
            if (file.readLine().contains(mark))
                ++count;
        return count;
    }

    /** Header, items and catalog, every column (the header without its time). */
    QStringList digest()
    {
        DataSession session(QStringLiteral("INTERNOS"));
        connect(session);
        return digests(session, {"select interno from caratula order by 1",
                                 "select * from subitems order by 1",
                                 "select * from catarticulos order by 1, 2"});
    }

    /** The run's history entry and catalog journal, without times, author and identifiers. */
    QStringList records()
    {
        DataSession session;
        session.CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(m_home->path())));
        session.Conectar();
        return digests(session,
                       {"select INTNRO, ACTION, DETAIL, STATE from ROW_HISTORY order by ID",
                        "select CATALOG, ARTICLE, FIELD, OLDVALUE, NEWVALUE, STATE, "
                        "ACTION, CHANGE from CATALOG_JOURNAL order by ID"});
    }

private:
    /** Each query's rows hashed, named by the table after its "from". */
    static QStringList digests(DataSession& session, std::initializer_list<const char*> queries)
    {
        QStringList tables;
        for (const char* query : queries) {
            QCryptographicHash hash(QCryptographicHash::Sha1);
            RecordSet rs;
            session.Sql(QLatin1String(query));
            session.CrearRs(rs);
            for (qsizetype r = 0; r < rs.RecordCount(); ++r)
                for (const QVariant& cell : rs.row(r))
                    hash.addData(
                        (cell.isNull() ? QStringLiteral("<NULL>|") : cell.toString() + u'|')
                            .toUtf8());
            const QString text = QString::fromLatin1(query);
            tables << text.section(QStringLiteral(" from "), 1).section(u' ', 0, 0) + u':' +
                          QString::fromLatin1(hash.result().toHex());
        }
        return tables;
    }

    /** Opens the session on the declaration database. */
    void connect(DataSession& session)
    {
        ConnectionSettings settings;
        if (m_postgres) {
            settings.driver = QStringLiteral("QPSQL");
            settings.database = m_pg.value(QStringLiteral("declaration"));
            settings.host = m_pg.value(QStringLiteral("host"));
            settings.user = m_pg.value(QStringLiteral("user"));
            settings.password = m_pg.value(QStringLiteral("password"));
        } else {
            settings = DataSession::sqliteConnection(
                QDir(m_home->path()).filePath(QStringLiteral("declaration.db")));
        }
        session.CadenaConexion(settings);
        session.Conectar();
    }

    QString m_cli;
    int m_lines;
    bool m_postgres;
    QHash<QString, QString> m_pg;
    std::optional<QTemporaryDir> m_home;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "uso: bench_transfer ADUPLAN-CLI [LÍNEAS...]\n");
        return 2;
    }
    QList<int> sizes;
    for (qsizetype i = 2; i < args.size(); ++i)
        sizes << args.at(i).toInt();
    if (sizes.isEmpty())
        sizes = {10000, 50000};
    const QString log = qEnvironmentVariable("ADUPLAN_PG_LOG");
    QList<bool> engines = {false};
    if (qEnvironmentVariableIsSet("ADUPLAN_PG"))
        engines << true;

    std::printf("%-10s %6s %9s %9s %6s %8s %9s %6s %13s %11s %6s\n", "engine", "lines", "command",
                "floor", "ratio", "peak MB", "window", "ratio", "statem./line", "floor+rec.",
                "ratio");
    for (const bool postgres : engines) {
        for (const int lines : std::as_const(sizes)) {
            Bench bench(args.at(1), lines, postgres);
            qint64 bestCommand = std::numeric_limits<qint64>::max();
            qint64 bestFloor = bestCommand;
            qint64 bestWindow = bestCommand;
            qint64 bestRecorded = bestCommand;
            qint64 peakKb = 0;
            for (int round = 0; round < 3; ++round) {
                bench.prepare();
                bestFloor = std::min(bestFloor, bench.floor());
                const QStringList floorState = bench.digest();
                QStringList recorded;
                if (!postgres) {
                    bench.prepare();
                    bestRecorded = std::min(bestRecorded, bench.floor(true));
                    recorded = bench.records();
                }
                bench.prepare();
                const Bench::Run run = bench.command();
                bestCommand = std::min(bestCommand, run.ms);
                peakKb = std::max(peakKb, run.peakKb);
                if (const QStringList state = bench.digest(); state != floorState)
                    std::fprintf(stderr, "%d lines: end states differ: %s against %s\n", lines,
                                 qPrintable(state.join(u' ')), qPrintable(floorState.join(u' ')));
                if (!postgres && bench.records() != recorded)
                    std::fprintf(stderr, "%d lines: records differ: %s against %s\n", lines,
                                 qPrintable(bench.records().join(u' ')),
                                 qPrintable(recorded.join(u' ')));
                if (lines == sizes.first()) {
                    bench.prepare();
                    bestWindow = std::min(bestWindow, bench.window());
                    if (bench.digest() != floorState)
                        std::fprintf(stderr, "%d lines: window end state differs\n", lines);
                }
            }
            double statementsPerLine = 0;
            if (postgres && !log.isEmpty()) {
                bench.prepare();
                statementsPerLine = double(bench.statements(log)) / lines;
            }
            const QString recordedRatio =
                postgres ? QStringLiteral("-")
                         : QString::number(double(bestCommand) / double(bestRecorded), 'f', 2);
            std::printf("%-10s %6d %9lld %9lld %6.2f %8.1f %9s %6s %13.3f %11s %6s\n",
                        postgres ? "postgresql" : "sqlite", lines, bestCommand, bestFloor,
                        double(bestCommand) / double(bestFloor), peakKb / 1024.0,
                        lines == sizes.first() ? qPrintable(QString::number(bestWindow)) : "-",
                        lines == sizes.first()
                            ? qPrintable(QString::number(double(bestWindow) / bestCommand, 'f', 2))
                            : "-",
                        statementsPerLine,
                        postgres ? "-" : qPrintable(QString::number(bestRecorded)),
                        qPrintable(recordedRatio));
            std::fflush(stdout);
        }
    }
    return 0;
}
