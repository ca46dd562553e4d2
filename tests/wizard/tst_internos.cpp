// SPDX-License-Identifier: Apache-2.0
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "process/Statistics.h"
#include "support/Golden.h"
#include "support/WorkHome.h"
#include "wizard/Internos.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** A workspace opened on a fresh home with the given work data. */
struct Fixture : WorkHome {
    explicit Fixture(const QString& workSql = {})
        : WorkHome([&](TestHome& fresh) { fresh.runWorkSql(workSql); })
    {}

    qint64 articles(const QString& interno) { return FRAM3_CargarEstadisticas(ws, interno).total; }
    /** What the operator saw, the home's path as HOME. */
    QByteArray journal()
    {
        return (dialogs.journal.join(u'\n').replace(home.path(), u"HOME"_s) + u'\n').toUtf8();
    }
    QStringList list()
    {
        QStringList rows;
        for (const InternoRow& row : Internos::FRAM1_CargarInternos(ws))
            rows << row.numero + QLatin1Char('|') + row.descripcion;
        return rows;
    }
};

} // namespace

class TestInternos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listIsOrderedWithNullDescriptionEmpty()
    {
        Fixture f(QStringLiteral("insert into INTN values ('200', 'Segundo');\n"
                                 "insert into INTN values ('100', null);\n"));
        QCOMPARE(f.list(), QStringList({u"100|"_s, u"200|Segundo"_s}));
        QVERIFY(f.dialogs.messages.isEmpty());

        f.home.runWorkSql(u"drop table INTN;\n"_s);
        QVERIFY(f.list().isEmpty());
        COMPARE_GOLDEN(f.journal(), u"wizard/list-failed.txt"_s);
    }

    void deleteAskedAndDoneInOneTransaction()
    {
        Fixture f(QStringLiteral("insert into INTN values ('100', 'Uno'), ('200', 'Dos');\n"
                                 "insert into ART (INTNRO, ARTORD) values "
                                 "('100', 1), ('100', 2), ('200', 1), ('300', 1);\n"
                                 "insert into INVOICE_TOTAL values ('100', 9, 'TOTAL 1', 1), "
                                 "('200', 9, 'TOTAL 2', 2);\n"
                                 "insert into ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, "
                                 "INTNRO, ACTION) values ('t', 'u', 'h', 'cli', '100', "
                                 "'process');\n"));
        InvoiceTotalStore totals(f.ws.work());
        f.dialogs.questionAnswers << false << true << true << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"100"_s)); // No keeps the rows
        QCOMPARE(f.articles(u"100"_s), 2);
        QVERIFY(Internos::FRAM1_EliminarInterno(f.ws, u"100"_s));
        QCOMPARE(f.list(), QStringList{u"200|Dos"_s});
        QCOMPARE(f.articles(u"100"_s), 0);
        QCOMPARE(f.articles(u"200"_s), 1);
        QVERIFY(!totals.read(u"100"_s));
        // Its history stays, marked as that of a deleted interno.
        QVERIFY(HistoryStore(f.ws.work(), f.ws.historyAuthor()).entries(u"100"_s).value(0).deleted);

        // An interno already gone is not deleted, but its leftover rows are.
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"300"_s));
        QCOMPARE(f.articles(u"300"_s), 0);

        // A failure in the second delete undoes the first: the article rows are still there.
        f.home.runWorkSql(QStringLiteral("create trigger keep before delete on INTN begin "
                                         "select raise(abort, 'interno bloqueado'); end;\n"));
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, u"200"_s));
        QCOMPARE(f.articles(u"200"_s), 1);
        QVERIFY(totals.read(u"200"_s));
        QCOMPARE(f.list(), QStringList{u"200|Dos"_s});
        // Two questions for 100, one for 300 and one for 200, whose failure is the only message.
        COMPARE_GOLDEN(f.journal(), u"wizard/delete.txt"_s);
    }
};

QTEST_GUILESS_MAIN(TestInternos)
#include "tst_internos.moc"
