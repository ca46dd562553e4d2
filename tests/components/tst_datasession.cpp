#include "components/AppError.h"
#include "components/DataSession.h"
#include "components/FormatService.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

class TestDataSession : public QObject {
    Q_OBJECT

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
        const QString file = m_dir.filePath(QStringLiteral("t.db"));
        QFile::remove(file);
        QFile touch(file);
        QVERIFY(touch.open(QIODevice::WriteOnly));
        touch.close();
        m_db = std::make_unique<DataSession>(QStringLiteral("TEST"));
        m_db->CadenaConexion(DataSession::sqliteConnection(file));
        m_db->Conectar();
        exec(QStringLiteral("create table t (k text primary key, v text, n real)"));
    }
    void cleanup() { m_db.reset(); }

    void valuesRoundTripIntact()
    {
        const QStringList awkward = {
            QStringLiteral("O'Brien"), QStringLiteral("say \"hi\""), QStringLiteral("100%_off"),
            QStringLiteral("a; drop table t; --"), QStringLiteral("ñandú ´ € 漢字")};
        for (qsizetype i = 0; i < awkward.size(); ++i)
            exec(QStringLiteral("insert into t (k, v) values (?, ?)"),
                 {QString::number(i), awkward[i]});
        RecordSet rs;
        m_db->Sql(QStringLiteral("select k, v from t where v like ? order by k"),
                  {QStringLiteral("%")});
        QVERIFY(m_db->CrearRs(rs));
        QCOMPARE(rs.RecordCount(), awkward.size());
        for (int k = 0; k < awkward.size(); ++k, rs.MoveNext()) {
            QCOMPARE(rs.AbsolutePosition(), k + 1);
            QCOMPARE(rs.Fields(QStringLiteral("V")).toString(), awkward.at(k));
        }
        QVERIFY(rs.Eof());
    }

    void nullEmptyAndCounts()
    {
        RecordSet rs;
        m_db->Sql(QStringLiteral("select * from t"));
        QVERIFY(!m_db->CrearRs(rs)); // false exactly when no rows come
        QVERIFY(rs.Eof());
        exec(QStringLiteral(
                 "insert into t (k, v, n) values ('a', ?, 1), ('b', '', 2), ('c', 'x', 3)"),
             {QVariant()});
        m_db->Sql(QStringLiteral("select v from t order by k"));
        QVERIFY(m_db->CrearRs(rs));
        QCOMPARE(rs.RecordCount(), 3);
        QVERIFY(rs.Fields(QStringLiteral("v")).isNull());
        rs.MoveNext();
        QVERIFY(!rs.Fields(QStringLiteral("v")).isNull());
        QCOMPARE(rs.Fields(QStringLiteral("v")).toString(), QString());
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Fields(QStringLiteral("nosuch")));
        FormatService f;
        QCOMPARE(f.EsNull(QVariant()), QString());
        QCOMPARE(f.EsNumero(QVariant()), 0.0);
        QCOMPARE(f.EsNumero(QStringLiteral(" 12.5 ")), 12.5);
        QCOMPARE(f.EsNumero(QStringLiteral("abc")), 0.0);

        m_db->Sql(QStringLiteral("update t set n = n + 1 where n >= ?"), {2});
        QCOMPARE(m_db->ejecutar(), 2);
        DataSession::Statement del(*m_db, QStringLiteral("delete from t where k = ?"));
        QCOMPARE(del.ejecutar({QStringLiteral("a")}), 1);
        QCOMPARE(del.ejecutar({QStringLiteral("zz")}), 0);
    }

    void failureCarriesDriverTextAndStatement()
    {
        exec(QStringLiteral("insert into t (k) values ('a')"));
        const QString statement = QStringLiteral("insert into t (k) values (?)");
        try {
            exec(statement, {QStringLiteral("a")});
            QFAIL("duplicate key accepted");
        } catch (const AppError& e) {
            QVERIFY(e.description().contains(QStringLiteral("UNIQUE")));
            QCOMPARE(e.source(), QStringLiteral("TEST"));
        }
        QCOMPARE(m_db->lastStatement(), statement);
    }

    void engineFailuresToldInSpanishFirst()
    {
        const QString name = QStringLiteral("la base de datos TEST (%1)")
                                 .arg(m_dir.filePath(QStringLiteral("t.db")));
        const auto failure = [](const std::function<void()>& action) {
            try {
                action();
            } catch (const AppError& e) {
                return e.description();
            }
            return QStringLiteral("no failure");
        };
        // A second connection holds a write transaction: the write waits, then fails.
        DataSession other(QStringLiteral("OTHER"));
        other.CadenaConexion(DataSession::sqliteConnection(m_dir.filePath(QStringLiteral("t.db"))));
        other.Conectar();
        auto held = std::make_unique<TransactionGuard>(other);
        other.Sql(QStringLiteral("insert into t (k) values ('held')"));
        other.ejecutar();
        const QString busy = failure([&] {
            exec(QStringLiteral("insert into t (k) values (?)"), {QStringLiteral("mine")});
        });
        QVERIFY2(busy.startsWith(u'L' + name.mid(1) + QStringLiteral(" está ocupada")) &&
                     busy.endsWith(QStringLiteral("\nDetalle: database is locked")),
                 qPrintable(busy));
        held.reset();
        // The file may not grow: as on a full disk, the engine's own failure.
        exec(QStringLiteral("pragma max_page_count = 2"));
        const QString full = failure([&] {
            for (int i = 0; i < 1000; ++i)
                exec(QStringLiteral("insert into t (k, v) values (?, ?)"),
                     {i, QString(200, QLatin1Char('x'))});
        });
        QVERIFY2(full.startsWith(QStringLiteral("No queda espacio en el disco de ") + name) &&
                     full.endsWith(QStringLiteral("\nDetalle: database or disk is full")),
                 qPrintable(full));
    }

    void transactionGuardRollsBackUnlessCommitted()
    {
        try {
            TransactionGuard tx(*m_db);
            exec(QStringLiteral("insert into t (k) values ('a')"));
            exec(QStringLiteral("insert into t (k) values ('a')")); // raises
            tx.commit();
        } catch (const AppError&) {
        }
        RecordSet rs;
        m_db->Sql(QStringLiteral("select * from t"));
        QVERIFY(!m_db->CrearRs(rs));
        {
            TransactionGuard tx(*m_db);
            exec(QStringLiteral("insert into t (k) values ('b')"));
            tx.commit();
        }
        m_db->Sql(QStringLiteral("select * from t"));
        QVERIFY(m_db->CrearRs(rs));
        QCOMPARE(rs.Fields(QStringLiteral("k")).toString(), QStringLiteral("b"));
    }
};

QTEST_GUILESS_MAIN(TestDataSession)
#include "tst_datasession.moc"
