// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/RecordSet.h"
#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/DemoData.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "data/Nomenclator.h"
#include "data/WorkDatabase.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

RecordSet query(DataSession& session, const QString& sql, const QVariantList& values = {})
{
    session.Sql(sql, values);
    RecordSet rs;
    session.CrearRs(rs);
    return rs;
}

/** Content hash of every file under the home, by relative path. */
QMap<QString, QByteArray> snapshot(const QString& home)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(home, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            files.insert(QDir(home).relativeFilePath(f.fileName()),
                         QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

} // namespace

/**
 * Opening a home, and the demo home that "aduplan-cli init --demo" writes: every catalog
 * article leads to the outcome it was written for, the settings and relations point at real
 * rows, suffixes exist at every level, each invoice comes in both formats, and a second init
 * touches nothing.
 */
class TestWorkspace : public QObject {
    Q_OBJECT

    ScriptedDialogs m_dialogs;
    RecordingProgress m_progress;
    QTemporaryDir m_home; // the demo home
    std::unique_ptr<EntityDirectory> m_directory;
    std::unique_ptr<DataSession> m_declaration, m_nomenclator, m_work;

    /** Runs "init --demo" on a home. */
    static CliRun initDemo(const QString& home) { return runCli(home, {u"init"_s, u"--demo"_s}); }

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
        // kept gets their tables; one whose catalog journal knew no runs gets their columns,
        // and its rows of one field each are read with those of one row an entry.
        home.runWorkSql(u"drop table INVOICE_TOTAL;\ndrop table ROW_HISTORY;\n"
                        "drop table CATALOG_JOURNAL;\ncreate table CATALOG_JOURNAL (ID integer "
                        "primary key, TIME text not null, USERNAME text not null, HOST text not "
                        "null, FRONTEND text not null, INTNRO text not null, CATALOG text not "
                        "null, ARTICLE text not null, FIELD text not null, OLDVALUE text, "
                        "NEWVALUE text, STATE text not null);\n"_s);
        QStringList seen;
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            InvoiceTotalStore(ws.work()).replace(u"1"_s, StatedTotal{3, u"TOTAL 1.50"_s, 1.5});
            HistoryStore history(ws.work(), ws.historyAuthor());
            history.recordRun(u"1"_s, u"process"_s, u"total: 0"_s);
            const RecordedRun run{history.recordPendingRun(u"1"_s, u"transfer"_s, {}, u"T"_s),
                                  u"1"_s, u"transfer"_s, u"T"_s};
            ws.work().Sql(u"insert into CATALOG_JOURNAL (TIME, USERNAME, HOST, FRONTEND, INTNRO, "
                          "CATALOG, ARTICLE, FIELD, OLDVALUE, NEWVALUE, STATE, RUN) values "
                          "('T', 'U', 'H', 'cli', '1', 'CAT1', 'A-1', 'ncm', '', NULL, "
                          "'pending', ?)"_s,
                          {run.id});
            ws.work().ejecutar();
            // Awkward texts, NULL and the empty text, numbers: read back as they were written.
            const QVariantList values = {
                u"a\tb\nc\x01"_s, u"\"q\\ \\n[\",null]"_s, u""_s, QVariant(), 0.1, 1e21, u"ñ€𝄞"_s};
            const QStringList fields = {u"\""_s, u"a,b"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s};
            const QVariantList after = values.mid(1) << values.first();
            CatalogJournal journal(ws.work());
            journal.writePending(
                ws.historyAuthor(), run, u"CAT1"_s,
                {{u"A-1"_s, CatalogChange::Entry::Updated, fields, values, after}});
            const auto line = [](const QString& field, const QString& was, const QString& is) {
                return QStringList{field, was, is, QString::number(was.isNull() + 2 * is.isNull())};
            };
            QList<QStringList> written{line(u"ncm"_s, u""_s, {})}, changes, entries;
            for (qsizetype i = 0; i < fields.size(); ++i)
                written << line(fields.at(i), historyText(values.at(i)), historyText(after.at(i)));
            for (const CatalogChange& c : journal.changes(run.id).changes)
                changes << line(c.field, historyText(c.oldValue), historyText(c.newValue));
            for (const HistoryEntry& e : journal.entries(u"CAT1"_s, u"A-1"_s))
                entries << line(e.field, e.oldValue, e.newValue);
            QCOMPARE(changes, written);
            QCOMPARE(entries, written);
            // Absent settings read empty, never null: they are bound as values.
            seen << QString::number(InvoiceTotalStore(ws.work()).read(u"1"_s)->amount)
                 << history.entries(u"1"_s).value(0).frontEnd
                 << history.pendingRuns().value(0).witness
                 << (ws.settings().catalog().isNull() ? u"null"_s : ws.settings().catalog());
            // Pending with its run, old rows and new; done once the run is settled.
            const auto details = [&journal] {
                return journal.entries(u"CAT1"_s, u"A-1"_s).constFirst().detail + u'/' +
                       journal.entries(u"CAT1"_s, u"A-1"_s).constLast().detail;
            };
            QCOMPARE(details(), u"pendiente/pendiente"_s);
            history.settleRun(run.id, true);
            journal.settle(run.id, true);
            QCOMPARE(details(), u"/"_s);
        }
        home.setSetting(u"INTCAT"_s, u"CAT1"_s);
        home.setSetting(u"PRCESM"_s, u"NU"_s);
        {
            Workspace ws(home.path(), m_dialogs, m_progress);
            ws.open();
            seen << ws.settings().catalog() << ws.settings().goodsCondition();
            ws.settings().saveCatalog(u"CAT2"_s);
            seen << ws.settings().catalog();
        }
        Workspace again(home.path(), m_dialogs, m_progress);
        again.open();
        QCOMPARE(seen.join(u'|') + u'|' + again.settings().catalog(),
                 u"1.5|desktop|T||CAT1|NU|CAT2|CAT2"_s);
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
        QByteArray said;
        for (const auto& damage : damages) {
            TestHome home;
            damage(home);
            said += portable(openError(home.path()) + (QFile::exists(home.file(u"nomenclator.db"_s))
                                                           ? u"\n"_s
                                                           : u"\n(no nomenclator.db)\n"_s),
                             home.path());
        }
        COMPARE_GOLDEN(said, u"workspace/open-errors.txt"_s);
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

    // The history writes a number as QString::number does with the shortest precision, the
    // common amounts by a way of its own: both agree on the cents and on their neighbours. A
    // null value is told from the empty text and from a number; zero is one number whatever
    // its sign, as both write it "0".
    void historyWritesNumbersShortest()
    {
        const auto shortest = [](double x) {
            return QString::number(x, 'g', QLocale::FloatingPointShortest);
        };
        QStringList wrong;
        for (qint64 cents = -10'000'000; cents <= 10'000'000; cents += 997) {
            const double x = cents / 100.0;
            for (const double value : {x, std::nextafter(x, 1e9), cents * 0.01, x * 3})
                if (historyText(value) != shortest(value))
                    wrong << shortest(value);
        }
        for (const double value : {0.07, 0.1 + 0.2, -0.0, 99999.99, 100000.0, 1e-7, 1.005, 1e300,
                                   std::nan(""), HUGE_VAL})
            if (historyText(value) != shortest(value))
                wrong << shortest(value);
        QCOMPARE(wrong, QStringList());
        QVERIFY(!sameHistoryText(QVariant(), u""_s));
        QVERIFY(sameHistoryText(-0.0, 0.0));
        QVERIFY(!sameHistoryText(0.0, QVariant()));
    }

    // cli/init.txt: a second init keeps the work database as it is.
    void cliInitCreatesOnceAndLinksNoWidgets()
    {
        TestHome home;
        COMPARE_CLI_TRANSCRIPT(home.path(), u"cli/init.txt"_s);
        QProcess ldd;
        ldd.start(u"ldd"_s, {QStringLiteral(ADUPLAN_CLI)});
        if (!ldd.waitForFinished())
            QSKIP("ldd is not available");
        const QByteArray libraries = ldd.readAllStandardOutput();
        QVERIFY(libraries.contains("Qt6Core"));
        QVERIFY(!libraries.contains("Qt6Widgets"));
    }

    void initTestCase()
    {
        QCOMPARE(initDemo(m_home.path()).code, 0);
        m_directory = std::make_unique<EntityDirectory>(m_home.path());
        m_directory->LoadParameters();
        m_declaration = m_directory->getDataConnectionByEntity(u"INTERNOS"_s);
        m_nomenclator = m_directory->getDataConnectionByEntity(u"NCM"_s);
        m_work = std::make_unique<DataSession>(u"demo-work"_s);
        m_work->CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(m_home.path())));
        m_work->Conectar();
        // The relations point at real countries; the default goods condition is numeric, as
        // the record editor requires.
        QCOMPARE(query(*m_work, u"select 1 from ORG where ORI not in (select id from PAIS)"_s)
                     .RecordCount(),
                 0);
        bool numeric = false;
        QSettings(m_home.filePath(u"Aduplan.ini"_s), QSettings::IniFormat)
            .value(u"CONFIG/PRCESM"_s)
            .toString()
            .trimmed()
            .toInt(&numeric);
        QVERIFY(numeric);
    }

    // demo/catalog-outcomes.txt: the suffix check's outcome for every catalog row. Articles of
    // the DEMO catalog are written to fail with 1 (the position is not in the nomenclator) or 2
    // (the suffixes do not fit the position); every other row of both catalogs passes.
    // KP-3300: 8479.89.90 does not exist; VB-B52: check letter missing; TB-0840: chapter 82 not
    // in the nomenclator; LVL-600: wrong check letter. 5206-2RS: Z value with four digits;
    // PRV-100: unknown option; EB-M12: subheading group missing; CPL-1/2-SS: group given twice;
    // SP-1/8X1: "SIN SUFIJOS" where the chapter requires one; GR-1200: suffixes on a position
    // without any; CBL-10AWG-THHN: "-" inside a value; GA-LP-60: lower-case value. The articles
    // no invoice brings, one for each reason of the catalog check: PB-UCP204, BRG-608-2RS,
    // BRG-6001-ZZ, BRG-6203-OPEN, CBL-8AWG-THHN, CLIP-BND-25.
    void catalogRowsGiveTheirIntendedOutcome()
    {
        SuffixValidator validator;
        validator.ConexionString(*m_directory);
        const RecordSet rows =
            query(*m_declaration, u"select idcatalogo, idarticulo, ncm, sufijos from "
                                  "catarticulos order by idcatalogo, idarticulo"_s);
        QString outcomes;
        for (qsizetype i = 0; i < rows.RecordCount(); ++i) {
            const QStringList r = QVariant(rows.row(i).toList()).toStringList();
            outcomes += r.join(u' ') + u": "_s +
                        QString::number(validator.ValidarSufijos(r.at(2), r.at(3))) + u'\n';
        }
        COMPARE_GOLDEN(outcomes.toUtf8(), u"demo/catalog-outcomes.txt"_s);
    }

    // demo/suffix-levels.txt: each suffix group with its level (0 chapter to 3 position) and
    // how many positions lie under its key. Each level holds a free-value group (two characters)
    // and an option (four), on a key with a position under it.
    void suffixesAtEveryLevel()
    {
        static constexpr int stemLengths[] = {2, 4, 7, 14};
        const RecordSet rows =
            query(*m_nomenclator, u"select sim, sufijo from sufidos order by 1, 2"_s);
        QString levels;
        for (qsizetype i = 0; i < rows.RecordCount(); ++i) {
            const QString sim = rows.row(i).at(0).toString();
            const int level = int(Nomenclator::levelKeys(sim + QLatin1Char('0')).indexOf(sim));
            const qsizetype under =
                level < 0 ? -1
                          : query(*m_nomenclator,
                                  u"select 1 from ncm where [001] || '.' || [002] like ?"_s,
                                  {sim.left(stemLengths[level]) + QLatin1Char('%')})
                                .RecordCount();
            levels +=
                u"%1|%2|%3|%4\n"_s.arg(sim, rows.row(i).at(1).toString()).arg(level).arg(under);
        }
        COMPARE_GOLDEN(levels.toUtf8(), u"demo/suffix-levels.txt"_s);
    }

    void failedWriteLeavesNoDatabase()
    {
        // The disk fills while the work database is written: no file is left that a second
        // init could take for a database, and that second init succeeds.
        QTemporaryDir home;
        TestSeam::setHook([](std::string_view point) {
            if (point == "init:write")
                throw AppError(13, u"database or disk is full"_s);
        });
        QVERIFY_THROWS_EXCEPTION(AppError, WorkDatabase::create(home.path()));
        TestSeam::setHook({});
        QVERIFY(snapshot(home.path()).isEmpty());
        QCOMPARE(initDemo(home.path()).code, 0);
    }

    void existingFileNotADatabaseIsReported()
    {
        for (const QString& name : {u"nomenclator.db"_s, u"db/planimport.db"_s}) {
            QTemporaryDir home;
            QVERIFY(QDir(home.path()).mkpath(u"db"_s));
            const QString file = QDir(home.path()).filePath(name);
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
            const CliRun run = initDemo(home.path());
            QVERIFY2(run.code == 1 && run.err.contains(file), qPrintable(run.err));
            QCOMPARE(QFileInfo(file).size(), 0);
        }
    }

    // Last: it changes the home as the operator's work would, then runs init again.
    void secondInitLeavesTheHomeAlone()
    {
        QSettings(m_home.filePath(u"Aduplan.ini"_s), QSettings::IniFormat)
            .setValue(u"CONFIG/INTCAT"_s, u"REPUESTOS"_s);
        m_work->Sql(u"insert into ORG (PAI, ORI) values (?, ?)"_s, {u"VIETNAM"_s, u"337"_s});
        QCOMPARE(m_work->ejecutar(), 1);
        m_declaration->Sql(u"delete from catarticulos where idarticulo = ?"_s, {u"6204-2RS"_s});
        QVERIFY(m_declaration->ejecutar() > 0);
        const QDir invoices(m_home.filePath(u"invoices"_s));
        const QString edited = invoices.filePath(invoices.entryList({u"*.doc"_s}).value(0));
        QVERIFY(QFile::remove(edited) && QFile(edited).open(QIODevice::WriteOnly));

        const QMap<QString, QByteArray> before = snapshot(m_home.path());
        QCOMPARE(initDemo(m_home.path()).code, 0);
        const QMap<QString, QByteArray> after = snapshot(m_home.path());
        QCOMPARE(after.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
