// SPDX-License-Identifier: Apache-2.0
#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/EntityDirectory.h"
#include "components/FormatService.h"
#include "components/SuffixValidator.h"
#include "support/Golden.h"
#include "support/TestHome.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

/**
 * The database session, and the suffix validator on the nomenclator. Each reason of a suffix
 * failure (missing position, missing group, group twice, unknown option, ...) is checked with
 * this result by the catalog check's test (tests/config).
 */
class TestComponents : public QObject {
    Q_OBJECT

    TestHome m_home;
    EntityDirectory m_directory{m_home.path()};
    SuffixValidator m_validator;
    /** Reads every position of the cases ahead, then answers with its connection closed. */
    SuffixValidator m_readAhead;

    QTemporaryDir m_dir;
    std::unique_ptr<DataSession> m_db;

    void exec(const QString& sql, const QVariantList& values = {})
    {
        m_db->Sql(sql, values);
        m_db->ejecutar();
    }

private Q_SLOTS:
    void init()
    {
        const QString file = m_dir.filePath(u"t.db"_s);
        QFile::remove(file);
        QFile touch(file);
        QVERIFY(touch.open(QIODevice::WriteOnly));
        touch.close();
        m_db = std::make_unique<DataSession>(u"TEST"_s);
        m_db->CadenaConexion(DataSession::sqliteConnection(file));
        m_db->Conectar();
        exec(u"create table t (k text primary key, v text, n real)"_s);
    }
    void cleanup() { m_db.reset(); }
    void initTestCase()
    {
        m_home.createDatabases();
        m_home.load(u"components/suffixes.nomenclator.sql"_s);
        m_directory.LoadParameters();
        m_validator.ConexionString(m_directory);
        m_readAhead.ConexionString(m_directory);
        QStringList positions;
        for (const char* position : {"8482.10.10.000C", "8482.10.10.000", "", " 3926.90.90.100K ",
                                     "8482.10.10.000B", "7318.15.00.200C"})
            positions << QString::fromLatin1(position);
        m_readAhead.prefetch(positions);
        m_readAhead.nomenclator().database().close();
    }

