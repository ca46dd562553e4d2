#include "data/DemoData.h"
#include "data/InvoiceTotalStore.h"
#include "data/WorkDatabase.h"
#include "support/Cli.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestWorkspace : public QObject {
    Q_OBJECT

    ScriptedDialogs m_dialogs;
    RecordingProgress m_progress;

    static QString openError(const QString& home)
    {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Workspace ws(home, dialogs, progress);
        try {
            ws.open();
        } catch (const AppError& e) {
            return e.description();
        }
        return {};
    }

private Q_SLOTS:
    void opensConnectionsAndKeepsSettings()
    {
        TestHome home;
        home.createDatabases();
        // A work database made before the invoices' stated totals were kept gets their table.
        home.runWorkSql(QStringLiteral("drop table INVOICE_TOTAL;\n"));
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            InvoiceTotalStore(ws.work()).replace(QStringLiteral("1"),
                                                 StatedTotal{3, QStringLiteral("TOTAL 1.50"), 1.5});
            QCOMPARE(InvoiceTotalStore(ws.work()).read(QStringLiteral("1"))->amount, 1.5);
            // Absent settings read empty, never null: they are bound as values.
            QVERIFY(!ws.settings().catalog().isNull() && ws.settings().catalog().isEmpty());
        }
        home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("CAT1"));
        home.setSetting(QStringLiteral("PRCESM"), QStringLiteral("NU"));
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            QCOMPARE(ws.settings().catalog(), QStringLiteral("CAT1"));
            QCOMPARE(ws.settings().goodsCondition(), QStringLiteral("NU"));
            ws.settings().saveCatalog(QStringLiteral("CAT2"));
            QCOMPARE(ws.settings().catalog(), QStringLiteral("CAT2"));
        }
        Workspace again(home.path(), m_dialogs, m_progress);
        again.open();
        QCOMPARE(again.settings().catalog(), QStringLiteral("CAT2"));
    }

    void missingPiecesAreNamedWithTheirFix()
    {
        TestHome empty;
        const QString noWork = openError(empty.path());
        QVERIFY(noWork.contains(WorkDatabase::path(empty.path())));
        QVERIFY(noWork.contains(QStringLiteral("init")));

        TestHome noDirectory;
        WorkDatabase::create(noDirectory.path());
        const QString noEntity = openError(noDirectory.path());
        QVERIFY(noEntity.contains(QStringLiteral("INTERNOS")));
        QVERIFY(noEntity.contains(QStringLiteral("directory.ini")));

        TestHome lostFile;
        lostFile.createDatabases();
        QVERIFY(QFile::remove(lostFile.file(QStringLiteral("nomenclator.db"))));
        const QString noFile = openError(lostFile.path());
        QVERIFY(noFile.contains(QStringLiteral("NCM")));
        QVERIFY(noFile.contains(lostFile.file(QStringLiteral("nomenclator.db"))));
        // The missing file is not created empty in its place.
        QVERIFY(!QFile::exists(lostFile.file(QStringLiteral("nomenclator.db"))));

        TestHome badDriver;
        badDriver.createDatabases();
        QSettings(badDriver.file(QStringLiteral("directory.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("NCM/driver"), QStringLiteral("QODBC"));
        QVERIFY(openError(badDriver.path()).contains(QStringLiteral("QODBC")));
    }

    void homeWithSemicolonKeepsEveryDatabaseInside()
    {
        QTemporaryDir parent;
        const QString home = QDir(parent.path()).filePath(QStringLiteral("a;b"));
        WorkDatabase::create(home);
        DemoData::write(home);
        Workspace ws(home, m_dialogs, m_progress);
        ws.open();
        const std::pair<DataSession*, const char*> tables[] = {
            {&ws.work(), "PAIS"}, {&ws.declaration(), "catalogo"}, {&ws.nomenclator(), "ncm"}};
        for (const auto& [session, table] : tables) {
            RecordSet rs;
            session->Sql(QStringLiteral("select count(*) as n from ") + QLatin1String(table));
            session->CrearRs(rs);
            QVERIFY2(rs.Fields(QStringLiteral("n")).toInt() > 0, table);
        }
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("a;b")});
    }

    void cliInitCreatesOnceAndLinksNoWidgets()
    {
        TestHome home;
        QCOMPARE(cli(home.path(), {QStringLiteral("init")}), QStringLiteral("0||"));
        home.runWorkSql(QStringLiteral("insert into INTN (INTNRO, INTDSC) values ('1', 'uno');"));
        const auto content = [&] {
            QFile db(WorkDatabase::path(home.path()));
            return db.open(QIODevice::ReadOnly) ? db.readAll() : QByteArray();
        };
        const QByteArray before = content();
        QVERIFY(!before.isEmpty());
        const CliRun again = runCli(home.path(), {QStringLiteral("init")});
        QCOMPARE(again.code, 0);
        QVERIFY2(again.err.contains(QStringLiteral("ya existe")), qPrintable(again.err));
        QCOMPARE(content(), before);

        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {QStringLiteral(ADUPLAN_CLI)});
        if (!ldd.waitForFinished())
            QSKIP("ldd is not available");
        const QByteArray libraries = ldd.readAllStandardOutput();
        QVERIFY(libraries.contains("Qt6Core"));
        QVERIFY(!libraries.contains("Qt6Widgets"));
    }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
