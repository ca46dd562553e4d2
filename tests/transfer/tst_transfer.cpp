#include "TransferData.h"

#include "app/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "transfer/Transfer.h"

#include <QTest>

#include <memory>

using namespace TransferData;

namespace {

const QString Replace = QStringLiteral("El interno [ 100 ] ya existe.\n\nDesea reemplazarlo?");
const QString NothingTransferred = QStringLiteral("\n\nNo se transfirió ningún registro.");

/** A home with the test rows and a workspace opened on it, interno 100 and catalog CAT1. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    Fixture()
    {
        home.createDatabases();
        home.runWorkSql(workRows());
        home.runDeclarationSql(catalogRows());
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
        ws->INTCAT = QStringLiteral("CAT1");
        ws->currentInterno = QStringLiteral("100");
    }

    DataSession& declaration() { return ws->declaration(); }

    QList<QStringList> items()
    {
        return rows(declaration(), QStringLiteral("select ") + ItemColumns +
                                       QStringLiteral(" from subitems order by idsubitem"));
    }

    /** Forgets what the dialogs and progress recorded so far. */
    void clearRecords()
    {
        dialogs.messages.clear();
        dialogs.questions.clear();
        progress.messages.clear();
    }
};

} // namespace

class TransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void transfersCleanInterno();
    void replacementDeclinedOrAccepted();
    void precheckRefusesRowsToCorrect();
    void failureLeavesDeclarationAsBefore_data();
    void failureLeavesDeclarationAsBefore();
    void internoWithoutRowsWritesNothing();
};

void TransferTest::transfersCleanInterno()
{
    Fixture f;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Transferred);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    QVERIFY(f.dialogs.questions.isEmpty());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Information);
    QCOMPARE(f.dialogs.messages.first().text,
             QStringLiteral("Se transfirio 3 articulos en el interno 100"));
    QCOMPARE(f.progress.messages, QStringList({QStringLiteral("Validando datos..."),
                                               QStringLiteral("Transfiriendo al Dectra Windows..."),
                                               QStringLiteral("Actualizando catalogo..."),
                                               QStringLiteral("Fin de proceso")}));
    QVERIFY(!f.progress.visible);
    QCOMPARE(f.progress.maximum, 3);
    QCOMPARE(f.progress.value, 3);
    QCOMPARE(f.progress.busyDepth, 0);

    const auto header = rows(f.declaration(), QStringLiteral("select * from caratula"));
    QCOMPARE(header.size(), 1);
    QCOMPARE(header.first().at(0), QStringLiteral("100"));
    const QDateTime registered =
        QDateTime::fromString(header.first().at(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(registered >= before && registered <= after, qPrintable(header.first().at(1)));

    // Line order, the derived net weight and statistical quantity, empty texts for NULL.
    QCOMPARE(f.items(), expectedItems());

    // A-1 is new to CAT1: inserted by line 1, then rewritten by line 3. B-2 keeps its key and
    // takes line 2's values. The other catalog's A-1 is untouched.
    QCOMPARE(
        rows(f.declaration(),
             QStringLiteral("select * from catarticulos order by idcatalogo, idarticulo")),
        QList<QStringList>({
            {QStringLiteral("CAT1"), QStringLiteral("A-1"), QStringLiteral("TORNILLO LARGO"),
             QStringLiteral("212"), QStringLiteral("0"), QStringLiteral("3"),
             QStringLiteral("7318.15.00.200B"), QStringLiteral("S"), QStringLiteral("AB(LARGO)-"),
             QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("7"), QStringLiteral("2"),
             QStringLiteral(""), QStringLiteral("0")},
            {QStringLiteral("CAT1"), QStringLiteral("B-2"), QStringLiteral("ARANDELA"),
             QStringLiteral("203"), QStringLiteral("0"), QStringLiteral("0.1"),
             QStringLiteral("7318.22.00.000C"), QStringLiteral("N"), QStringLiteral("SIN SUFIJOS"),
             QStringLiteral(" 07 "), QStringLiteral("07"), QStringLiteral("100"),
             QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("3.5")},
            {QStringLiteral("CAT2"), QStringLiteral("A-1"), QStringLiteral("OTRO CATALOGO"),
             QStringLiteral("999"), QStringLiteral("5"), QStringLiteral("1"),
             QStringLiteral("0000.00.00.000A"), QStringLiteral("S"), QStringLiteral("XX(1)-"),
             QStringLiteral("05"), QStringLiteral("05"), QStringLiteral("9"), QStringLiteral("2"),
             QStringLiteral("U"), QStringLiteral("9")},
        }));
    // The work database is not changed by the transfer.
    QCOMPARE(rows(f.ws->work(), QStringLiteral("select count(*) from ART where PRCCRC = 'OK'")),
             QList<QStringList>({{QStringLiteral("3")}}));
}

void TransferTest::replacementDeclinedOrAccepted()
{
    Fixture f;
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Transferred);
    f.home.runDeclarationSql(
        QStringLiteral("insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"
                       "insert into facturas values ('300', 'F-9', '2024-01-03', 20);\n"));
    const auto transferred = dump(f.declaration());

    f.clearRecords();
    f.dialogs.questionAnswers << false;
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Declined);
    QCOMPARE(f.dialogs.questions, QStringList{Replace});
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(dump(f.declaration()), transferred);
    QCOMPARE(f.progress.busyDepth, 0);

    // A later line edited in the work database reaches the declaration on replacement.
    f.ws->work().Sql(QStringLiteral("update ART set ARTDSC = 'ARANDELA PLANA' where INTNRO = "
                                    "'100' and ARTORD = 2"));
    f.ws->work().ejecutar();
    f.clearRecords();
    f.dialogs.questionAnswers << true;
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Transferred);
    QCOMPARE(f.dialogs.questions, QStringList{Replace});
    QCOMPARE(f.dialogs.messageTexts(),
             QStringList{QStringLiteral("Se transfirio 3 articulos en el interno 100")});
    auto expected = expectedItems();
    expected[1][2] = QStringLiteral("ARANDELA PLANA");
    QCOMPARE(f.items(), expected);
    QCOMPARE(rows(f.declaration(), QStringLiteral("select interno from caratula")),
             QList<QStringList>({{QStringLiteral("100")}}));
    QCOMPARE(rows(f.declaration(), QStringLiteral("select interno, nrofactura from facturas")),
             QList<QStringList>({{QStringLiteral("300"), QStringLiteral("F-9")}}));
}

