#include "data/InvoiceTotalStore.h"
#include "process/Statistics.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "wizard/Internos.h"
#include "workspace/Workspace.h"

#include <QTest>

namespace {

/** A workspace opened on a fresh home with the given work data. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};

    explicit Fixture(const QString& workSql = {})
    {
        home.createDatabases();
        home.runWorkSql(workSql);
        ws.open();
    }

    qint64 articles(const QString& interno) { return FRAM3_CargarEstadisticas(ws, interno).total; }
    Internos::Alta add(const QString& numero, const QString& descripcion = QStringLiteral("x"))
    {
        QString shown = descripcion;
        return Internos::NuevoInterno(ws, numero, shown);
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

    void addRules()
    {
        Fixture f;
        using Internos::Alta;
        // A number that would be stored blank is refused.
        QCOMPARE(f.add(QStringLiteral(" ' ")), Alta::Rechazada);
        QCOMPARE(f.dialogs.messageTexts(),
                 QStringList{QStringLiteral("Debe ingresar el número interno")});
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        // A blank description becomes the number as typed.
        QCOMPARE(f.add(QStringLiteral("100"), QStringLiteral("  ")), Alta::Creada);
        // Apostrophes become blanks in number and description; the rest is kept as typed.
        QCOMPARE(f.add(QStringLiteral("7'1"), QStringLiteral("Caja 'A'; --")), Alta::Creada);
        // A number that exists, as it would be stored, is refused: "1'0" is "1 0".
        QCOMPARE(f.add(QStringLiteral("1 0")), Alta::Creada);
        QCOMPARE(f.add(QStringLiteral("1'0")), Alta::Rechazada);
        QCOMPARE(f.dialogs.messageTexts().mid(1),
                 QStringList{QStringLiteral("El interno 1 0 ya existe.")});
        QCOMPARE(f.list(), QStringList({QStringLiteral("1 0|x"), QStringLiteral("100|100"),
                                        QStringLiteral("7 1|Caja  A ; --")}));
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
        QVERIFY(f.dialogs.messages.at(0).text.startsWith(
            QStringLiteral("Falló una operación en la base de datos de trabajo (")));
        QVERIFY(f.dialogs.messages.at(0).text.contains(
            QStringLiteral("\nDetalle: interno bloqueado\n\n")));
        QVERIFY(f.dialogs.messages.at(0).text.endsWith(
            QStringLiteral(" - seccion [Aduplan.frmInterno.EliminarInterno]")));
        QCOMPARE(f.articles(QStringLiteral("200")), 1);
        QVERIFY(totals.read(QStringLiteral("200")));
        QCOMPARE(f.list(), QStringList{QStringLiteral("200|Dos")});
    }
};

QTEST_GUILESS_MAIN(TestInternos)
#include "tst_internos.moc"
