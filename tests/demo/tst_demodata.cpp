// The demo home that "aduplan-cli init --demo" writes: its files, its sizes, and that every
// catalog article of the demo leads to the outcome it was written for.

#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/RecordSet.h"
#include "components/SuffixValidator.h"
#include "data/Nomenclator.h"
#include "data/WorkDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Catalog rows written to fail the suffix check, by catalog and article number; every other
// row of both catalogs must pass.
const QHash<QString, int> deliberateErrors = {
    // 1: the position is not in the nomenclator.
    {QStringLiteral("DEMO/KP-3300"), 1}, // 8479.89.90 does not exist
    {QStringLiteral("DEMO/VB-B52"), 1},  // check letter missing
    {QStringLiteral("DEMO/TB-0840"), 1}, // chapter 82 not in the nomenclator
    {QStringLiteral("DEMO/CAP-100UF-50V"), 1},
    {QStringLiteral("DEMO/LVL-600"), 1}, // wrong check letter
    // 2: the suffixes do not fit the position.
    {QStringLiteral("DEMO/5206-2RS"), 2},   // Z value with four digits
    {QStringLiteral("DEMO/PRV-100"), 2},    // unknown option
    {QStringLiteral("DEMO/EB-M12"), 2},     // subheading group missing
    {QStringLiteral("DEMO/CPL-1/2-SS"), 2}, // group given twice
    {QStringLiteral("DEMO/SP-1/8X1"), 2},   // "SIN SUFIJOS" where the chapter requires one
    {QStringLiteral("DEMO/GR-1200"), 2},    // suffixes on a position without any
    {QStringLiteral("DEMO/BAT-LI-PACK-48V"), 2},
    {QStringLiteral("DEMO/SW-1P-16A"), 2},
    {QStringLiteral("DEMO/CBL-10AWG-THHN"), 2}, // "-" inside a value
    {QStringLiteral("DEMO/THM-BIM-100"), 2},
    {QStringLiteral("DEMO/GA-LP-60"), 2}, // lower-case value
};

QString runCli(const QString& home, const QStringList& args, int* exitCode)
{
    QProcess cli;
    cli.start(QStringLiteral(ADUPLAN_CLI), QStringList{QStringLiteral("--home"), home} + args);
    if (!cli.waitForFinished(120000))
        return QStringLiteral("no terminó");
    *exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    return QString::fromUtf8(cli.readAllStandardError());
}

QList<QVariantList> query(DataSession& session, const QString& sql, int columns)
{
    session.Sql(sql);
    RecordSet rs;
    session.CrearRs(rs);
    QList<QVariantList> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantList row;
        for (int c = 0; c < columns; ++c)
            row << rs.Fields(QStringLiteral("c%1").arg(c));
        rows << row;
    }
    return rows;
}

int count(DataSession& session, const QString& sql)
{
    return query(session, sql, 1).value(0).value(0).toInt();
}