void TransferTest::precheckRefusesRowsToCorrect()
{
    Fixture f;
    f.home.runWorkSql(
        QStringLiteral("update ART set PRCCRC = NULL where INTNRO = '100' and ARTORD = 3;\n"));
    const auto before = dump(f.declaration());

    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Refused);
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Exclamation);
    QCOMPARE(f.dialogs.messages.first().text,
             QStringLiteral("Hay registros para depurar.\n\nHaga click en el boton \"DATOS CON "
                            "ERRORES\""));
    QCOMPARE(f.progress.messages, QStringList{QStringLiteral("Validando datos...")});
    QVERIFY(!f.progress.visible);
    QCOMPARE(f.progress.busyDepth, 0);
    QCOMPARE(dump(f.declaration()), before);

    // Interno 200's row to correct does not block interno 100.
    f.home.runWorkSql(
        QStringLiteral("update ART set PRCCRC = 'OK' where INTNRO = '100' and ARTORD = 3;\n"));
    f.clearRecords();
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Transferred);
}

void TransferTest::failureLeavesDeclarationAsBefore_data()
{
    QTest::addColumn<QString>("declarationSql");
    QTest::addColumn<QString>("workSql");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");

    const QString items = QStringLiteral(" - seccion [Aduplan.frmMain.FRAM3_Transfer_B_pasaje]");
    const QString catalog =
        QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]");
    QTest::newRow("second item fails")
        << QStringLiteral("create trigger falla before insert on subitems when new.idarticulo = "
                          "'B-2' begin select raise(abort, 'falla'); end;\n")
        << QString() << int(MessageIcon::Critical) << QStringLiteral("falla\n\n1811") + items;
    QTest::newRow("item not added")
        << QStringLiteral("create trigger ignora before insert on subitems when new.idarticulo "
                          "= 'B-2' begin select raise(ignore); end;\n")
        << QString() << int(MessageIcon::Critical)
        << QStringLiteral("Error Grabando registro en Dectra Windows: 0 Registros agregados\n\n1") +
               items;
    QTest::newRow("catalog update fails")
        << QStringLiteral("create trigger falla before update on catarticulos when "
                          "new.idarticulo = 'B-2' begin select raise(abort, 'falla'); end;\n")
        << QString() << int(MessageIcon::None) << QStringLiteral("falla\n\n1811") + catalog;
    QTest::newRow("null quantity")
        << QString()
        << QStringLiteral("update ART set ARTCAN = NULL where INTNRO = '100' and ARTORD = 3;\n")
        << int(MessageIcon::Critical)
        << QStringLiteral("La línea 3 (artículo A-1) no tiene cantidad.\n\n94") + items;
    QTest::newRow("null total")
        << QString()
        << QStringLiteral("update ART set ARTTOT = NULL where INTNRO = '100' and ARTORD = 2;\n")
        << int(MessageIcon::Critical)
        << QStringLiteral("La línea 2 (artículo B-2) no tiene total.\n\n94") + items;
}

void TransferTest::failureLeavesDeclarationAsBefore()
{
    QFETCH(QString, declarationSql);
    QFETCH(QString, workSql);
    QFETCH(int, icon);
    QFETCH(QString, text);

    // A replacement of an interno already transferred: the failure must also undo the
    // deletes of header, items and invoices.
    Fixture f;
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Transferred);
    f.home.runDeclarationSql(
        QStringLiteral("insert into facturas values ('100', 'F-1', '2024-01-02', 10);\n"));
    f.home.runWorkSql(QStringLiteral(
        "update ART set ARTDSC = 'CAMBIADA', PRCSUF = 'ZZ(1)-' where INTNRO = '100';\n"));
    if (!declarationSql.isEmpty())
        f.home.runDeclarationSql(declarationSql);
    if (!workSql.isEmpty())
        f.home.runWorkSql(workSql);
    const auto before = dump(f.declaration());

    f.clearRecords();
    f.dialogs.questionAnswers << true;
    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Failed);
    QCOMPARE(f.dialogs.questions, QStringList{Replace});
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(int(f.dialogs.messages.first().icon), icon);
    QCOMPARE(f.dialogs.messages.first().text, text + NothingTransferred);
    QCOMPARE(dump(f.declaration()), before);
    QCOMPARE(f.progress.busyDepth, 0);
    QVERIFY(!f.progress.messages.contains(QStringLiteral("Fin de proceso")));
}

void TransferTest::internoWithoutRowsWritesNothing()
{
    Fixture f;
    f.ws->currentInterno = QStringLiteral("900");
    const auto before = dump(f.declaration());

    QCOMPARE(FRM3_Tranferir(*f.ws), TransferOutcome::Empty);
    QVERIFY(f.dialogs.questions.isEmpty());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Exclamation);
    QCOMPARE(f.dialogs.messages.first().text,
             QStringLiteral("El interno 900 no tiene artículos para transferir.") +
                 NothingTransferred);
    QCOMPARE(dump(f.declaration()), before);
    QCOMPARE(f.progress.busyDepth, 0);
}

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
