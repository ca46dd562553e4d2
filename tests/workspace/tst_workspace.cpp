// SPDX-License-Identifier: Apache-2.0
#include "data/DemoData.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "data/WorkDatabase.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

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
        // A work database made before the invoices' stated totals and the row history were
        // kept gets their tables; one whose catalog journal knew no runs gets their columns.
        home.runWorkSql(u"drop table INVOICE_TOTAL;\ndrop table ROW_HISTORY;\n"
                        "drop table CATALOG_JOURNAL;\ncreate table CATALOG_JOURNAL (ID integer "
                        "primary key, TIME text not null, USERNAME text not null, HOST text not "
                        "null, FRONTEND text not null, INTNRO text not null, CATALOG text not "
                        "null, ARTICLE text not null, FIELD text not null, OLDVALUE text, "
                        "NEWVALUE text, STATE text not null);\n"_s);
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            InvoiceTotalStore(ws.work()).replace(u"1"_s, StatedTotal{3, u"TOTAL 1.50"_s, 1.5});
            QCOMPARE(InvoiceTotalStore(ws.work()).read(u"1"_s)->amount, 1.5);
            HistoryStore history(ws.work(), ws.historyAuthor());
            history.recordRun(u"1"_s, u"process"_s, u"total: 0"_s);
            QCOMPARE(history.entries(u"1"_s).value(0).frontEnd, u"desktop"_s);
            const RecordedRun run{history.recordPendingRun(u"1"_s, u"transfer"_s, {}, u"T"_s),
                                  u"1"_s, u"transfer"_s, u"T"_s};
            CatalogJournal journal(ws.work());
            journal.writePending(ws.historyAuthor(), run, u"CAT1"_s,
                                 {{u"A-1"_s, u"ncm"_s, {}, u"1"_s}});
            QCOMPARE(history.pendingRuns().value(0).witness, u"T"_s);
            QCOMPARE(journal.changes(run.id).changes.value(0).newValue, QVariant(u"1"_s));
            // Absent settings read empty, never null: they are bound as values.
            QVERIFY(!ws.settings().catalog().isNull() && ws.settings().catalog().isEmpty());
        }
        home.setSetting(u"INTCAT"_s, u"CAT1"_s);
        home.setSetting(u"PRCESM"_s, u"NU"_s);
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            QCOMPARE(ws.settings().catalog(), u"CAT1"_s);
            QCOMPARE(ws.settings().goodsCondition(), u"NU"_s);
            ws.settings().saveCatalog(u"CAT2"_s);
            QCOMPARE(ws.settings().catalog(), u"CAT2"_s);
        }
        Workspace again(home.path(), m_dialogs, m_progress);
        again.open();
        QCOMPARE(again.settings().catalog(), u"CAT2"_s);
    }

    /**
     * workspace/open-errors.txt: what opening a home says when the work database, the
     * directory's entry, a database file (not created empty in its place) or the driver is
     * missing, and how to fix it.
     */
    void missingPiecesAreNamedWithTheirFix()
    {
        const std::function<void(TestHome&)> damages[] = {
            [](TestHome&) {},
            [](TestHome& home) { WorkDatabase::create(home.path()); },
            [](TestHome& home) {
                home.createDatabases();
                QVERIFY(QFile::remove(home.file(u"nomenclator.db"_s)));
            },
            [](TestHome& home) {
                home.createDatabases();
                QSettings(home.file(u"directory.ini"_s), QSettings::IniFormat)
                    .setValue(u"NCM/driver"_s, u"QODBC"_s);
            },
        };
        QString said;
        for (const auto& damage : damages) {
            TestHome home;
            damage(home);
            said += openError(home.path()).replace(home.path(), u"HOME"_s) +
                    (QFile::exists(home.file(u"nomenclator.db"_s)) ? u"\n"_s
                                                                   : u"\n(no nomenclator.db)\n"_s);
        }
        COMPARE_GOLDEN(said.toUtf8(), u"workspace/open-errors.txt"_s);
    }

    void homeWithSemicolonKeepsEveryDatabaseInside()
    {
        QTemporaryDir parent;
        const QString home = QDir(parent.path()).filePath(u"a;b"_s);
        WorkDatabase::create(home);
        DemoData::write(home);
        Workspace ws(home, m_dialogs, m_progress);
        ws.open();
        const std::pair<DataSession*, const char*> tables[] = {
            {&ws.work(), "PAIS"}, {&ws.declaration(), "catalogo"}, {&ws.nomenclator(), "ncm"}};
        for (const auto& [session, table] : tables) {
            RecordSet rs;
            session->Sql(u"select count(*) as n from "_s + QLatin1String(table));
            session->CrearRs(rs);
            QVERIFY2(rs.Fields(u"n"_s).toInt() > 0, table);
        }
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"a;b"_s});
    }

    void cliInitCreatesOnceAndLinksNoWidgets()
    {
        TestHome home;
        QCOMPARE(cli(home.path(), {u"init"_s}), u"0||"_s);
        home.runWorkSql(u"insert into INTN (INTNRO, INTDSC) values ('1', 'uno');"_s);
        const auto content = [&] {
            QFile db(WorkDatabase::path(home.path()));
            return db.open(QIODevice::ReadOnly) ? db.readAll() : QByteArray();
        };
        const QByteArray before = content();
        QVERIFY(!before.isEmpty());
        const CliRun again = runCli(home.path(), {u"init"_s});
        QCOMPARE(again.code, 0);
        QVERIFY2(again.err.contains(u"ya existe"_s), qPrintable(again.err));
        QCOMPARE(content(), before);

        QProcess ldd;
        ldd.start(u"ldd"_s, {QStringLiteral(ADUPLAN_CLI)});
        if (!ldd.waitForFinished())
            QSKIP("ldd is not available");
        const QByteArray libraries = ldd.readAllStandardOutput();
        QVERIFY(libraries.contains("Qt6Core"));
        QVERIFY(!libraries.contains("Qt6Widgets"));
    }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