/** Content hash of every file under the home, by relative path. */
QMap<QString, QByteArray> snapshot(const QString& home)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(home, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            files.insert(QDir(home).relativeFilePath(path),
                         QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<EntityDirectory> m_directory;
    std::unique_ptr<DataSession> m_declaration;
    std::unique_ptr<DataSession> m_nomenclator;
    std::unique_ptr<DataSession> m_work;

    QString file(const QString& name) const { return QDir(m_home.path()).filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        int exitCode = -1;
        const QString err =
            runCli(m_home.path(), {QStringLiteral("init"), QStringLiteral("--demo")}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(err));
        m_directory = std::make_unique<EntityDirectory>(m_home.path());
        m_directory->LoadParameters();
        m_declaration = m_directory->getDataConnectionByEntity(QStringLiteral("INTERNOS"));
        m_nomenclator = m_directory->getDataConnectionByEntity(QStringLiteral("NCM"));
        m_work = std::make_unique<DataSession>(QStringLiteral("demo-work"));
        m_work->CadenaConexion(QStringLiteral("Driver=QSQLITE;Database=") +
                               WorkDatabase::path(m_home.path()));
        m_work->Conectar();
    }

    void cleanupTestCase()
    {
        m_work.reset();
        m_declaration.reset();
        m_nomenclator.reset();
    }

    void filesAndSizes()
    {
        for (const char* name : {"db/planimport.db", "declaration.db", "nomenclator.db",
                                 "directory.ini", "Aduplan.ini"})
            QVERIFY2(QFileInfo::exists(file(QLatin1String(name))), name);

        QCOMPARE(count(*m_declaration, QStringLiteral("select count(*) as c0 from catalogo")), 2);
        const int demoArticles = count(
            *m_declaration,
            QStringLiteral("select count(*) as c0 from catarticulos where idcatalogo = 'DEMO'"));
        const int allArticles =
            count(*m_declaration, QStringLiteral("select count(*) as c0 from catarticulos"));
        QVERIFY2(demoArticles >= 50 && demoArticles <= 70,
                 qPrintable(QString::number(demoArticles)));
        QVERIFY2(allArticles > demoArticles && allArticles <= 80,
                 qPrintable(QString::number(allArticles)));
        QCOMPARE(count(*m_declaration,
                       QStringLiteral("select count(*) as c0 from catarticulos where idcatalogo "
                                      "not in (select idcatalogo from catalogo)")),
                 0);

        const int positions =
            count(*m_nomenclator, QStringLiteral("select count(*) as c0 from ncm"));
        QVERIFY2(positions >= 180 && positions <= 250, qPrintable(QString::number(positions)));
        const int chapters =
            count(*m_nomenclator,
                  QStringLiteral("select count(distinct substr([001], 1, 2)) as c0 from ncm"));
        QVERIFY(chapters >= 5);

        const int countries = count(*m_work, QStringLiteral("select count(*) as c0 from PAIS"));
        QVERIFY2(countries >= 35 && countries <= 60, qPrintable(QString::number(countries)));
        QVERIFY(count(*m_work, QStringLiteral("select count(*) as c0 from ORG")) >= 20);
    }

    void settingsNameTheDemoCatalog()
    {
        QSettings settings(file(QStringLiteral("Aduplan.ini")), QSettings::IniFormat);
        const QString catalog = settings.value(QStringLiteral("CONFIG/INTCAT")).toString();
        QCOMPARE(catalog, QStringLiteral("DEMO"));
        m_declaration->Sql(
            QStringLiteral("select idcatalogo as c0 from catalogo where idcatalogo = ?"),
            {catalog});
        RecordSet rs;
        QVERIFY(m_declaration->CrearRs(rs));
        // A default goods condition, numeric as the record editor requires.
        bool numeric = false;
        settings.value(QStringLiteral("CONFIG/PRCESM")).toString().trimmed().toInt(&numeric);
        QVERIFY(numeric);
    }

    void nomenclatorShape()
    {
        // Every position has the column forms the position text relies on.
        const auto rows =
            query(*m_nomenclator,
                  QStringLiteral("select [001] as c0, [002] as c1, [003] as c2, [012] as c3, "
                                 "[059] as c4, [010] as c5 from ncm"),
                  6);
        const QRegularExpression digits(QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2}$"));
        int lapiMarks = 0;
        for (const QVariantList& r : rows) {
            const QString where = r.at(0).toString() + QLatin1Char('.') + r.at(1).toString();
            QVERIFY2(digits.match(r.at(0).toString()).hasMatch(), qPrintable(where));
            QVERIFY2(r.at(1).toString().size() == 3, qPrintable(where));
            QVERIFY2(r.at(2).toString().size() == 1 && r.at(2).toString().at(0).isUpper(),
                     qPrintable(where));
            QVERIFY2(r.at(3).toString().size() == 2, qPrintable(where));
            QVERIFY2(!r.at(5).toString().isEmpty(), qPrintable(where));
            if (r.at(4).toString() == QLatin1String("*"))
                ++lapiMarks;
            else
                QVERIFY2(r.at(4).toString().isEmpty(), qPrintable(where));
        }
        QVERIFY(lapiMarks > 0 && lapiMarks < rows.size() / 4);
    }

    void suffixesAtEveryLevel()
    {
        const auto rows =
            query(*m_nomenclator,
                  QStringLiteral("select sim as c0, sufijo as c1, detalle as c2 from sufidos"), 3);
        // Kinds found per level: "free" and "option".
        QMap<int, QSet<QString>> kinds;
        bool sixDigitCode = false;
        for (const QVariantList& r : rows) {
            const QString sim = r.at(0).toString();
            const QString code = r.at(1).toString();
            QVERIFY2(sim.size() == 14, qPrintable(sim));
            QVERIFY2(!r.at(2).toString().trimmed().isEmpty(), qPrintable(sim + code));
            // The key is one of the four level keys, with a position below it.
            static constexpr int stemLengths[] = {2, 4, 7, 14};
            int level = -1;
            for (int i = 0; i < 4 && level < 0; ++i)
                if (Nomenclator::levelKeys(
                        sim.left(stemLengths[i]).leftJustified(15, QLatin1Char('0')))
                        .at(i) == sim)
                    level = i;
            QVERIFY2(level >= 0, qPrintable(sim));
            m_nomenclator->Sql(
                QStringLiteral("select [001] as c0 from ncm where [001] || '.' || [002] like ?"),
                {sim.left(stemLengths[level]) + QLatin1Char('%')});
            RecordSet rs;
            QVERIFY2(m_nomenclator->CrearRs(rs),
                     qPrintable(QStringLiteral("no position under ") + sim));
            if (code.size() == 2)
                kinds[level] << QStringLiteral("free");
            else if (code.size() == 4)
                kinds[level] << QStringLiteral("option");
            else
                QFAIL(qPrintable(QStringLiteral("suffix code of odd length: ") + code));
            if (code.startsWith(QLatin1Char('Z')))
                sixDigitCode = true;
        }
        for (int level = 0; level < 4; ++level)
            QVERIFY2(kinds.value(level) ==
                         (QSet<QString>{QStringLiteral("free"), QStringLiteral("option")}),
                     qPrintable(QString::number(level)));
        QVERIFY(sixDigitCode);
        // A free-value group and an option group never share their two-character prefix.
        QCOMPARE(
            count(*m_nomenclator,
                  QStringLiteral(
                      "select count(*) as c0 from sufidos a join sufidos b on a.sim = b.sim and "
                      "length(a.sufijo) = 2 and length(b.sufijo) = 4 and "
                      "substr(b.sufijo, 1, 2) = a.sufijo")),
            0);
    }

    void catalogRowsGiveTheirIntendedOutcome()
    {
        SuffixValidator validator;
        validator.ConexionString(*m_directory);
        const auto rows = query(
            *m_declaration,
            QStringLiteral("select idcatalogo as c0, idarticulo as c1, ncm as c2, sufijos as c3 "
                           "from catarticulos order by idcatalogo, idarticulo"),
            4);
        QMap<int, int> outcomes;
        QSet<QString> seen;
        for (const QVariantList& r : rows) {
            const QString key = r.at(0).toString() + QLatin1Char('/') + r.at(1).toString();
            const int outcome = validator.ValidarSufijos(r.at(2).toString(), r.at(3).toString());
            QVERIFY2(outcome == deliberateErrors.value(key, 0),
                     qPrintable(QStringLiteral("%1: %2 (%3 %4)")
                                    .arg(key)
                                    .arg(outcome)
                                    .arg(r.at(2).toString(), r.at(3).toString())));
            ++outcomes[outcome];
            seen << key;
        }
        for (auto it = deliberateErrors.cbegin(); it != deliberateErrors.cend(); ++it)
            QVERIFY2(seen.contains(it.key()), qPrintable(it.key()));
        QVERIFY(outcomes.value(0) > 3 * (outcomes.value(1) + outcomes.value(2)) / 2);
    }

    void catalogRowsCoverEveryLookupPath()
    {
        // Catalog and nomenclator are two files here: attach the nomenclator to ask both.
        m_declaration->Sql(QStringLiteral("attach database ? as nom"),
                           {file(QStringLiteral("nomenclator.db"))});
        m_declaration->ejecutar();
        // LAPI: blank ones that the nomenclator decides either way.
        const QString blankLapi = QStringLiteral(
            "select count(*) as c0 from catarticulos c where idcatalogo = 'DEMO' and "
            "trim(coalesce(lapi, '')) = '' "
            "and exists (select 1 from nom.ncm n where n.[001] = substr(c.ncm, 1, 10) "
            "and n.[002] = substr(c.ncm, 12, 3) and coalesce(n.[059], '') %1 '*')");
        QVERIFY(count(*m_declaration, blankLapi.arg(QStringLiteral("="))) > 0);
        QVERIFY(count(*m_declaration, blankLapi.arg(QStringLiteral("<>"))) > 0);
        // A stored N on a position that the nomenclator marks: copied as stored.
        QVERIFY(
            count(*m_declaration,
                  QStringLiteral(
                      "select count(*) as c0 from catarticulos c join nom.ncm n on n.[001] = "
                      "substr(c.ncm, 1, 10) and n.[002] = substr(c.ncm, 12, 3) where c.lapi = 'N' "
                      "and n.[059] = '*'")) > 0);
        m_declaration->Sql(QStringLiteral("detach database nom"));
        m_declaration->ejecutar();
        // Stored S and N.
        for (const char* lapi : {"S", "N"})
            QVERIFY(
                count(*m_declaration,
                      QStringLiteral("select count(*) as c0 from catarticulos where lapi = '%1'")
                          .arg(QLatin1String(lapi))) > 0);
        // Goods condition: NULL, empty and set.
        for (const char* condition : {"estadomerc is null", "estadomerc = ''", "estadomerc <> ''"})
            QVERIFY2(
                count(
                    *m_declaration,
                    QStringLiteral(
                        "select count(*) as c0 from catarticulos where idcatalogo = 'DEMO' and ") +
                        QLatin1String(condition)) > 0,
                condition);
        // A specific duty, and statistical units of weight, length, volume and count.
        QVERIFY(
            count(*m_declaration, QStringLiteral("select count(*) as c0 from catarticulos where "
                                                 "idcatalogo = 'DEMO' and deresp <> ''")) > 0);
        QCOMPARE(count(*m_declaration, QStringLiteral("select count(distinct idunidad) as c0 from "
                                                      "catarticulos where idcatalogo = 'DEMO' "
                                                      "and idunidad in ('01', '02', '05', '07')")),
                 4);
    }

    void originRelationsPointAtCountries()
    {
        QCOMPARE(
            count(*m_work,
                  QStringLiteral(
                      "select count(*) as c0 from ORG where ORI not in (select id from PAIS)")),
            0);
        QCOMPARE(count(*m_work, QStringLiteral("select count(*) as c0 from ORG where PAI = 'US'")),
                 1);
        QCOMPARE(
            count(*m_work, QStringLiteral("select count(*) - count(distinct PAI) as c0 from ORG")),
            0);
        // The one origin of the sample invoices without a relation is a known country.
        QCOMPARE(
            count(*m_work, QStringLiteral("select count(*) as c0 from ORG where PAI = 'VIETNAM'")),
            0);
        QCOMPARE(
            count(*m_work,
                  QStringLiteral("select count(*) as c0 from PAIS where descripcion = 'VIETNAM'")),
            1);
        QCOMPARE(
            count(*m_work,
                  QStringLiteral(
                      "select count(*) as c0 from PAIS where descripcion <> upper(descripcion)")),
            0);
    }

    void invoicesAsDocAndDocx()
    {
        const QDir invoices(file(QStringLiteral("invoices")));
        const QStringList docs =
            invoices.entryList({QStringLiteral("*.doc")}, QDir::Files, QDir::Name);
        const QStringList docxs =
            invoices.entryList({QStringLiteral("*.docx")}, QDir::Files, QDir::Name);
        QVERIFY(docs.size() >= 2 && docs.size() <= 4);
        QCOMPARE(docxs.size(), docs.size());
        for (const QString& doc : docs) {
            QVERIFY2(docxs.contains(doc + QLatin1Char('x')), qPrintable(doc));
            QFile ole(invoices.filePath(doc));
            QVERIFY(ole.open(QIODevice::ReadOnly));
            QCOMPARE(ole.read(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
            QFile zip(invoices.filePath(doc + QLatin1Char('x')));
            QVERIFY(zip.open(QIODevice::ReadOnly));
            QCOMPARE(zip.read(4), QByteArray("PK\x03\x04", 4));
        }
    }

    void secondInitLeavesTheHomeAlone()
    {
        QTemporaryDir home;
        int exitCode = -1;
        QString err =
            runCli(home.path(), {QStringLiteral("init"), QStringLiteral("--demo")}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(err));

        // The operator's work since: another catalog, a new relation, a learned article, an edited
        // invoice.
        {
            QSettings settings(QDir(home.path()).filePath(QStringLiteral("Aduplan.ini")),
                               QSettings::IniFormat);
            settings.setValue(QStringLiteral("CONFIG/INTCAT"), QStringLiteral("REPUESTOS"));
        }
        {
            DataSession work(QStringLiteral("second-init-work"));
            work.CadenaConexion(QStringLiteral("Driver=QSQLITE;Database=") +
                                WorkDatabase::path(home.path()));
            work.Conectar();
            work.Sql(QStringLiteral("insert into ORG (PAI, ORI) values (?, ?)"),
                     {QStringLiteral("VIETNAM"), QStringLiteral("337")});
            work.ejecutar();
            EntityDirectory directory(home.path());
            directory.LoadParameters();
            auto declaration = directory.getDataConnectionByEntity(QStringLiteral("INTERNOS"));
            declaration->Sql(QStringLiteral("delete from catarticulos where idarticulo = ?"),
                             {QStringLiteral("6204-2RS")});
            QVERIFY(declaration->ejecutar() > 0);
        }
        const QDir invoices(QDir(home.path()).filePath(QStringLiteral("invoices")));
        const QString edited =
            invoices.filePath(invoices.entryList({QStringLiteral("*.doc")}).value(0));
        QFile::remove(edited);
        QVERIFY(QFile(edited).open(QIODevice::WriteOnly));

        const QMap<QString, QByteArray> before = snapshot(home.path());
        err = runCli(home.path(), {QStringLiteral("init"), QStringLiteral("--demo")}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(err));
        const QMap<QString, QByteArray> after = snapshot(home.path());
        QCOMPARE(after.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