    // The cases, one a line, in components/suffix-cases.tsv.
    void validate_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("suffixes");
        QTest::addColumn<int>("expected");
        const QStringList lines = TestHome::testData(u"components/suffix-cases.tsv"_s).split(u'\n');
        QCOMPARE(lines.size(), 23);
        for (const QString& line : lines.mid(1, 21)) {
            const QStringList c = line.split(u'\t');
            QTest::newRow(qPrintable(c.value(0))) << c.value(1) << c.value(2) << c.value(3).toInt();
        }
    }

    void validate()
    {
        QFETCH(QString, position);
        QFETCH(QString, suffixes);
        QFETCH(int, expected);
        QCOMPARE(m_validator.ValidarSufijos(position, suffixes), expected);
        QCOMPARE(m_readAhead.ValidarSufijos(position, suffixes), expected);
    }

    void withoutConnectionRaises()
    {
        SuffixValidator unconnected;
        QVERIFY_THROWS_EXCEPTION(AppError, unconnected.ValidarSufijos(QString(), QString()));
    }

    void valuesRoundTripIntact()
    {
        const QStringList awkward = {u"O'Brien"_s, u"say \"hi\""_s, u"100%_off"_s,
                                     u"a; drop table t; --"_s, u"ñandú ´ € 漢字"_s};
        for (qsizetype i = 0; i < awkward.size(); ++i)
            exec(u"insert into t (k, v) values (?, ?)"_s, {QString::number(i), awkward[i]});
        RecordSet rs;
        m_db->Sql(u"select k, v from t where v like ? order by k"_s, {u"%"_s});
        QVERIFY(m_db->CrearRs(rs));
        QCOMPARE(rs.RecordCount(), awkward.size());
        for (int k = 0; k < awkward.size(); ++k, rs.MoveNext()) {
            QCOMPARE(rs.AbsolutePosition(), k + 1);
            QCOMPARE(rs.Fields(u"V"_s).toString(), awkward.at(k));
        }
        QVERIFY(rs.Eof());
    }

    // CrearRs is false exactly when no rows come; NULL and the empty text stay apart, an
    // unknown field raises; the formatting helpers read NULL as empty or 0, a number among
    // blanks, and text that is no number as 0; updates and prepared deletes count their rows.
    void nullEmptyAndCounts()
    {
        RecordSet rs;
        m_db->Sql(u"select * from t"_s);
        QVERIFY(!m_db->CrearRs(rs) && rs.Eof());
        exec(u"insert into t (k, v, n) values ('a', ?, 1), ('b', '', 2), ('c', 'x', 3)"_s,
             {QVariant()});
        m_db->Sql(u"select v from t order by k"_s);
        QVERIFY(m_db->CrearRs(rs));
        QString seen = u"%1 %2"_s.arg(rs.RecordCount()).arg(rs.Fields(u"v"_s).isNull());
        rs.MoveNext();
        seen += u" %1 '%2'"_s.arg(rs.Fields(u"v"_s).isNull()).arg(rs.Fields(u"v"_s).toString());
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Fields(u"nosuch"_s));
        FormatService f;
        seen += u" '%1' %2 %3 %4"_s.arg(f.EsNull(QVariant()))
                    .arg(f.EsNumero(QVariant()))
                    .arg(f.EsNumero(u" 12.5 "_s))
                    .arg(f.EsNumero(u"abc"_s));
        m_db->Sql(u"update t set n = n + 1 where n >= ?"_s, {2});
        seen += u' ' + QString::number(m_db->ejecutar());
        DataSession::Statement del(*m_db, u"delete from t where k = ?"_s);
        seen += u' ' + QString::number(del.ejecutar({u"a"_s}));
        seen += QString::number(del.ejecutar({u"zz"_s}));
        QCOMPARE(seen, u"3 1 0 '' '' 0 12.5 0 2 10"_s);
    }

    void failureCarriesDriverTextAndStatement()
    {
        exec(u"insert into t (k) values ('a')"_s);
        const QString statement = u"insert into t (k) values (?)"_s;
        try {
            exec(statement, {u"a"_s});
            QFAIL("duplicate key accepted");
        } catch (const AppError& e) {
            QVERIFY(e.description().contains(u"UNIQUE"_s));
            QCOMPARE(e.source(), u"TEST"_s);
        }
        QCOMPARE(m_db->lastStatement(), statement);
    }

    void engineFailuresToldInSpanishFirst()
    {
        const auto failure = [](const std::function<void()>& action) {
            try {
                action();
            } catch (const AppError& e) {
                return e.description();
            }
            return QStringLiteral("no failure");
        };
        // A second connection holds a write transaction: the write waits, then fails.
        DataSession other(u"OTHER"_s);
        other.CadenaConexion(DataSession::sqliteConnection(m_dir.filePath(u"t.db"_s)));
        other.Conectar();
        auto held = std::make_unique<TransactionGuard>(other);
        other.Sql(QStringLiteral("insert into t (k) values ('held')"));
        other.ejecutar();
        exec(QStringLiteral("pragma busy_timeout = 200")); // the wait, shortened for the test
        const QString busy = failure([&] {
            exec(QStringLiteral("insert into t (k) values (?)"), {QStringLiteral("mine")});
        });
        held.reset();
        // The file may not grow: as on a full disk, the engine's own failure.
        exec(QStringLiteral("pragma max_page_count = 2"));
        const QString full = failure([&] {
            for (int i = 0; i < 1000; ++i)
                exec(QStringLiteral("insert into t (k, v) values (?, ?)"),
                     {i, QString(200, QLatin1Char('x'))});
        });
        // components/engine-failures.txt: both told in Spanish first, the engine's text after.
        COMPARE_GOLDEN(
            QString(busy + u'\n' + full + u'\n').replace(m_dir.path(), u"DIR"_s).toUtf8(),
            u"components/engine-failures.txt"_s);
    }

    void transactionGuardRollsBackUnlessCommitted()
    {
        try {
            TransactionGuard tx(*m_db);
            exec(u"insert into t (k) values ('a')"_s);
            exec(u"insert into t (k) values ('a')"_s); // raises
            tx.commit();
        } catch (const AppError&) {
        }
        RecordSet rs;
        m_db->Sql(u"select * from t"_s);
        QVERIFY(!m_db->CrearRs(rs));
        {
            TransactionGuard tx(*m_db);
            exec(u"insert into t (k) values ('b')"_s);
            tx.commit();
        }
        m_db->Sql(u"select * from t"_s);
        QVERIFY(m_db->CrearRs(rs));
        QCOMPARE(rs.Fields(u"k"_s).toString(), u"b"_s);
    }
};

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
