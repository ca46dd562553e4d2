#include "app/Wizard.h"
#include "app/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QFile>
#include <QTest>

class TestWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void documentChoice()
    {
        TestHome home;
        home.createDatabases();
        home.runWorkSql(QStringLiteral("insert into INTN values ('100', 'Uno');\n"
                                       "insert into ART (INTNRO, ARTORD) values ('100', 1);\n"));
        QFile document(home.file(QStringLiteral("factura.doc")));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.close();
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Workspace ws(home.path(), dialogs, progress);
        ws.open();
        Wizard wizard(ws);
        wizard.FRAM1_CargarInternos();
        wizard.MAIN_CambiarPaso();
        QCOMPARE(wizard.nextTag(), QStringLiteral("OK"));

        // Cancelled: nothing changes.
        dialogs.fileAnswers << std::nullopt;
        QVERIFY(!wizard.Seleccionar_Archivo_XLS());
        QVERIFY(wizard.documentPath().isEmpty());

        // A blank path is no document and no message.
        QVERIFY(!wizard.lf_LevantarExcel(QStringLiteral("  ")));
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(progress.busyDepth, 0);

        // An existing document empties the tag, so that it is processed.
        dialogs.fileAnswers << document.fileName();
        wizard.FRAM2_CmdProcesar();
        QCOMPARE(wizard.documentPath(), document.fileName());
        QVERIFY(wizard.nextEnabled());
        QVERIFY(wizard.nextTag().isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(progress.busyDepth, 0);
    }

    void errorInTheStepChangeIsReportedPlainAndStopsThere()
    {
        TestHome home;
        home.createDatabases();
        home.runWorkSql(QStringLiteral("insert into INTN values ('100', 'Uno');\n"));
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Workspace ws(home.path(), dialogs, progress);
        ws.open();
        Wizard wizard(ws);
        wizard.FRAM1_CargarInternos();
        home.runWorkSql(QStringLiteral("drop table ART;\n"));

        wizard.MAIN_CambiarPaso();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.at(0).icon, MessageIcon::None);
        QVERIFY(dialogs.messages.at(0).text.contains(QStringLiteral("ART")));
        QVERIFY(dialogs.messages.at(0).text.contains(QStringLiteral("\n\n")));
        QVERIFY(dialogs.messages.at(0).text.endsWith(
            QStringLiteral("- seccion Main_CambiarPaso lin 40")));
        // The step reached stays: step 2 is shown, its next-step button disabled.
        QCOMPARE(wizard.step(), 2);
        QCOMPARE(ws.currentInterno, QStringLiteral("100"));
        QCOMPARE(wizard.panel(), 2);
        QVERIFY(!wizard.panelEnabled(1));
        QVERIFY(!wizard.nextEnabled());
    }
};

QTEST_GUILESS_MAIN(TestWizard)
#include "tst_wizard.moc"
