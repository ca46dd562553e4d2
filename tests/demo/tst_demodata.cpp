// The demo home that "aduplan-cli init --demo" writes: every catalog article leads to the outcome
// it was written for, the settings and relations point at real rows, suffixes exist at every
// level, each invoice comes in both formats, and a second init touches nothing.

#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/RecordSet.h"
#include "components/SuffixValidator.h"
#include "components/TestSeam.h"
#include "data/Nomenclator.h"
#include "data/WorkDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Articles of the DEMO catalog written to fail the suffix check with 1 (the position is not in
// the nomenclator) or 2 (the suffixes do not fit the position); every other row of both catalogs
// must pass. KP-3300: 8479.89.90 does not exist; VB-B52: check letter missing; TB-0840: chapter
// 82 not in the nomenclator; LVL-600: wrong check letter. 5206-2RS: Z value with four digits;
// PRV-100: unknown option; EB-M12: subheading group missing; CPL-1/2-SS: group given twice;
// SP-1/8X1: "SIN SUFIJOS" where the chapter requires one; GR-1200: suffixes on a position without
// any; CBL-10AWG-THHN: "-" inside a value; GA-LP-60: lower-case value. The articles no invoice
// brings, one for each reason of the catalog check: PB-UCP204, BRG-608-2RS, BRG-6001-ZZ,
// BRG-6203-OPEN, CBL-8AWG-THHN, CLIP-BND-25.
const QStringList deliberateErrors[] = {
    QStringLiteral("KP-3300 VB-B52 TB-0840 CAP-100UF-50V LVL-600 PB-UCP204 BRG-608-2RS")
        .split(QLatin1Char(' ')),
    QStringLiteral("5206-2RS PRV-100 EB-M12 CPL-1/2-SS SP-1/8X1 GR-1200 BAT-LI-PACK-48V SW-1P-16A "
                   "CBL-10AWG-THHN THM-BIM-100 GA-LP-60 BRG-6001-ZZ BRG-6203-OPEN CBL-8AWG-THHN "
                   "CLIP-BND-25")
        .split(QLatin1Char(' '))};

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

