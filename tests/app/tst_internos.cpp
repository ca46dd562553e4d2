#include "app/Internos.h"
#include "app/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QTest>

namespace {

/** A workspace opened on a fresh home. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    Fixture()
    {
        home.createDatabases();
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
    }

    qint64 count(const QString& sql, const QString& value)
    {
        RecordSet rs;
        ws->work().Sql(sql, {value});
        ws->work().CrearRs(rs);
        return rs.Fields(QStringLiteral("n")).toLongLong();
    }
    qint64 articles(const QString& interno)
    {
        return count(QStringLiteral("select count(*) as n from ART where INTNRO = ?"), interno);
    }
    qint64 internos(const QString& interno)
    {
        return count(QStringLiteral("select count(*) as n from INTN where INTNRO = ?"), interno);
    }
};

} // namespace

class TestInternos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listIsOrderedWithNullDescriptionEmpty()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral("insert into INTN values ('200', 'Segundo');\n"
                                         "insert into INTN values ('100', null);\n"));
        const QList<InternoRow> list = Internos::FRAM1_CargarInternos(*f.ws);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).numero, QStringLiteral("100"));
        QVERIFY(list.at(0).descripcion.isEmpty());
        QCOMPARE(list.at(1).numero, QStringLiteral("200"));
        QCOMPARE(list.at(1).descripcion, QStringLiteral("Segundo"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void listFailureIsReportedWithItsSection()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral("drop table INTN;\n"));
        QVERIFY(Internos::FRAM1_CargarInternos(*f.ws).isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Critical);
        QVERIFY(f.dialogs.messages.at(0).text.contains(QStringLiteral("INTN")));
        QVERIFY(f.dialogs.messages.at(0).text.endsWith(
            QStringLiteral(" - seccion [Aduplan.frmMain.FRAM1_CargarInternos]")));
    }

    void addRules()
    {
        Fixture f;
        // A blank number is refused; nothing is stored.
        QString descripcion = QStringLiteral("algo");
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("   "), descripcion),
                 Internos::Alta::Rechazada);
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        QCOMPARE(f.dialogs.messages.at(0).text, QStringLiteral("Debe ingresar el número interno"));
        // Nor is a number that would be stored blank.
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral(" ' "), descripcion),
                 Internos::Alta::Rechazada);
        QCOMPARE(f.dialogs.messages.size(), 2);
        QCOMPARE(f.dialogs.messages.at(1).text, f.dialogs.messages.at(0).text);
        QVERIFY(Internos::FRAM1_CargarInternos(*f.ws).isEmpty());

        // A blank description becomes the number as typed.
        descripcion = QStringLiteral("  ");
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("100"), descripcion),
                 Internos::Alta::Creada);
        QCOMPARE(descripcion, QStringLiteral("100"));

        // Apostrophes become blanks in number and description; the rest is kept as typed.
        descripcion = QStringLiteral("Caja 'A'; --");
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("7'1"), descripcion),
                 Internos::Alta::Creada);

        const QList<InternoRow> list = Internos::FRAM1_CargarInternos(*f.ws);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).numero, QStringLiteral("100"));
        QCOMPARE(list.at(0).descripcion, QStringLiteral("100"));
        QCOMPARE(list.at(1).numero, QStringLiteral("7 1"));
        QCOMPARE(list.at(1).descripcion, QStringLiteral("Caja  A ; --"));
        QCOMPARE(f.dialogs.messages.size(), 2);
    }

    void secondInternoWithTheSameNumberIsRefused()
    {
        Fixture f;
        QString descripcion = QStringLiteral("Primero");
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("100"), descripcion),
                 Internos::Alta::Creada);
        descripcion = QStringLiteral("Segundo");
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("100"), descripcion),
                 Internos::Alta::Rechazada);
        // The number as it would be stored counts: "1'0" and "1 0" are the same interno.
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("1 0"), descripcion),
                 Internos::Alta::Creada);
        QCOMPARE(Internos::NuevoInterno(*f.ws, QStringLiteral("1'0"), descripcion),
                 Internos::Alta::Rechazada);
        QCOMPARE(f.dialogs.messageTexts(),
                 QStringList({QStringLiteral("El interno 100 ya existe."),
                              QStringLiteral("El interno 1 0 ya existe.")}));
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Exclamation);
        const QList<InternoRow> list = Internos::FRAM1_CargarInternos(*f.ws);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(1).descripcion, QStringLiteral("Primero"));
    }

    void deleteAskedAndAnswered()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral("insert into INTN values ('100', 'Uno');\n"
                                         "insert into INTN values ('200', 'Dos');\n"
                                         "insert into ART (INTNRO, ARTORD) values ('100', 1);\n"
                                         "insert into ART (INTNRO, ARTORD) values ('100', 2);\n"
                                         "insert into ART (INTNRO, ARTORD) values ('200', 1);\n"));
        f.dialogs.questionAnswers << false << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(*f.ws, QStringLiteral("100")));
        QCOMPARE(f.internos(QStringLiteral("100")), 1);
        QCOMPARE(f.articles(QStringLiteral("100")), 2);

        QVERIFY(Internos::FRAM1_EliminarInterno(*f.ws, QStringLiteral("100")));
        QCOMPARE(f.dialogs.questions,
                 QStringList(2, QStringLiteral("Desea eliminar el Interno 100?")));
        QCOMPARE(f.internos(QStringLiteral("100")), 0);
        QCOMPARE(f.articles(QStringLiteral("100")), 0);
        QCOMPARE(f.articles(QStringLiteral("200")), 1);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void deleteOfAGoneInternoStillRemovesItsRows()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral("insert into ART (INTNRO, ARTORD) values ('300', 1);\n"));
        f.dialogs.questionAnswers << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(*f.ws, QStringLiteral("300")));
        QCOMPARE(f.articles(QStringLiteral("300")), 0);
    }

    void failedDeleteLeavesTheRows()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral("insert into INTN values ('100', 'Uno');\n"
                                         "insert into ART (INTNRO, ARTORD) values ('100', 1);\n"
                                         "create trigger keep before delete on INTN begin "
                                         "select raise(abort, 'interno bloqueado'); end;\n"));
        f.dialogs.questionAnswers << true;
        QVERIFY(!Internos::FRAM1_EliminarInterno(*f.ws, QStringLiteral("100")));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.at(0).icon, MessageIcon::Critical);
        QVERIFY(f.dialogs.messages.at(0).text.startsWith(QStringLiteral("interno bloqueado\n\n")));
        QVERIFY(f.dialogs.messages.at(0).text.endsWith(
            QStringLiteral(" - seccion [Aduplan.frmInterno.EliminarInterno]")));
        // Both deletes are one transaction: the article rows are still there.
        QCOMPARE(f.articles(QStringLiteral("100")), 1);
        QCOMPARE(f.internos(QStringLiteral("100")), 1);
    }
};

QTEST_GUILESS_MAIN(TestInternos)
#include "tst_internos.moc"
