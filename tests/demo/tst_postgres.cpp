#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "process/Process.h"
#include "support/ManyPositions.h"
#include "support/ScriptedDialogs.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

/**
 * The demo through the command line with the declaration and nomenclator databases on
 * PostgreSQL. Runs when ADUPLAN_PG names a server and two databases the user may rebuild:
 * "host=localhost;user=aduplan;password=...;declaration=aduplan_decl;nomenclator=aduplan_ncm".
 */
class TestPostgres : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QHash<QString, QString> m_pg;

    ConnectionSettings connection(const QString& database) const
    {
        ConnectionSettings settings;
        settings.driver = QStringLiteral("QPSQL");
        settings.database = m_pg.value(database);
        settings.host = m_pg.value(QStringLiteral("host"));
        settings.user = m_pg.value(QStringLiteral("user"));
        settings.password = m_pg.value(QStringLiteral("password"));
        return settings;
    }

    /** Rebuilds a database from the demo scripts. */
    void rebuild(const QString& database, const QString& tables, const QStringList& scripts)
    {
        DataSession session(database);
        session.CadenaConexion(connection(database));
        session.Conectar();
        session.Sql(QStringLiteral("drop table if exists %1 cascade").arg(tables));
        session.ejecutar();
        QStringList texts;
        for (const QString& name : scripts)
            texts << DemoData::script(name);
        DemoData::runScript(session, texts);
    }

    QString cli(const QStringList& args, int expectedExit = 0)
    {
        QProcess process;
        process.start(QStringLiteral(ADUPLAN_CLI),
                      QStringList{QStringLiteral("--home"), m_home.path()} + args);
        if (!process.waitForFinished(120000))
            return QStringLiteral("no terminó");
        const QString err = QString::fromUtf8(process.readAllStandardError());
        if (process.exitCode() != expectedExit)
            return QStringLiteral("salida %1: %2").arg(process.exitCode()).arg(err);
        return QString::fromUtf8(process.readAllStandardOutput()).simplified();
    }

    /** The two databases rebuilt from the demo, and a home whose directory points at them. */
    void prepare(const QString& dsn)
    {
        for (const QString& part : dsn.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            m_pg.insert(part.section(QLatin1Char('='), 0, 0).trimmed(),
                        part.section(QLatin1Char('='), 1).trimmed());

        rebuild(QStringLiteral("declaration"),
                QStringLiteral("catalogo, catarticulos, caratula, subitems, facturas"),
                {QStringLiteral("declaration-schema.sql"), QStringLiteral("declaration-data.sql"),
                 QStringLiteral("declaration-postgresql.sql")});
        rebuild(QStringLiteral("nomenclator"), QStringLiteral("ncm, sufidos"),
                {QStringLiteral("nomenclator-schema.sql"), QStringLiteral("nomenclator-data.sql")});

        WorkDatabase::create(m_home.path());
        DemoData::write(m_home.path());
        QSettings directory(QDir(m_home.path()).filePath(QStringLiteral("directory.ini")),
                            QSettings::IniFormat);
        const QStringList entities = {QStringLiteral("INTERNOS"), QStringLiteral("NCM")};
        const QStringList databases = {QStringLiteral("declaration"),
                                       QStringLiteral("nomenclator")};
        for (int i = 0; i < 2; ++i) {
            directory.beginGroup(entities.at(i));
            directory.setValue(QStringLiteral("driver"), QStringLiteral("QPSQL"));
            directory.setValue(QStringLiteral("database"), m_pg.value(databases.at(i)));
            for (const char* key : {"host", "user", "password"})
                directory.setValue(QLatin1String(key), m_pg.value(QLatin1String(key)));
            directory.endGroup();
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString dsn = qEnvironmentVariable("ADUPLAN_PG");
        if (dsn.isEmpty())
            QSKIP("ADUPLAN_PG is not set");
        try {
            prepare(dsn);
        } catch (const AppError& error) {
            QFAIL(qPrintable(error.description()));
        }
    }

    void catalogCheckAgrees()
    {
        // As on SQLite (tests/cli): in article order, every reason, the same totals.
        const QString out = cli({QStringLiteral("catalog"), QStringLiteral("check")}, 1);
        QVERIFY2(out.startsWith(QStringLiteral("5206-2RS ")) &&
                     out.endsWith(QStringLiteral("sufijos no requeridos: 2 verificados: 66 "
                                                 "con_errores: 22")),
                 qPrintable(out));
    }

    void processAndTransfer()
    {
        const QString invoices = QDir(m_home.path()).filePath(QStringLiteral("invoices/"));
        QCOMPARE(cli({QStringLiteral("process"), QStringLiteral("1001"),
                      invoices + QStringLiteral("factura-northfield-0318.doc"),
                      QStringLiteral("--origin"), QStringLiteral("VIETNAM=337")}),
                 QStringLiteral("total: 36 en_catalogo: 23 nuevos: 4 con_errores: 9 "
                                "err_posicion: 3 err_sufijos: 6"));
        QCOMPARE(cli({QStringLiteral("process"), QStringLiteral("1004"),
                      invoices + QStringLiteral("factura-brightwater-7802.docx")}),
                 QStringLiteral("total: 16 en_catalogo: 16 nuevos: 0 con_errores: 0 "
                                "err_posicion: 0 err_sufijos: 0"));
        QCOMPARE(cli({QStringLiteral("transfer"), QStringLiteral("1004")}),
                 QStringLiteral("Se transfirio 16 articulos en el interno 1004"));
        QCOMPARE(
            cli({QStringLiteral("transfer"), QStringLiteral("1004"), QStringLiteral("--replace")}),
            QStringLiteral("Se transfirio 16 articulos en el interno 1004"));

        DataSession declaration(QStringLiteral("declaration"));
        declaration.CadenaConexion(connection(QStringLiteral("declaration")));
        declaration.Conectar();
        declaration.Sql(QStringLiteral("select count(*) as n, min(c.fechaalta) as alta from "
                                       "subitems s join caratula c on c.interno = s.interno"));
        RecordSet rs;
        QVERIFY(declaration.CrearRs(rs));
        QCOMPARE(rs.Fields(QStringLiteral("n")).toInt(), 16);
        QVERIFY(rs.Fields(QStringLiteral("alta")).toDateTime().isValid());
    }

    void positionSearch()
    {
        // By number, with a dot for any run of characters and "%" for itself, and by words.
        const QString rodillos =
            QStringLiteral("8482.20.10.000V Rodamientos de rodillos cónicos, de diámetro interior "
                           "inferior o igual a 50 mm 8482.20.90.000V Los demás rodamientos de "
                           "rodillos cónicos");
        QCOMPARE(cli({QStringLiteral("ncm"), QStringLiteral("search"), QStringLiteral("8482.20")}),
                 rodillos);
        QCOMPARE(cli({QStringLiteral("ncm"), QStringLiteral("search"), QStringLiteral("84%")}, 1),
                 QString());
        QCOMPARE(cli({QStringLiteral("ncm"), QStringLiteral("find"), QStringLiteral("RODILLOS"),
                      QStringLiteral("conicos")}),
                 rodillos);
        QVERIFY(
            cli({QStringLiteral("ncm"), QStringLiteral("show"), QStringLiteral("8482.10.10.000M")})
                .endsWith(QStringLiteral("BD02 De dos hileras de bolas ZB Indique año y mes de "
                                         "fabricación (AAAAMM)")));
    }

    void amountsKeepEveryDigit()
    {
        // Amounts are 8-byte numbers: a 4-byte real would give back 1234567.875.
        DataSession declaration(QStringLiteral("declaration"));
        declaration.CadenaConexion(connection(QStringLiteral("declaration")));
        declaration.Conectar();
        declaration.Sql(QStringLiteral("update subitems set fob = ?, kgneto = ? where interno = ?"),
                        {1234567.89, 0.1, QStringLiteral("1004")});
        QVERIFY(declaration.ejecutar() > 0);
        declaration.Sql(
            QStringLiteral("select distinct fob, kgneto from subitems where interno = ?"),
            {QStringLiteral("1004")});
        RecordSet rs;
        QVERIFY(declaration.CrearRs(rs));
        QCOMPARE(rs.Fields(QStringLiteral("fob")).toDouble(), 1234567.89);
        QCOMPARE(rs.Fields(QStringLiteral("kgneto")).toDouble(), 0.1);
    }

    void manyPositionsReadAhead()
    {
        // More positions and article numbers than one select takes, read from the server.
        const ManyPositions data(QStringLiteral("DEMO"), QStringLiteral("9001"));
        for (const auto& [name, script] : {std::pair{"nomenclator", &data.nomenclator},
                                           std::pair{"declaration", &data.declaration}}) {
            const QString database = QLatin1String(name);
            DataSession session(database);
            session.CadenaConexion(connection(database));
            session.Conectar();
            DemoData::runScript(session, {*script});
        }
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Workspace ws(m_home.path(), dialogs, progress);
        ws.open();
        DemoData::runScript(ws.work(), {data.work});
        SuffixValidator validator;
        validator.ConexionString(ws.directory());
        QVERIFY(ClasificarArticulos(ws, QStringLiteral("9001"), validator));
        QCOMPARE(ManyPositions::checkedRows(ws.work(), QStringLiteral("9001")), data.expected);
    }

    void concurrentReplacementsTakeTurns()
    {
        // While this transfer of 1004 writes its items, another operator replaces 1004 too:
        // the other one waits for this one to end, then replaces it whole.
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Workspace ws(m_home.path(), dialogs, progress);
        ws.open();
        QProcess other;
        TestSeam::setHook([&](std::string_view point) {
            if (point != "transfer:items")
                return;
            other.start(QStringLiteral(ADUPLAN_CLI),
                        {QStringLiteral("--home"), m_home.path(), QStringLiteral("transfer"),
                         QStringLiteral("1004"), QStringLiteral("--replace")});
            QVERIFY(!other.waitForFinished(1500)); // waiting for this transfer
        });
        dialogs.questionAnswers << true;
        QCOMPARE(FRM3_Tranferir(ws, QStringLiteral("1004")), TransferOutcome::Transferred);
        TestSeam::setHook({});
        QVERIFY(other.waitForFinished(60000));
        QVERIFY2(other.exitCode() == 0, other.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(other.readAllStandardOutput()).trimmed(),
                 QStringLiteral("Se transfirio 16 articulos en el interno 1004"));
    }
};

QTEST_GUILESS_MAIN(TestPostgres)
#include "tst_postgres.moc"
