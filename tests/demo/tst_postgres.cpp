// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/ArticleStore.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "process/Process.h"
#include "support/Cli.h"
#include "support/ManyPositions.h"
#include "support/Postgres.h"
#include "support/ScriptedDialogs.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

/** A workspace opened on the home, answering its dialogs from a script. */
struct Opened {
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws;

    explicit Opened(const QString& home)
        : ws(home, dialogs, progress)
    {
        ws.open();
    }
};

} // namespace

/**
 * The demo through the command line with the declaration and nomenclator databases on
 * PostgreSQL. Runs when ADUPLAN_PG names a server and two databases the user may rebuild:
 * "host=localhost;user=aduplan;password=...;declaration=aduplan_decl;nomenclator=aduplan_ncm".
 */
class TestPostgres : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    /** A session on one of the two databases of ADUPLAN_PG. */
    static std::unique_ptr<DataSession> session(const QString& database)
    {
        auto opened = std::make_unique<DataSession>(database);
        opened->CadenaConexion(Postgres::settings(database));
        opened->Conectar();
        return opened;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("ADUPLAN_PG"))
            QSKIP("ADUPLAN_PG is not set");
        // The two databases rebuilt from the demo, and a home whose directory points at them.
        try {
            WorkDatabase::create(m_home.path());
            DemoData::write(m_home.path());
            Postgres::use(m_home.path(), u"INTERNOS"_s, u"declaration"_s,
                          Postgres::DeclarationTables,
                          {u"declaration-schema.sql"_s, u"declaration-data.sql"_s,
                           u"declaration-postgresql.sql"_s});
            Postgres::use(m_home.path(), u"NCM"_s, u"nomenclator"_s, u"ncm, sufidos"_s,
                          {u"nomenclator-schema.sql"_s, u"nomenclator-data.sql"_s});
        } catch (const AppError& error) {
            QFAIL(qPrintable(error.description()));
        }
    }

    void revertPutsTheCatalogBack()
    {
        // First: the demo's catalog as fresh as on SQLite.
        const auto db = session(u"declaration"_s);
        revertOnTheDemo(m_home.path(), [&db] {
            return queryRows(*db, u"select * from catarticulos order by 1, 2"_s);
        });
    }

    void demoThroughTheCommandLine()
    {
        COMPARE_CLI_TRANSCRIPT(m_home.path(), u"cli/postgres.txt"_s);
        // Every item transferred, with its header's time; amounts are 8-byte numbers (a 4-byte
        // real would give back 1234567.875).
        const auto db = session(u"declaration"_s);
        db->Sql(u"update subitems set fob = ?, kgneto = ? where interno = ?"_s,
                {1234567.89, 0.1, u"1004"_s});
        QVERIFY(db->ejecutar() > 0);
        QCOMPARE(queryRows(*db, u"select count(*), count(c.fechaalta), max(fob), max(kgneto) "
                                "from subitems s join caratula c on c.interno = s.interno "
                                "where s.interno = '1004'"_s),
                 QStringList{u"16|16|1234567.89|0.1"_s});
    }

    void manyPositionsReadAhead()
    {
        // More positions and article numbers than one select takes, read from the server.
        const ManyPositions data(u"DEMO"_s, u"9001"_s);
        for (const auto& [name, script] : {std::pair{"nomenclator", &data.nomenclator},
                                           std::pair{"declaration", &data.declaration}}) {
            DemoData::runScript(*session(QLatin1String(name)), {*script});
        }
        Opened opened(m_home.path());
        Workspace& ws = opened.ws;
        DemoData::runScript(ws.work(), {data.work});
        SuffixValidator validator;
        validator.ConexionString(ws.directory());
        QVERIFY(ClasificarArticulos(ws, u"9001"_s, validator));
        QCOMPARE(ManyPositions::checkedRows(ws.work(), u"9001"_s), data.expected);
    }

    void concurrentReplacementsTakeTurns()
    {
        // While this transfer of 1004 writes its items, another operator replaces 1004 too:
        // the other one waits for this one to end, then replaces it whole.
        Opened opened(m_home.path());
        Workspace& ws = opened.ws;
        QProcess other;
        TestSeam::setHook([&](std::string_view point) {
            if (point != "transfer:items")
                return;
            other.start(QStringLiteral(ADUPLAN_CLI),
                        {u"--home"_s, m_home.path(), u"transfer"_s, u"1004"_s, u"--replace"_s});
            QVERIFY(!other.waitForFinished(1500)); // waiting for this transfer
        });
        opened.dialogs.questionAnswers << true;
        QCOMPARE(FRM3_Tranferir(ws, u"1004"_s), TransferOutcome::Transferred);
        TestSeam::setHook({});
        QVERIFY(other.waitForFinished(60000));
        QVERIFY2(other.exitCode() == 0, other.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(other.readAllStandardOutput()).trimmed(),
                 u"Se transfirio 16 articulos en el interno 1004"_s);
    }

    void rowSaveKeepsAChangeMadeMeanwhile()
    {
        // The record editor's save compares the row it loaded in its own statement, on this
        // engine too: a change another connection made since is kept, not overwritten.
        const auto db = session(u"declaration"_s);
        const auto other = session(u"declaration"_s);
        for (const QString& statement :
             QStringList{u"drop table if exists ART"_s} + ArticleStore::schema()) {
            db->Sql(statement);
            db->ejecutar();
        }
        ArticleStore store(*db);
        Article article;
        article.line = 1;
        article.number = u"N-1"_s;
        article.quantity = 12.5;
        article.unitPrice = 0.1;
        store.replaceRows(u"100"_s, {article});
        const Article loaded = *store.row(u"100"_s, 1);
        Article edited = loaded;
        edited.position = u"8482.10.10.000M"_s;
        edited.statisticalQuantity = 1.25;
        edited.country = u"313"_s;

        // Refused (0 rows) while the other connection's check stands; saved over the row as it
        // is now (1 row), marked corrected.
        ArticleStore(*other).setCheck(u"100"_s, 1, CheckOutcome::Suffixes);
        QString saves = QString::number(store.saveCorrected(loaded, edited, true));
        saves += QString::number(store.saveCorrected(*store.row(u"100"_s, 1), edited, true));
        QCOMPARE(saves + u' ' +
                     queryRows(*db, u"select PRCNCM, PRCORI, PRCECA, PRCEST, PRCCRC from ART"_s)
                         .join(u' '),
                 u"01 8482.10.10.000M|313|1.25|M|OK"_s);
    }

    void lockedCatalogRefusedAfterTheWait()
    {
        // Another connection holds catarticulos: the process and the transfer wait as long as
        // directory.ini says, then give up in Spanish; nothing is transferred.
        const QString ini = m_home.filePath(u"directory.ini"_s);
        QSettings(ini, QSettings::IniFormat).setValue(u"INTERNOS/lockTimeout"_s, 1);
        {
            Opened opened(m_home.path());
            Workspace& ws = opened.ws;
            ws.declaration().Sql(u"show lock_timeout"_s);
            RecordSet rs;
            QVERIFY(ws.declaration().CrearRs(rs));
            QCOMPARE(rs.Fields(u"lock_timeout"_s).toString(), u"1s"_s);
        }
        const auto db = session(u"declaration"_s);
        const QStringList before =
            queryRows(*db, u"select interno, ncm from subitems order by 1, 2"_s);
        {
            TransactionGuard holder(*db);
            db->Sql(u"lock table catarticulos in access exclusive mode"_s);
            db->ejecutar();
            const QString invoice =
                QDir(m_home.path()).filePath(u"invoices/factura-brightwater-7802.docx"_s);
            for (const QStringList& args : {QStringList{u"process"_s, u"1004"_s, invoice},
                                            {u"transfer"_s, u"1004"_s, u"--replace"_s}}) {
                const CliRun run = runCli(m_home.path(), args);
                QVERIFY2(run.code == 1 &&
                             run.err.contains(u"La base de datos de declaraciones INTERNOS ("_s) &&
                             run.err.contains(u") está ocupada por otro usuario o programa."_s) &&
                             run.err.contains(u"\nDetalle: "_s),
                         qPrintable(run.joined()));
            }
        }
        QCOMPARE(queryRows(*db, u"select interno, ncm from subitems order by 1, 2"_s), before);
        QSettings(ini, QSettings::IniFormat).remove(u"INTERNOS/lockTimeout"_s);
    }
};

QTEST_GUILESS_MAIN(TestPostgres)
#include "tst_postgres.moc"