class TestDemoData : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<EntityDirectory> m_directory;
    std::unique_ptr<DataSession> m_declaration, m_nomenclator, m_work;

    /** Runs "init --demo" on a home: empty when it succeeded, else its exit code and errors. */
    static QString initDemo(const QString& home)
    {
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI), {QStringLiteral("--home"), home,
                                                QStringLiteral("init"), QStringLiteral("--demo")});
        if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit)
            return QStringLiteral("no terminó");
        if (cli.exitCode() == 0)
            return {};
        return QString::number(cli.exitCode()) + QLatin1Char('|') +
               QString::fromUtf8(cli.readAllStandardError());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(initDemo(m_home.path()), QString());
        m_directory = std::make_unique<EntityDirectory>(m_home.path());
        m_directory->LoadParameters();
        m_declaration = m_directory->getDataConnectionByEntity(QStringLiteral("INTERNOS"));
        m_nomenclator = m_directory->getDataConnectionByEntity(QStringLiteral("NCM"));
        m_work = std::make_unique<DataSession>(QStringLiteral("demo-work"));
        m_work->CadenaConexion(DataSession::sqliteConnection(WorkDatabase::path(m_home.path())));
        m_work->Conectar();
    }

    void catalogRowsGiveTheirIntendedOutcome()
    {
        SuffixValidator validator;
        validator.ConexionString(*m_directory);
        const RecordSet rows =
            query(*m_declaration, QStringLiteral("select idcatalogo, idarticulo, ncm, sufijos from "
                                                 "catarticulos order by idcatalogo, idarticulo"));
        int outcomes[3] = {};
        for (qsizetype i = 0; i < rows.RecordCount(); ++i) {
            const QStringList r = QVariant(rows.row(i).toList()).toStringList();
            const int intended = r.at(0) != QLatin1String("DEMO")        ? 0
                                 : deliberateErrors[0].contains(r.at(1)) ? 1
                                 : deliberateErrors[1].contains(r.at(1)) ? 2
                                                                         : 0;
            const int outcome = validator.ValidarSufijos(r.at(2), r.at(3));
            QVERIFY2(outcome == intended,
                     qPrintable(r.join(QLatin1Char(' ')) + QStringLiteral(": %1").arg(outcome)));
            ++outcomes[outcome];
        }
        // Every deliberate error is in the catalog, and clean rows are the bulk of it.
        QCOMPARE(outcomes[1], deliberateErrors[0].size());
        QCOMPARE(outcomes[2], deliberateErrors[1].size());
        QVERIFY(outcomes[0] > 3 * (outcomes[1] + outcomes[2]) / 2);
    }

    void settingsAndRelationsPointAtRealRows()
    {
        QSettings settings(m_home.filePath(QStringLiteral("Aduplan.ini")), QSettings::IniFormat);
        const QString catalog = settings.value(QStringLiteral("CONFIG/INTCAT")).toString();
        QCOMPARE(catalog, QStringLiteral("DEMO"));
        QCOMPARE(query(*m_declaration,
                       QStringLiteral("select 1 from catalogo where idcatalogo = ?"), {catalog})
                     .RecordCount(),
                 1);
        // The default goods condition is numeric, as the record editor requires.
        bool numeric = false;
        settings.value(QStringLiteral("CONFIG/PRCESM")).toString().trimmed().toInt(&numeric);
        QVERIFY(numeric);
        QCOMPARE(query(*m_work, QStringLiteral("select PAI, ORI from ORG where ORI not in "
                                               "(select id from PAIS)"))
                     .RecordCount(),
                 0);
    }

    void suffixesAtEveryLevel()
    {
        // Each of chapter, heading, subheading and position holds a free-value group (two
        // characters) and an option (four), on a key with a position under it.
        static constexpr int stemLengths[] = {2, 4, 7, 14};
        const RecordSet rows =
            query(*m_nomenclator, QStringLiteral("select sim, sufijo from sufidos"));
        QSet<QPair<int, qsizetype>> found;
        for (qsizetype i = 0; i < rows.RecordCount(); ++i) {
            const QString sim = rows.row(i).at(0).toString();
            QVERIFY2(sim.size() == 14, qPrintable(sim));
            const int level = int(Nomenclator::levelKeys(sim + QLatin1Char('0')).indexOf(sim));
            QVERIFY2(query(*m_nomenclator,
                           QStringLiteral("select 1 from ncm where [001] || '.' || [002] like ?"),
                           {sim.left(stemLengths[level]) + QLatin1Char('%')})
                             .RecordCount() > 0,
                     qPrintable(QStringLiteral("no position under ") + sim));
            found.insert({level, rows.row(i).at(1).toString().size()});
        }
        QCOMPARE(found.size(), 8);
        for (int level = 0; level < 4; ++level)
            QVERIFY(found.contains({level, 2}) && found.contains({level, 4}));
    }

    void failedWriteLeavesNoDatabase()
    {
        // The disk fills while the work database is written: no file is left that a second
        // init could take for a database, and that second init succeeds.
        QTemporaryDir home;
        TestSeam::setHook([](std::string_view point) {
            if (point == "init:write")
                throw AppError(13, QStringLiteral("database or disk is full"));
        });
        QVERIFY_THROWS_EXCEPTION(AppError, WorkDatabase::create(home.path()));
        TestSeam::setHook({});
        QVERIFY(snapshot(home.path()).isEmpty());
        QCOMPARE(initDemo(home.path()), QString());
    }

    void existingFileNotADatabaseIsReported()
    {
        for (const QString& name :
             {QStringLiteral("nomenclator.db"), QStringLiteral("db/planimport.db")}) {
            QTemporaryDir home;
            QVERIFY(QDir(home.path()).mkpath(QStringLiteral("db")));
            const QString file = QDir(home.path()).filePath(name);
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
            const QString run = initDemo(home.path());
            QVERIFY2(run.startsWith(QStringLiteral("1|")) && run.contains(file), qPrintable(run));
            QCOMPARE(QFileInfo(file).size(), 0);
        }
    }

    // Last: it changes the home as the operator's work would, then runs init again.
    void secondInitLeavesTheHomeAlone()
    {
        QSettings(m_home.filePath(QStringLiteral("Aduplan.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("CONFIG/INTCAT"), QStringLiteral("REPUESTOS"));
        m_work->Sql(QStringLiteral("insert into ORG (PAI, ORI) values (?, ?)"),
                    {QStringLiteral("VIETNAM"), QStringLiteral("337")});
        QCOMPARE(m_work->ejecutar(), 1);
        m_declaration->Sql(QStringLiteral("delete from catarticulos where idarticulo = ?"),
                           {QStringLiteral("6204-2RS")});
        QVERIFY(m_declaration->ejecutar() > 0);
        const QDir invoices(m_home.filePath(QStringLiteral("invoices")));
        const QString edited =
            invoices.filePath(invoices.entryList({QStringLiteral("*.doc")}).value(0));
        QVERIFY(QFile::remove(edited) && QFile(edited).open(QIODevice::WriteOnly));

        const QMap<QString, QByteArray> before = snapshot(m_home.path());
        QCOMPARE(initDemo(m_home.path()), QString());
        const QMap<QString, QByteArray> after = snapshot(m_home.path());
        QCOMPARE(after.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
