#include "data/InvoiceTotalStore.h"
#include "process/Statistics.h"
#include "support/WorkHome.h"
#include "wizard/Internos.h"

#include <QTest>

namespace {

/** A workspace opened on a fresh home with the given work data. */
struct Fixture : WorkHome {
    explicit Fixture(const QString& workSql = {})
        : WorkHome([&](TestHome& fresh) { fresh.runWorkSql(workSql); })
    {}

    qint64 articles(const QString& interno) { return FRAM3_CargarEstadisticas(ws, interno).total; }
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
        QCOMPARE(f.list(), QStringList({QStringLiteral("100|"), QStringLiteral("200|Segundo")}));
        QVERIFY(f.dialogs.messages.isEmpty());

        f.home.runWorkSql(QStringLiteral("drop table INTN;\n"));
        QVERIFY(f.list().isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Critical);
        QVERIFY(f.dialogs.messages.at(0).text.contains(QStringLiteral("INTN")));
        QVERIFY(f.dialogs.messages.at(0).text.endsWith(
            QStringLiteral(" - seccion [Aduplan.frmMain.FRAM1_CargarInternos]")));
    }

    void deleteAskedAndDoneInOneTransaction()
    {
        Fixture f(QStringLiteral("insert into INTN values ('100', 'Uno'), ('200', 'Dos');\n"
                                 "insert into ART (INTNRO, ARTORD) values "
                                 "('100', 1), ('100', 2), ('200', 1), ('300', 1);\n"
                                 "insert into INVOICE_TOTAL values ('100', 9, 'TOTAL 1', 1), "
                                 "('200', 9, 'TOTAL 2', 2);\n"));
        InvoiceTotalStore totals(f.ws.work());
        f.dialogs.questionAnswers << false << true << true << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, QStringLiteral("100"))); // No keeps the rows
        QCOMPARE(f.articles(QStringLiteral("100")), 2);
        QVERIFY(Internos::FRAM1_EliminarInterno(f.ws, QStringLiteral("100")));
        QCOMPARE(f.dialogs.questions,
                 QStringList(2, QStringLiteral("Desea eliminar el Interno 100?")));
        QCOMPARE(f.list(), QStringList{QStringLiteral("200|Dos")});
        QCOMPARE(f.articles(QStringLiteral("100")), 0);
        QCOMPARE(f.articles(QStringLiteral("200")), 1);
        QVERIFY(!totals.read(QStringLiteral("100")));

        // An interno already gone is not deleted, but its leftover rows are.
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, QStringLiteral("300")));
        QCOMPARE(f.articles(QStringLiteral("300")), 0);
        QVERIFY(f.dialogs.messages.isEmpty());

        // A failure in the second delete undoes the first: the article rows are still there.
        f.home.runWorkSql(QStringLiteral("create trigger keep before delete on INTN begin "
                                         "select raise(abort, 'interno bloqueado'); end;\n"));
        QVERIFY(!Internos::FRAM1_EliminarInterno(f.ws, QStringLiteral("200")));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Critical);
        QVERIFY(f.dialogs.messages.at(0).text.startsWith(QStringLiteral("interno bloqueado\n\n")));
        QVERIFY(f.dialogs.messages.at(0).text.endsWith(
            QStringLiteral(" - seccion [Aduplan.frmInterno.EliminarInterno]")));
        QCOMPARE(f.articles(QStringLiteral("200")), 1);
        QVERIFY(totals.read(QStringLiteral("200")));
        QCOMPARE(f.list(), QStringList{QStringLiteral("200|Dos")});
    }
};

QTEST_GUILESS_MAIN(TestInternos)
#include "tst_internos.moc"
